#include "catalogue/prefix_index.h"

#include <algorithm>
#include <numeric>

#include "catalogue/song_line.h"

namespace dadaz {

namespace {

// Byte order of the case-folded texts.
bool foldedLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = foldByte(static_cast<unsigned char>(a[i]));
        const unsigned char cb = foldByte(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

}  // namespace

void PrefixIndex::assign(std::vector<Entry> entries) {
    entries_ = std::move(entries);
    byFoldedBytes_.resize(entries_.size());
    std::iota(byFoldedBytes_.begin(), byFoldedBytes_.end(), 0u);
    std::sort(byFoldedBytes_.begin(), byFoldedBytes_.end(),
              [this](std::uint32_t a, std::uint32_t b) {
                  return foldedLess(entries_[a].text, entries_[b].text);
              });
}

void PrefixIndex::clear() {
    entries_.clear();
    byFoldedBytes_.clear();
}

std::vector<std::uint32_t> PrefixIndex::findPrefix(std::string_view key) const {
    const std::string folded = foldCase(key);
    // Every text that begins with the key sorts at or after the key and before any text that
    // does not begin with it but is greater; so the matches form one range.
    const auto first =
        std::partition_point(byFoldedBytes_.begin(), byFoldedBytes_.end(),
                             [&](std::uint32_t p) { return foldedLess(entries_[p].text, folded); });
    const auto last = std::partition_point(first, byFoldedBytes_.end(), [&](std::uint32_t p) {
        return startsWithFolded(entries_[p].text, folded);
    });
    std::vector<std::uint32_t> positions(first, last);
    std::sort(positions.begin(), positions.end());
    return positions;
}

}  // namespace dadaz
