#include "update/version.h"

#include <tuple>

namespace dadaz {

std::string versionText(const Version& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

namespace {

std::optional<int> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    // A web server may hand the file over with a byte order mark or stray blanks.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const char* blanks = " \t\r\n";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::optional<Version> parseVersionLine(std::string_view line) {
    line = trimmed(line);
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        auto dot = line.find('.');
        if ((i < 2) == (dot == std::string_view::npos)) return std::nullopt;
        auto number = wholeNumber(line.substr(0, dot));
        if (!number) return std::nullopt;
        parts[i] = *number;
        line = i < 2 ? line.substr(dot + 1) : std::string_view{};
    }
    return Version{parts[0], parts[1], parts[2]};
}

bool isNewer(const Version& offered, const Version& own) {
    return std::tie(offered.major, offered.minor, offered.revision) >
           std::tie(own.major, own.minor, own.revision);
}

}  // namespace dadaz
