#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

class ThaiCollator;

// One index list of a catalogue page: entries "key;record" (the record index within the
// page, in decimal), in the list's own order: Thai collation for codes and artists, file
// order for titles. The texts live in one buffer, so a 100,000-song catalogue costs no
// allocation per entry.
//
// A prefix lookup must find every entry that begins with the key. In Thai collation those
// entries are not always neighbours (a leading vowel sorts under the consonant after it, a
// Thai letter followed by a Latin one sorts elsewhere), so finding the first and walking on
// while they match would miss some. The index therefore keeps a second order, by case-folded
// bytes, where the entries with a common prefix form one range.
class PrefixIndex {
  public:
    // Appends the entry `key` + ";" + `record`.
    void add(std::string_view key, std::uint32_t record);
    // Puts the entries in Thai collation order of their whole text (equal texts keep their
    // order) and builds the lookup order. Call once, after the last add.
    void sealSorted(const ThaiCollator& collator);
    // Keeps the entries in the order they were added and builds the lookup order.
    void sealInOrder();
    void clear();
    void reserve(std::size_t entries, std::size_t bytes);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The entry text at a position of the list ("Love Song;17").
    std::string_view text(std::size_t position) const {
        const Entry& e = entries_[position];
        return {pool_.data() + e.offset, e.length};
    }
    // The record index the entry at a position names.
    std::uint32_t record(std::size_t position) const { return entries_[position].record; }

    // Positions, in list order, of every entry whose text begins with `key` (ASCII case
    // ignored; code page 874 has no other cased letters). An empty key gives every entry.
    std::vector<std::uint32_t> findPrefix(std::string_view key) const;

  private:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t record;
    };
    void buildLookup();

    std::string pool_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> byFoldedBytes_;  // positions in case-folded byte order
};

}  // namespace dadaz
