#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

// Thai collation of code page 874 texts as the players' systems sort their lists: case is
// ignored, punctuation counts, digits and Latin letters come before Thai, and a leading vowel
// sorts under the consonant that follows it. Each thread should use its own instance.
class ThaiCollator {
  public:
    ThaiCollator();
    ~ThaiCollator();
    ThaiCollator(const ThaiCollator&) = delete;
    ThaiCollator& operator=(const ThaiCollator&) = delete;
    // Movable, so that containers can hold collators and sorted lists; a moved-from collator
    // may only be assigned to or destroyed.
    ThaiCollator(ThaiCollator&&) noexcept;
    ThaiCollator& operator=(ThaiCollator&&) noexcept;

    // <0, 0 or >0.
    int compare(std::string_view a, std::string_view b) const;
    bool less(std::string_view a, std::string_view b) const { return compare(a, b) < 0; }
    // A byte string whose byte order (memcmp, then length) is the collation order: for bulk
    // sorts.
    std::string sortKey(std::string_view text) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// True when `text` begins with `prefix`, ASCII letters compared without regard to case (the
// sorted list controls' "find string" test).
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

// A list kept in Thai collation order, like the players' sorted list controls (which the
// program used as containers). Equal entries keep their insertion order.
// New entries wait in a side list and are merged in on the next read, so filling the list
// entry by entry costs one sort, not a shift per entry. Not for use by several threads at
// once, not even for reading.
class SortedIndex {
  public:
    void insert(std::string entry);
    // Adds many entries at once, sorting by collation keys (much faster than repeated insert).
    void insertMany(std::vector<std::string> entries);
    void clear();
    std::size_t size() const { return entries_.size() + pending_.size(); }
    bool empty() const { return size() == 0; }
    const std::string& at(std::size_t i) const {
        settle();
        return entries_[i].text;
    }
    // Index of the first entry that compares >= `text`.
    std::size_t lowerBound(std::string_view text) const;
    // Index of the first entry that begins with `prefix` (ASCII case ignored), or size() when
    // none does: the list controls' find-string request. Looks only at the entries whose
    // collation key starts like the prefix's, not at the whole list.
    std::size_t findPrefix(std::string_view prefix) const;

  private:
    struct Entry {
        std::string key;
        std::string text;
    };
    void settle() const;
    std::size_t lowerBoundKey(std::string_view key) const;

    ThaiCollator collator_;
    mutable std::vector<Entry> entries_;
    mutable std::vector<Entry> pending_;  // inserted, not yet merged; in insertion order
};

}  // namespace dadaz
