#pragma once

#include <string>
#include <string_view>

namespace dadaz {

// A song line of SongList.txt, in code page 874: code, title, artist and key separated by
// ";" (and, in the multi-folder layout, the song's volume folder after a last ";"). Result
// lists hold the same lines and, between the passes of an every-part search, separator lines.

// A line beginning with "-----" separates result passes; it never counts as a song.
bool isSeparatorLine(std::string_view line);
// The separator an every-part search lists: 100 "-".
const std::string& separatorLine();

// Without leading and trailing blanks (" " only, as the players' tools trim).
std::string_view trimBlanks(std::string_view text);
// The text with every blank removed.
std::string removeBlanks(std::string_view text);

// The fields the catalogue indexes, trimmed. A line with fewer separators than expected
// gives empty later fields: the code runs to the end of a line without any ";".
struct SongLineFields {
    std::string_view code;
    std::string_view title;
    std::string_view artist;
};
SongLineFields splitSongLine(std::string_view line);

// The lyric editor appends " [+]" to the lines of songs whose lyric it saved.
bool hasEditedMark(std::string_view line);
// Multi-folder layout: the volume folder, the text after the last ";", less an edited mark
// (so a saved lyric never spoils the path of its song).
std::string_view volumeOfLine(std::string_view line);

// Case folding for comparisons that ignore case. Code page 874 has no cased letters beyond
// ASCII, so folding ASCII is the whole of it.
inline unsigned char foldByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}
std::string foldCase(std::string_view text);
void foldCaseInPlace(std::string& text);
// Whether `text` begins with `foldedPrefix` (already folded), ignoring case.
bool startsWithFolded(std::string_view text, std::string_view foldedPrefix);
// Position of `needle` in `haystack`, both already folded (npos when absent).
std::size_t findBytes(std::string_view haystack, std::string_view needle);

}  // namespace dadaz
