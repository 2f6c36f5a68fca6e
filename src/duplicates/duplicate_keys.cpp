#include "duplicates/duplicate_keys.h"

#include "catalogue/song_line.h"

namespace dadaz {

namespace {

constexpr std::string_view kKeyEnds = "(;[{@<";

// The field that starts after the `nth` ";" (1 or 2), up to the first key end; empty when the
// line has fewer ";".
std::string_view keyField(std::string_view line, int nth) {
    std::size_t start = 0;
    for (int i = 0; i < nth; ++i) {
        const std::size_t semicolon = line.find(';', start);
        if (semicolon == std::string_view::npos) return {};
        start = semicolon + 1;
    }
    const std::string_view rest = line.substr(start);
    return trimBlanks(rest.substr(0, rest.find_first_of(kKeyEnds)));
}

// Whether some word of `words` that a blank follows occurs in `other`.
bool wordFoundIn(std::string_view words, std::string_view other) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] != ' ') continue;
        const std::string_view word = trimBlanks(words.substr(start, i - start));
        start = i + 1;
        if (!word.empty() && static_cast<unsigned char>(word[0]) >= 65 &&
            other.find(word) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace

std::string titleKey(std::string_view line) {
    return removeBlanks(keyField(line, 1));
}

std::string artistKey(std::string_view line) {
    return std::string(keyField(line, 2));
}

std::string wholeLineKey(std::string_view line) {
    const std::size_t semicolon = line.find(';');
    return removeBlanks(semicolon == std::string_view::npos ? line : line.substr(semicolon + 1));
}

bool keysEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldByte(static_cast<unsigned char>(a[i])) !=
            foldByte(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool artistsRelated(std::string_view a, std::string_view b) {
    return keysEqual(a, b) || wordFoundIn(a, b) || wordFoundIn(b, a);
}

bool sameSong(std::string_view a, std::string_view b, DuplicateCriterion criterion) {
    if (criterion == DuplicateCriterion::Everything)
        return keysEqual(wholeLineKey(a), wholeLineKey(b));
    return keysEqual(titleKey(a), titleKey(b));
}

}  // namespace dadaz
