#include "songlist/song_entry.h"

#include <algorithm>

#include "platform/codepage.h"

namespace dadaz {

std::string SongEntry::sortText() const {
    std::string text;
    text.reserve(title.size() + artist.size() + key.size() + code.size() + volume.size() + 5);
    for (const std::string* field : {&title, &artist, &key, &code, &volume}) {
        text += *field;
        text += ';';
    }
    return text;
}

namespace {

// The Thai consonant ranges of code page 874 that open groups 1 to 4; 0 for anything else.
int consonantGroup(unsigned char c) {
    if (c >= 161 && c <= 172) return 1;
    if (c >= 173 && c <= 184) return 2;
    if (c >= 185 && c <= 196) return 3;
    if (c >= 197 && c <= 208) return 4;
    return 0;
}

bool isDigitOrLatin(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 240 && c <= 249) || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

}  // namespace

int titleGroup(std::string_view title) {
    if (title.empty()) return 0;
    const auto first = static_cast<unsigned char>(title[0]);
    if (isDigitOrLatin(first)) return 0;
    if (const int group = consonantGroup(first); group != 0) return group;
    // A leading vowel (or other sign) files the title under the character after it.
    return title.size() > 1 ? consonantGroup(static_cast<unsigned char>(title[1])) : 0;
}

std::optional<std::string> nameAsData(std::string_view name) {
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return std::nullopt;  // it would break a line of the list or a message
    }
    if (std::all_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(name);
    }
    std::string data = utf8ToCp874(name);
    if (cp874ToUtf8(data) != name) return std::nullopt;
    return data;
}

}  // namespace dadaz
