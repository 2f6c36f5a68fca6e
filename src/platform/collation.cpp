#include "platform/collation.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "platform/codepage.h"

namespace dadaz {

struct ThaiCollator::Impl {
    UCollator* collator = nullptr;

    Impl() {
        UErrorCode status = U_ZERO_ERROR;
        collator = ucol_open("th", &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU collator for Thai missing");
        // Case is a third-level difference: stopping at the second ignores it.
        ucol_setStrength(collator, UCOL_SECONDARY);
        // Blanks and punctuation count, as in the players' list controls.
        ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        // Tone marks and vowels typed in another (canonically equal) order compare equal.
        ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        // ICU's Thai tailoring puts Thai before Latin; the players' systems list digits and
        // Latin first, which is the root order.
        const int32_t rootOrder = UCOL_REORDER_CODE_NONE;
        ucol_setReorderCodes(collator, &rootOrder, 1, &status);
        if (U_FAILURE(status)) {
            ucol_close(collator);
            throw std::runtime_error("ICU collator settings refused");
        }
    }
    ~Impl() { ucol_close(collator); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
};

ThaiCollator::ThaiCollator() : impl_(std::make_unique<Impl>()) {}
ThaiCollator::~ThaiCollator() = default;
ThaiCollator::ThaiCollator(ThaiCollator&&) noexcept = default;
ThaiCollator& ThaiCollator::operator=(ThaiCollator&&) noexcept = default;

int ThaiCollator::compare(std::string_view a, std::string_view b) const {
    const std::u16string left = cp874ToUtf16(a);
    const std::u16string right = cp874ToUtf16(b);
    const UCollationResult result = ucol_strcoll(
        impl_->collator, reinterpret_cast<const UChar*>(left.data()),
        static_cast<int32_t>(left.size()), reinterpret_cast<const UChar*>(right.data()),
        static_cast<int32_t>(right.size()));
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

std::string ThaiCollator::sortKey(std::string_view text) const {
    const std::u16string units = cp874ToUtf16(text);
    const auto* source = reinterpret_cast<const UChar*>(units.data());
    const auto length = static_cast<int32_t>(units.size());
    std::string key(units.size() * 4 + 16, '\0');
    for (;;) {
        const int32_t needed =
            ucol_getSortKey(impl_->collator, source, length, reinterpret_cast<uint8_t*>(key.data()),
                            static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            // The key ends in a NUL that nothing else in it contains: leave it out.
            key.resize(needed > 0 ? needed - 1 : 0);
            return key;
        }
        key.resize(needed);
    }
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i];
        char b = prefix[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

void SortedIndex::insert(std::string entry) {
    std::string key = collator_.sortKey(entry);
    pending_.push_back({std::move(key), std::move(entry)});
}

void SortedIndex::insertMany(std::vector<std::string> entries) {
    pending_.reserve(pending_.size() + entries.size());
    for (std::string& entry : entries) insert(std::move(entry));
}

void SortedIndex::clear() {
    entries_.clear();
    pending_.clear();
}

void SortedIndex::settle() const {
    if (pending_.empty()) return;
    const auto byKey = [](const Entry& a, const Entry& b) { return a.key < b.key; };
    // Stable on both steps: equal entries stay in insertion order, older ones first.
    std::stable_sort(pending_.begin(), pending_.end(), byKey);
    const auto oldSize = static_cast<std::ptrdiff_t>(entries_.size());
    entries_.reserve(entries_.size() + pending_.size());
    std::move(pending_.begin(), pending_.end(), std::back_inserter(entries_));
    pending_.clear();
    std::inplace_merge(entries_.begin(), entries_.begin() + oldSize, entries_.end(), byKey);
}

std::size_t SortedIndex::lowerBoundKey(std::string_view key) const {
    settle();
    const auto found = std::lower_bound(
        entries_.begin(), entries_.end(), key,
        [](const Entry& entry, std::string_view probe) { return entry.key < probe; });
    return static_cast<std::size_t>(found - entries_.begin());
}

std::size_t SortedIndex::lowerBound(std::string_view text) const {
    return lowerBoundKey(collator_.sortKey(text));
}

namespace {

// Characters whose weight the next character changes, in code page 874: the leading vowels
// เ แ โ ใ ไ weigh after the consonant that follows them, nikhahit with a following า or ๅ
// weighs as one vowel, and a phinthu after sara u or uu sorts before it.
bool weighsWithTheNext(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0xE0 && value <= 0xE4) || value == 0xED || value == 0xD8 || value == 0xD9;
}

}  // namespace

std::size_t SortedIndex::findPrefix(std::string_view prefix) const {
    // Every entry that begins with the prefix has a key whose first-level part begins with the
    // prefix's first-level part, and those entries lie together. Second-level marks (Thai tone
    // marks) interleave within that run, so it is walked rather than trusted at its start.
    // A last character whose weight depends on what follows it is left out of the probe.
    std::string_view probe = prefix;
    while (!probe.empty() && weighsWithTheNext(probe.back())) probe.remove_suffix(1);
    std::string primary = collator_.sortKey(probe);
    primary.resize(std::min(primary.size(), primary.find('\x01')));

    for (std::size_t i = lowerBoundKey(primary); i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.key.compare(0, primary.size(), primary) != 0) break;
        if (startsWithIgnoringCase(entry.text, prefix)) return i;
    }
    return size();
}

}  // namespace dadaz
