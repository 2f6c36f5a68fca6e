#include "catalogue/prefix_index.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <numeric>

#include "catalogue/song_line.h"
#include "platform/collation.h"

namespace dadaz {

namespace {

// The first eight bytes, big-endian, so that comparing the numbers orders like memcmp;
// texts with equal heads are compared whole.
std::uint64_t headOf(std::string_view bytes, bool fold) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        unsigned char c = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
        if (fold) c = foldByte(c);
        head = (head << 8) | c;
    }
    return head;
}

int compareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = foldByte(static_cast<unsigned char>(a[i]));
        const unsigned char cb = foldByte(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Sorts positions 0..n-1 by texts given through `textOf`, using heads first.
template <typename TextOf>
std::vector<std::uint32_t> sortedPositions(std::size_t n, bool fold, TextOf textOf) {
    struct Item {
        std::uint64_t head;
        std::uint32_t position;
    };
    std::vector<Item> items(n);
    for (std::size_t i = 0; i < n; ++i) {
        items[i] = {headOf(textOf(i), fold), static_cast<std::uint32_t>(i)};
    }
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.head != b.head) return a.head < b.head;
        const auto ta = textOf(a.position);
        const auto tb = textOf(b.position);
        return fold ? compareFolded(ta, tb) < 0 : ta < tb;
    });
    std::vector<std::uint32_t> positions(n);
    for (std::size_t i = 0; i < n; ++i) positions[i] = items[i].position;
    return positions;
}

}  // namespace

void PrefixIndex::add(std::string_view key, std::uint32_t record) {
    const auto offset = static_cast<std::uint32_t>(pool_.size());
    pool_.append(key);
    pool_ += ';';
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, record).ptr;
    pool_.append(digits, end);
    entries_.push_back({offset, static_cast<std::uint32_t>(pool_.size() - offset), record});
}

void PrefixIndex::reserve(std::size_t entries, std::size_t bytes) {
    entries_.reserve(entries);
    pool_.reserve(bytes);
}

void PrefixIndex::sealSorted(const ThaiCollator& collator) {
    // ICU sort keys, kept in one buffer.
    std::string keys;
    std::vector<std::uint32_t> keyStart(entries_.size() + 1, 0);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        keys += collator.sortKey(text(i));
        keyStart[i + 1] = static_cast<std::uint32_t>(keys.size());
    }
    const auto order = sortedPositions(entries_.size(), false, [&](std::size_t i) {
        return std::string_view(keys.data() + keyStart[i], keyStart[i + 1] - keyStart[i]);
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries_.size());
    for (auto i : order) sorted.push_back(entries_[i]);
    entries_ = std::move(sorted);
    buildLookup();
}

void PrefixIndex::sealInOrder() {
    buildLookup();
}

void PrefixIndex::buildLookup() {
    byFoldedBytes_ =
        sortedPositions(entries_.size(), true, [this](std::size_t i) { return text(i); });
}

void PrefixIndex::clear() {
    pool_.clear();
    entries_.clear();
    byFoldedBytes_.clear();
}

std::vector<std::uint32_t> PrefixIndex::findPrefix(std::string_view key) const {
    const std::string folded = foldCase(key);
    // Every text that begins with the key sorts at or after the key and before any greater
    // text that does not begin with it; so the matches form one range.
    const auto first =
        std::partition_point(byFoldedBytes_.begin(), byFoldedBytes_.end(),
                             [&](std::uint32_t p) { return compareFolded(text(p), folded) < 0; });
    const auto last = std::partition_point(first, byFoldedBytes_.end(), [&](std::uint32_t p) {
        return startsWithFolded(text(p), folded);
    });
    std::vector<std::uint32_t> positions(first, last);
    std::sort(positions.begin(), positions.end());
    return positions;
}

}  // namespace dadaz
