#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/prefix_index.h"

namespace dadaz {

// A page holds at most this many records (indexes 0 to 32,766), as one list control of the
// players' systems could address.
inline constexpr std::size_t kPageCapacity = 32767;

// One page of the catalogue: four lists that grow together, one entry per song record.
struct CataloguePage {
    std::vector<std::string> songs;  // whole song lines as read, file order
    PrefixIndex codes;               // "code;record", Thai collation order
    PrefixIndex names;               // "title;record", file (title) order
    PrefixIndex artists;             // "artist;record", Thai collation order

    // The song line a record index of this page names; nullptr when out of range.
    const std::string* song(std::uint32_t record) const {
        return record < songs.size() ? &songs[record] : nullptr;
    }
};

// The in-memory copy of SongList.txt that the search mode works on, with the catalogue state
// the main window keeps (lastPage, currentPage, totalSongs). Lines stay code page 874 bytes.
class Catalogue {
  public:
    Catalogue();

    // Page 0 always exists; pages 0 to lastPage() are valid.
    const CataloguePage& page(int number) const { return pages_.at(number); }
    CataloguePage& page(int number) { return pages_.at(number); }
    int lastPage() const { return static_cast<int>(pages_.size()) - 1; }
    long totalSongs() const { return totalSongs_; }
    bool empty() const { return totalSongs_ == 0; }

    // The page shown when browsing; 0 after every load.
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int number);

    // Starts anew: page 0, empty, nothing counted.
    void clear();

    // Marks a song whose lyric the editor saved: in every page, the first line that begins
    // with `line` (case ignored) gets " [+]" unless it already ends with "[+]".
    void markEdited(std::string_view line);

  private:
    friend class CatalogueBuilder;
    std::vector<CataloguePage> pages_;
    long totalSongs_ = 0;
    int currentPage_ = 0;
};

// Fills a catalogue line by line, as loading reads SongList.txt. The index lists are sorted
// when the load ends: finish() does it for every page, spread over the machine's cores.
class CatalogueBuilder {
  public:
    // `expectedRecords` (when known) lets the lists take their room at once.
    explicit CatalogueBuilder(Catalogue& catalogue, std::size_t expectedRecords = 0);
    // Appends one song line as read; starts a new page after 32,767 records.
    void add(std::string line);
    // Sorts the indexes of every page; `wait` runs now and then meanwhile (the window lets
    // its events run).
    void finish(const std::function<void()>& wait = {});

  private:
    void reservePage(CataloguePage& page);
    Catalogue& catalogue_;
    std::size_t expected_;
};

}  // namespace dadaz
