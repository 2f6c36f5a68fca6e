#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/collation.h"

namespace dadaz {

// How often the keys of an index recur: artists from song to song, codes and titles hardly.
enum class KeyRepeats { Rarely, Often };

// What one thread needs to put index lists in order: the Thai collator, and working memory
// kept from one list to the next (fresh memory would cost a page fault every 4 KB).
//
// Within one index the records differ, so two entries "key;record" compare by the primary
// collation weights of "key;" first (the secondary ones of the key cannot decide before the
// record's digits do) and then by the record's decimal text. So one collation key per
// distinct key is enough: an artist with a hundred songs costs one.
class IndexSorter {
  public:
    IndexSorter();
    ~IndexSorter();
    IndexSorter(const IndexSorter&) = delete;
    IndexSorter& operator=(const IndexSorter&) = delete;

    // Appends bytes whose byte order (a shorter text first when one begins the other) is the
    // primary collation order of `key` + ";".
    void appendPrimaryKey(std::string_view key, std::string& out);

  private:
    friend class PrefixIndex;
    struct Scratch;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    ThaiCollator collator_;
    // Bytes whose primary weight is one byte that stands for the byte wherever it is: a key
    // of such bytes (codes are digits) needs no call to the collator. 0: not such a byte.
    std::array<unsigned char, 256> oneByteWeight_{};
    std::string semicolonWeight_;
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> knownKeys_;
    std::unique_ptr<Scratch> scratch_;
};

// One index list of a catalogue page: entries "key;record" (the record index within the
// page, in decimal), in the list's own order: Thai collation for codes and artists, file
// order for titles. An entry keeps only where its key stands in its song line: a
// 100,000-song catalogue holds no second copy of its texts.
//
// A prefix lookup must find every entry that begins with the key. In Thai collation those
// entries are not always neighbours (a leading vowel sorts under the consonant after it, a
// Thai letter followed by a Latin one sorts elsewhere), so finding the first and walking on
// while they match would miss some. The index therefore keeps a second order, by case-folded
// bytes, where the entries with a common prefix form one range.
class PrefixIndex {
  public:
    PrefixIndex() = default;
    // It points into its page's lines: it stays with them.
    PrefixIndex(const PrefixIndex&) = delete;
    PrefixIndex& operator=(const PrefixIndex&) = delete;

    // Starts the index over a page's song lines; they must outlive it, and may only grow at
    // their ends (the edited mark).
    void attach(const std::vector<std::string>& lines);
    // Appends the entry of the next line; `key` is a part of that line, without ";".
    void add(std::string_view key);
    // Puts the entries in Thai collation order of their whole text and builds the lookup
    // order. Call once, after the last add. Returns early, leaving the index unusable, once
    // `stop` is set.
    void sealSorted(IndexSorter& sorter, KeyRepeats repeats, const std::atomic<bool>& stop);
    // Keeps the entries in the order they were added and builds the lookup order.
    void sealInOrder(IndexSorter& sorter, const std::atomic<bool>& stop);
    void reserve(std::size_t entries) { entries_.reserve(entries); }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The key of the entry at a position of the list ("Love Song").
    std::string_view key(std::size_t position) const {
        const Entry& e = entries_[position];
        return std::string_view((*lines_)[e.record]).substr(e.offset, e.length);
    }
    // The record index the entry at a position names.
    std::uint32_t record(std::size_t position) const { return entries_[position].record; }
    // The whole entry text ("Love Song;17").
    std::string text(std::size_t position) const;

    // Positions, in list order, of every entry whose text begins with `key` (ASCII case
    // ignored; code page 874 has no other cased letters). An empty key gives every entry.
    std::vector<std::uint32_t> findPrefix(std::string_view key) const;

  private:
    struct Entry {
        std::uint32_t offset;  // of the key in its line
        std::uint32_t length;
        std::uint32_t record;
    };
    // The lookup order, from the groups of equal keys the sorter holds.
    void buildLookup(IndexSorter& sorter, const std::atomic<bool>& stop);

    const std::vector<std::string>* lines_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> byFoldedBytes_;  // positions in case-folded byte order
};

}  // namespace dadaz
