#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
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
    std::size_t separatorLines = 0;  // song lines beginning with "-----": never counted

    // The song line a record index of this page names; nullptr when out of range.
    const std::string* song(std::uint32_t record) const {
        return record < songs.size() ? &songs[record] : nullptr;
    }
};

class IndexWorkers;

// The in-memory copy of SongList.txt that the search mode works on, with the catalogue state
// the main window keeps (lastPage, currentPage, totalSongs). Lines stay code page 874 bytes.
class Catalogue {
  public:
    // Pages never move once made, so references to their lines stay good.
    using Pages = std::deque<CataloguePage>;

    Catalogue();
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Page 0 always exists; pages 0 to lastPage() are valid.
    const CataloguePage& page(int number) const { return pages_->at(number); }
    int lastPage() const { return static_cast<int>(pages_->size()) - 1; }
    long totalSongs() const { return totalSongs_; }
    bool empty() const { return totalSongs_ == 0; }

    // The pages as they stand, for a search or a result list: they stay alive, unchanged by
    // a clear or a new load, as long as the holder keeps them.
    std::shared_ptr<const Pages> pages() const { return pages_; }
    // A catalogue over the same pages, for a run that lets the window's events run: a
    // clear meanwhile (the window closing) does not pull the pages from under it.
    Catalogue snapshot() const { return Catalogue(pages_, totalSongs_, currentPage_); }

    // The page shown when browsing; 0 after every load.
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int number);

    // Starts anew: page 0, empty, nothing counted. Indexes still being built by a load are
    // stopped first and their threads joined.
    void clear();

    // Marks a song whose lyric the editor saved: in every page, the first line that begins
    // with `line` (case ignored) gets " [+]" unless it already ends with "[+]".
    void markEdited(std::string_view line);

  private:
    friend class CatalogueBuilder;
    Catalogue(std::shared_ptr<Pages> pages, long totalSongs, int currentPage);

    std::shared_ptr<Pages> pages_;
    std::shared_ptr<IndexWorkers> indexing_;  // the load building the indexes, if any
    long totalSongs_ = 0;
    int currentPage_ = 0;
};

// Fills a catalogue line by line, as loading reads SongList.txt. Each full page goes to
// worker threads, which make its song lines and indexes while reading goes on; finish() hands
// over the last page and waits for all of them.
class CatalogueBuilder {
  public:
    // `expectedBytes` (the file's size, when known) lets the pages take their room at once.
    explicit CatalogueBuilder(Catalogue& catalogue, std::size_t expectedBytes = 0);
    // Stops and joins the workers when finish() was not reached.
    ~CatalogueBuilder();
    CatalogueBuilder(const CatalogueBuilder&) = delete;
    CatalogueBuilder& operator=(const CatalogueBuilder&) = delete;

    // Appends one song line as read; starts a new page after 32,767 records. The catalogue
    // counts the line at once; its page shows it once finish() returned true.
    void add(std::string_view line);
    // Waits until every page is built, calling `keepWaiting` about every 16 ms meanwhile (the
    // window lets its events run). When it returns false, or the catalogue was cleared
    // meanwhile, the building stops at once, its threads are joined, the catalogue is left
    // empty and the result is false.
    bool finish(const std::function<bool()>& keepWaiting = {});

  private:
    void handOverPage();
    bool abandoned() const;
    Catalogue& catalogue_;
    std::shared_ptr<IndexWorkers> workers_;
    std::size_t expectedBytes_;
    std::size_t bytesRead_ = 0;
    std::string pageText_;  // the lines of the page being read, each ended by "\n"
    std::size_t pageLines_ = 0;
    std::size_t pagesHandedOver_ = 0;
};

}  // namespace dadaz
