#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

// One song of the book, fields in code page 874 as SongList.txt holds them, trimmed.
struct SongBookEntry {
    std::string code;
    std::string title;
    std::string artist;
    std::string key;
};

enum class SongBookOrder { Title, Artist, Code };

// The songs of a SongList.txt text: the note and column lines skipped, separator and empty
// lines ignored.
std::vector<SongBookEntry> songBookEntries(std::string_view songListText);

// Sorts by the chosen field with the song list's own Thai collation; by title exactly as the
// song list orders its lines (title group first, then title, artist, key and code).
void orderSongBook(std::vector<SongBookEntry>& entries, SongBookOrder order);

// The field the book is ordered by.
const std::string& orderedField(const SongBookEntry& entry, SongBookOrder order);

// The heading a text is filed under (code page 874): a Thai consonant (a leading vowel files
// the text under the consonant after it), an upper-case Latin letter, "0-9" for digits, "#"
// for anything else.
std::string headingOf(std::string_view text);

}  // namespace dadaz
