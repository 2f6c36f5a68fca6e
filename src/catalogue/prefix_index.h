#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

// One index list of a catalogue page: entries "key;record" (the record index within the
// page), in the list's own order (Thai collation for codes and artists, file order for
// titles).
//
// A prefix lookup must find every entry that begins with the key. In Thai collation those
// entries are not always neighbours (a leading vowel sorts under the consonant after it, a
// Thai letter followed by a Latin one sorts elsewhere), so finding the first and walking on
// while they match would miss some. The index therefore keeps a second order, by case-folded
// bytes, where the entries with a common prefix form one range.
class PrefixIndex {
  public:
    struct Entry {
        std::string text;  // "key;record", the key trimmed
        std::uint32_t record = 0;
    };

    // Takes the entries in their final list order and builds the lookup order.
    void assign(std::vector<Entry> entries);
    void clear();

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const Entry& at(std::size_t position) const { return entries_[position]; }
    const std::vector<Entry>& entries() const { return entries_; }

    // Positions, in list order, of every entry whose text begins with `key` (ASCII case
    // ignored; code page 874 has no other cased letters). An empty key gives every entry.
    std::vector<std::uint32_t> findPrefix(std::string_view key) const;

  private:
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> byFoldedBytes_;  // positions in case-folded byte order
};

}  // namespace dadaz
