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

// A list kept in Thai collation order, like the players' sorted list controls (which the
// program used as containers). Equal entries keep their insertion order.
class SortedIndex {
  public:
    void insert(std::string entry);
    // Adds many entries at once, sorting by collation keys (much faster than repeated insert).
    void insertMany(std::vector<std::string> entries);
    void clear();
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& at(std::size_t i) const { return entries_[i].text; }
    // Index of the first entry that compares >= `text`.
    std::size_t lowerBound(std::string_view text) const;

  private:
    struct Entry {
        std::string key;
        std::string text;
    };
    ThaiCollator collator_;
    std::vector<Entry> entries_;
};

}  // namespace dadaz
