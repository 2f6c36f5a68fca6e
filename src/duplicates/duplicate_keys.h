#pragma once

#include <string>
#include <string_view>

namespace dadaz {

// What makes two neighbouring song lines of SongList.txt duplicates.
enum class DuplicateCriterion {
    Title,        // radFindSong: equal title keys
    TitleArtist,  // radFindSongArtist: equal title keys, related artists
    TitleMidi,    // radFindSongMidi: equal title keys, MIDI sizes less than 50 bytes apart
    Everything,   // radFindAll: equal whole-line keys
};

// Keys of a song line (code page 874). Title key: the text after the first ";" up to the
// first of ( ; [ { @ <, trimmed, every blank removed. Artist key: the text after the title
// field's ";" up to the first of the same characters, trimmed (inner blanks stay). Whole-line
// key: everything after the first ";" (the whole line without one), every blank removed. A
// line without ";" has empty title and artist keys.
std::string titleKey(std::string_view line);
std::string artistKey(std::string_view line);
std::string wholeLineKey(std::string_view line);

// Keys compare without regard to case.
bool keysEqual(std::string_view a, std::string_view b);

// Artist keys of the previous (a) and the current line (b): equal without regard to case, or
// a word of one found in the other as a case-sensitive substring. A word is text followed by a
// blank (so a key's last word is never tried) whose first byte is "A" (65) or above, which
// skips words starting with a digit or punctuation and keeps Thai ones.
bool artistsRelated(std::string_view a, std::string_view b);

// Two lines count as one song for the warning about removing every copy: equal title keys, or
// under the everything criterion equal whole-line keys.
bool sameSong(std::string_view a, std::string_view b, DuplicateCriterion criterion);

}  // namespace dadaz
