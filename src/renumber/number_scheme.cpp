#include "renumber/number_scheme.h"

#include <limits>

#include "library/song_code.h"

namespace dadaz {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A whole number of at most `max`, digits only.
std::optional<long> parseWhole(std::string_view text, long max) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > max) return std::nullopt;
    }
    return value;
}

std::uint64_t capacityOf(std::size_t width) {
    if (width >= 19) return std::numeric_limits<std::uint64_t>::max();
    std::uint64_t capacity = 0;
    for (std::size_t i = 0; i < width; ++i) capacity = capacity * 10 + 9;
    return capacity;
}

// Letters of a pattern may stand in a file name: no digit (it would read as part of the
// number), no path or wildcard character, no control character, no dot.
bool validLetters(std::string_view letters) {
    for (unsigned char c : letters) {
        if (c >= '0' && c <= '9') return false;
        if (c < 0x20 || c == 0x7f) return false;
        if (std::string_view("/\\*?.:\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return true;
}

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t taken = 0; i < text.size() && taken < count; ++taken) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return std::string(text.substr(0, i));
}

}  // namespace

std::optional<int> parseDigitCount(std::string_view text) {
    const auto value = parseWhole(text, kMaxDigitCount);
    if (!value || *value == 0) return std::nullopt;
    return static_cast<int>(*value);
}

bool isNumericText(std::string_view text) {
    return parseWhole(text, std::numeric_limits<long>::max() / 10).has_value();
}

std::size_t NumberScheme::validLength() const {
    return static_cast<std::size_t>(digitCount) + (mode == Mode::Custom ? 1 : 0);
}

std::optional<std::string> NumberScheme::newStem(std::string_view folder, std::string_view oldStem,
                                                 std::uint64_t n) const {
    std::string number = std::to_string(n);
    if (number.size() < width) number.insert(0, width - number.size(), '0');
    switch (mode) {
        case Mode::Plain:
            return std::string(folder) + number;
        case Mode::Custom:
            return folderNameFirst ? std::string(folder) + letters + number
                                   : letters + std::string(folder) + number;
        case Mode::Leave:
            if (characterCount(oldStem) < leave) return std::nullopt;
            return firstCharacters(oldStem, leave) + number;
    }
    return std::nullopt;
}

SchemeResult deriveScheme(const RenumberSettings& settings) {
    SchemeResult result;
    NumberScheme& scheme = result.scheme;
    const auto digits = parseDigitCount(settings.digitText);
    if (!digits) {
        result.problem = SchemeProblem::DigitCount;
        return result;
    }
    scheme.digitCount = *digits;
    scheme.folderNameFirst = settings.folderNameFirst;
    if (settings.customPattern) {
        scheme.mode = NumberScheme::Mode::Custom;
        const std::string& pattern = settings.patternText;
        std::size_t zeros = 0;
        while (zeros < pattern.size() && pattern[pattern.size() - 1 - zeros] == '0') ++zeros;
        scheme.width = zeros;
        scheme.letters = pattern.substr(0, pattern.size() - zeros);
        if (!validLetters(scheme.letters)) result.problem = SchemeProblem::InvalidPattern;
    } else if (settings.leaveDigit) {
        scheme.mode = NumberScheme::Mode::Leave;
        const auto leave = parseWhole(settings.leaveText, kMaxDigitCount);
        if (!leave || *leave == 0) {
            result.problem = SchemeProblem::LeaveCount;
            return result;
        }
        scheme.leave = static_cast<std::size_t>(*leave);
        scheme.width =
            scheme.leave < static_cast<std::size_t>(*digits) ? *digits - scheme.leave : 0;
    } else {
        scheme.width = static_cast<std::size_t>(*digits) - 1;
    }
    scheme.capacity = capacityOf(scheme.width);
    return result;
}

}  // namespace dadaz
