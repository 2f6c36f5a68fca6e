#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dadaz {

// One song of the song list. Every field is code page 874 data, as written to the files.
struct SongEntry {
    std::string title;
    std::string artist;
    std::string key;
    std::string code;
    std::string volume;  // the volume folder in the multi-folder layout, else empty

    // "title;artist;key;code;volume;": the text the list is sorted by, so songs come in
    // title order, then artist, key and code.
    std::string sortText() const;
};

// From this many counted files on, the list is split into five groups by the title's first
// characters (digits and Latin first, then the Thai consonant ranges), as the players' lists
// of at most 32,767 entries forced it.
constexpr long kGroupedListThreshold = 32767;
constexpr int kGroupCount = 5;
// The group of a title (code page 874): 0 to 4.
int titleGroup(std::string_view title);

// A file or folder name (UTF-8 on this system) as code page 874 data, or nothing when it
// holds a character the code page lacks or a control character.
std::optional<std::string> nameAsData(std::string_view name);

}  // namespace dadaz
