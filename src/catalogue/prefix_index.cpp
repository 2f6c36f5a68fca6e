#include "catalogue/prefix_index.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <utility>

#include "catalogue/song_line.h"

namespace dadaz {

namespace {

std::string primaryPart(const std::string& sortKey) {
    // The primary weights end at the first level separator.
    return sortKey.substr(0, std::min(sortKey.size(), sortKey.find('\x01')));
}

// The first eight bytes, big-endian, so that comparing the numbers orders like memcmp.
std::uint64_t headOf(std::string_view bytes) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        head = (head << 8) | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    }
    return head;
}

// An entry's text "key;record", compared with folded texts without being put together.
class EntryText {
  public:
    EntryText(std::string_view key, std::uint32_t record) : key_(key) {
        tail_[0] = ';';
        tailLength_ = static_cast<std::size_t>(
            std::to_chars(tail_ + 1, tail_ + sizeof tail_, record).ptr - tail_);
    }
    std::size_t size() const { return key_.size() + tailLength_; }
    unsigned char foldedAt(std::size_t i) const {
        const char c = i < key_.size() ? key_[i] : tail_[i - key_.size()];
        return foldByte(static_cast<unsigned char>(c));
    }
    // <0, 0 or >0, as the folded text compares with `folded`.
    int compare(std::string_view folded) const {
        const std::size_t n = std::min(size(), folded.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto other = static_cast<unsigned char>(folded[i]);
            if (foldedAt(i) != other) return foldedAt(i) < other ? -1 : 1;
        }
        return size() < folded.size() ? -1 : (size() > folded.size() ? 1 : 0);
    }
    bool startsWith(std::string_view folded) const {
        if (size() < folded.size()) return false;
        for (std::size_t i = 0; i < folded.size(); ++i) {
            if (foldedAt(i) != static_cast<unsigned char>(folded[i])) return false;
        }
        return true;
    }

  private:
    std::string_view key_;
    char tail_[12];
    std::size_t tailLength_;
};

// The records 0..count-1 ordered by their decimal texts ("0", "1", "10", "100", ..., "11",
// ..., "2", ...).
std::vector<std::uint32_t> recordsInDecimalTextOrder(std::size_t count) {
    std::vector<std::uint32_t> order;
    order.reserve(count);
    if (count == 0) return order;
    const std::uint64_t last = count - 1;
    order.push_back(0);
    std::uint64_t r = 1;
    for (std::uint64_t i = 0; i < last; ++i) {
        order.push_back(static_cast<std::uint32_t>(r));
        if (r * 10 <= last) {
            r *= 10;
        } else {
            if (r >= last) r /= 10;
            ++r;
            while (r % 10 == 0) r /= 10;
        }
    }
    return order;
}

struct HeadItem {
    std::uint64_t head;
    std::uint32_t group;
};

}  // namespace

struct IndexSorter::Scratch {
    std::vector<std::uint32_t> slots;       // hash table of the key groups
    std::vector<std::uint32_t> groupOf;     // per position: its group of equal keys
    std::vector<std::uint32_t> groupEntry;  // per group: one of its positions
    std::string keys;                       // per group: the text its rank comes from
    std::vector<std::uint32_t> start;       // per group: where its text begins in `keys`
    std::vector<std::uint32_t> rank;        // per group
    std::vector<HeadItem> items, itemsSorted;
    std::vector<std::uint32_t> positionOf, order, orderSorted, counts;
    std::vector<std::uint32_t> groupOfSorted;

    // Each position in its own group, or positions with equal keys in one.
    template <typename KeyOf>
    void group(std::size_t count, bool equalKeysTogether, KeyOf keyOf) {
        groupOf.resize(count);
        groupEntry.clear();
        if (!equalKeysTogether) {
            for (std::size_t i = 0; i < count; ++i) groupOf[i] = static_cast<std::uint32_t>(i);
            groupEntry = groupOf;
            return;
        }
        std::size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        slots.assign(capacity, 0);  // group + 1; 0 is free
        const std::hash<std::string_view> hash;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view key = keyOf(i);
            std::size_t slot = hash(key) & (capacity - 1);
            while (slots[slot] != 0 && keyOf(groupEntry[slots[slot] - 1]) != key) {
                slot = (slot + 1) & (capacity - 1);
            }
            if (slots[slot] == 0) {
                groupEntry.push_back(static_cast<std::uint32_t>(i));
                slots[slot] = static_cast<std::uint32_t>(groupEntry.size());
            }
            groupOf[i] = slots[slot] - 1;
        }
    }

    std::string_view textOf(std::size_t g) const {
        return std::string_view(keys).substr(start[g], start[g + 1] - start[g]);
    }

    // rank[g] from the group texts: equal texts share a rank, ranks follow the byte order.
    void rankTexts() {
        const std::size_t count = start.size() - 1;
        rank.resize(count);
        items.resize(count);
        for (std::size_t g = 0; g < count; ++g) {
            items[g] = {headOf(textOf(g)), static_cast<std::uint32_t>(g)};
        }
        sortByHead();
        // Texts with equal heads are put in order by the rest.
        const auto byText = [this](const HeadItem& a, const HeadItem& b) {
            return textOf(a.group) < textOf(b.group);
        };
        for (auto run = items.begin(); run != items.end();) {
            const auto end = std::find_if(
                run, items.end(), [&](const HeadItem& item) { return item.head != run->head; });
            if (end - run > 1 && !std::is_sorted(run, end, byText)) std::sort(run, end, byText);
            run = end;
        }
        std::uint32_t current = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0 && (items[i].head != items[i - 1].head ||
                          textOf(items[i].group) != textOf(items[i - 1].group))) {
                ++current;
            }
            rank[items[i].group] = current;
        }
    }

    // A radix sort by head, a byte at a time from the last: a page's texts sort in a few
    // linear passes. Bytes that all items share are skipped.
    void sortByHead() {
        if (items.empty()) return;
        std::array<std::array<std::uint32_t, 256>, 8> byteCounts{};
        for (const auto& item : items) {
            for (unsigned b = 0; b < 8; ++b) ++byteCounts[b][(item.head >> (8 * b)) & 255];
        }
        itemsSorted.resize(items.size());
        for (unsigned b = 0; b < 8; ++b) {
            auto& next = byteCounts[b];
            if (next[(items.front().head >> (8 * b)) & 255] == items.size()) continue;
            std::uint32_t at = 0;
            for (auto& c : next) at += std::exchange(c, at);
            for (const auto& item : items) itemsSorted[next[(item.head >> (8 * b)) & 255]++] = item;
            items.swap(itemsSorted);
        }
    }

    // `order`: the positions by (rank of their group, decimal text of their record): the byte
    // order of the whole texts "key;record" when the ranks order the texts "key;".
    template <typename RecordOf>
    void orderByRankThenRecord(std::size_t count, RecordOf recordOf) {
        static const std::vector<std::uint32_t> fullPage = recordsInDecimalTextOrder(32767);
        positionOf.resize(count);
        for (std::size_t p = 0; p < count; ++p)
            positionOf[recordOf(p)] = static_cast<std::uint32_t>(p);
        order.clear();
        if (count <= fullPage.size()) {
            for (const auto record : fullPage) {
                if (record < count) order.push_back(positionOf[record]);
            }
        } else {
            for (const auto record : recordsInDecimalTextOrder(count)) {
                order.push_back(positionOf[record]);
            }
        }
        // A stable counting sort by rank.
        counts.assign(rank.size() + 1, 0);
        for (const auto p : order) ++counts[rank[groupOf[p]] + 1];
        for (std::size_t r = 1; r < counts.size(); ++r) counts[r] += counts[r - 1];
        orderSorted.resize(count);
        for (const auto p : order) orderSorted[counts[rank[groupOf[p]]]++] = p;
        order.swap(orderSorted);
    }
};

IndexSorter::IndexSorter() : scratch_(std::make_unique<Scratch>()) {
    semicolonWeight_ = primaryPart(collator_.sortKey(";"));
    for (int byte = 0; byte < 256; ++byte) {
        const std::string weight = primaryPart(collator_.sortKey(std::string(1, char(byte))));
        if (weight.size() == 1) oneByteWeight_[byte] = static_cast<unsigned char>(weight[0]);
    }
    // Such weights must simply follow one another in a key; where the collator would write
    // them otherwise, every key goes through it.
    for (const char* sample : {"0", "90210", "007", "Aa", "zZ", "a b", "1 x", "  ", "Tz9 q0"}) {
        std::string fast;
        appendPrimaryKey(sample, fast);
        if (fast != primaryPart(collator_.sortKey(std::string(sample) + ";"))) {
            oneByteWeight_.fill(0);
            break;
        }
    }
    knownKeys_.clear();
}

IndexSorter::~IndexSorter() = default;

void IndexSorter::appendPrimaryKey(std::string_view key, std::string& out) {
    const bool simple = std::all_of(key.begin(), key.end(), [this](char c) {
        return oneByteWeight_[static_cast<unsigned char>(c)] != 0;
    });
    if (simple) {
        for (const char c : key) {
            out += static_cast<char>(oneByteWeight_[static_cast<unsigned char>(c)]);
        }
        out += semicolonWeight_;
        return;
    }
    // Other keys (Thai artists) come back page after page: the collator sees each once.
    auto known = knownKeys_.find(key);
    if (known == knownKeys_.end()) {
        const std::string sortKey = collator_.sortKey(std::string(key) + ";");
        known = knownKeys_.emplace(std::string(key), primaryPart(sortKey)).first;
    }
    out += known->second;
}

void PrefixIndex::attach(const std::vector<std::string>& lines) {
    lines_ = &lines;
    entries_.clear();
    byFoldedBytes_.clear();
}

void PrefixIndex::add(std::string_view key) {
    const auto record = static_cast<std::uint32_t>(entries_.size());
    const std::string& line = (*lines_)[record];
    const auto offset = key.empty() ? 0 : static_cast<std::uint32_t>(key.data() - line.data());
    entries_.push_back({offset, static_cast<std::uint32_t>(key.size()), record});
}

std::string PrefixIndex::text(std::size_t position) const {
    return std::string(key(position)) + ";" + std::to_string(record(position));
}

void PrefixIndex::sealSorted(IndexSorter& sorter, KeyRepeats repeats,
                             const std::atomic<bool>& stop) {
    IndexSorter::Scratch& s = *sorter.scratch_;
    const std::size_t count = size();
    s.group(count, repeats == KeyRepeats::Often, [this](std::size_t i) { return key(i); });
    s.keys.clear();
    s.start.assign(1, 0);
    for (const auto position : s.groupEntry) {
        if ((s.start.size() & 1023) == 0 && stop.load(std::memory_order_relaxed)) return;
        sorter.appendPrimaryKey(key(position), s.keys);
        s.start.push_back(static_cast<std::uint32_t>(s.keys.size()));
    }
    s.rankTexts();
    s.orderByRankThenRecord(count, [this](std::size_t p) { return entries_[p].record; });

    // The entries move to that order, in place; the groups follow them.
    s.groupOfSorted.resize(count);
    for (std::size_t j = 0; j < count; ++j) {
        s.groupOfSorted[j] = s.groupOf[s.order[j]];
        s.positionOf[s.order[j]] = static_cast<std::uint32_t>(j);
    }
    for (auto& position : s.groupEntry) position = s.positionOf[position];
    s.groupOf.swap(s.groupOfSorted);
    for (std::size_t i = 0; i < count; ++i) {
        while (s.positionOf[i] != i) {
            const std::uint32_t to = s.positionOf[i];
            std::swap(entries_[i], entries_[to]);
            std::swap(s.positionOf[i], s.positionOf[to]);
        }
    }
    buildLookup(sorter, stop);
}

void PrefixIndex::sealInOrder(IndexSorter& sorter, const std::atomic<bool>& stop) {
    // Titles seldom repeat: each entry its own group.
    sorter.scratch_->group(size(), false, [this](std::size_t i) { return key(i); });
    buildLookup(sorter, stop);
}

void PrefixIndex::buildLookup(IndexSorter& sorter, const std::atomic<bool>& stop) {
    if (stop.load(std::memory_order_relaxed)) return;
    IndexSorter::Scratch& s = *sorter.scratch_;
    // Keys that differ only in case fold to equal texts, which share a rank.
    s.start.assign(s.groupEntry.size() + 1, 0);
    for (std::size_t g = 0; g < s.groupEntry.size(); ++g) {
        s.start[g + 1] = s.start[g] + entries_[s.groupEntry[g]].length + 1;
    }
    s.keys.assign(s.start.back(), ';');
    for (std::size_t g = 0; g < s.groupEntry.size(); ++g) {
        char* out = s.keys.data() + s.start[g];
        for (const char c : key(s.groupEntry[g])) {
            *out++ = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
        }
    }
    if (stop.load(std::memory_order_relaxed)) return;
    s.rankTexts();
    s.orderByRankThenRecord(size(), [this](std::size_t p) { return entries_[p].record; });
    byFoldedBytes_ = s.order;
}

std::vector<std::uint32_t> PrefixIndex::findPrefix(std::string_view key) const {
    const std::string folded = foldCase(key);
    // Every text that begins with the key sorts at or after the key and before any greater
    // text that does not begin with it; so the matches form one range.
    const auto first = std::partition_point(
        byFoldedBytes_.begin(), byFoldedBytes_.end(),
        [&](std::uint32_t p) { return EntryText(this->key(p), record(p)).compare(folded) < 0; });
    const auto last = std::partition_point(first, byFoldedBytes_.end(), [&](std::uint32_t p) {
        return EntryText(this->key(p), record(p)).startsWith(folded);
    });
    const auto count = static_cast<std::size_t>(last - first);
    if (count < 64) {
        std::vector<std::uint32_t> positions(first, last);
        std::sort(positions.begin(), positions.end());
        return positions;
    }
    // Many matches: a mark per position, read back in order, costs less than sorting them.
    std::vector<std::uint64_t> marks((entries_.size() + 63) / 64, 0);
    for (auto it = first; it != last; ++it) marks[*it / 64] |= std::uint64_t{1} << (*it % 64);
    std::vector<std::uint32_t> positions;
    positions.reserve(count);
    for (std::size_t word = 0; word < marks.size(); ++word) {
        for (std::uint64_t bits = marks[word]; bits != 0; bits &= bits - 1) {
            positions.push_back(static_cast<std::uint32_t>(word * 64 + std::countr_zero(bits)));
        }
    }
    return positions;
}

}  // namespace dadaz
