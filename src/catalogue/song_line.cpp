#include "catalogue/song_line.h"

#include <cstring>

namespace dadaz {

bool isSeparatorLine(std::string_view line) {
    return line.starts_with("-----");
}

const std::string& separatorLine() {
    static const std::string line(100, '-');
    return line;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string removeBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != ' ') out += c;
    }
    return out;
}

SongLineFields splitSongLine(std::string_view line) {
    SongLineFields fields;
    const auto p1 = line.find(';');
    fields.code = trimBlanks(line.substr(0, p1));
    if (p1 == std::string_view::npos) return fields;
    const auto p2 = line.find(';', p1 + 1);
    fields.title = trimBlanks(
        line.substr(p1 + 1, p2 == std::string_view::npos ? std::string_view::npos : p2 - p1 - 1));
    if (p2 == std::string_view::npos) return fields;
    const auto p3 = line.find(';', p2 + 1);
    fields.artist = trimBlanks(
        line.substr(p2 + 1, p3 == std::string_view::npos ? std::string_view::npos : p3 - p2 - 1));
    return fields;
}

bool hasEditedMark(std::string_view line) {
    return line.ends_with("[+]");
}

std::string_view volumeOfLine(std::string_view line) {
    const auto last = line.rfind(';');
    std::string_view volume = last == std::string_view::npos ? line : line.substr(last + 1);
    if (volume.ends_with(" [+]")) {
        volume.remove_suffix(4);
    } else if (volume.ends_with("[+]")) {
        volume.remove_suffix(3);
    }
    return volume;
}

std::string foldCase(std::string_view text) {
    std::string out(text);
    foldCaseInPlace(out);
    return out;
}

void foldCaseInPlace(std::string& text) {
    for (char& c : text) c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
}

bool startsWithFolded(std::string_view text, std::string_view foldedPrefix) {
    if (text.size() < foldedPrefix.size()) return false;
    for (std::size_t i = 0; i < foldedPrefix.size(); ++i) {
        if (foldByte(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(foldedPrefix[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findBytes(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return 0;
    const void* hit = memmem(haystack.data(), haystack.size(), needle.data(), needle.size());
    if (!hit) return std::string_view::npos;
    return static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
}

}  // namespace dadaz
