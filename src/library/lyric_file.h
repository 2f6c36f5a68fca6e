#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

class FileSystem;

// A lyric file is code page 874 text: line 1 the title (maybe followed by a remark in
// parentheses), line 2 the artist, line 3 the key, line 4 empty, then the lyric. Lines end
// with CR LF when the program writes them; reading also accepts a lone CR or LF and a last
// line without an end.

// The song list's fields of a lyric file; an empty field is a single blank.
struct LyricFields {
    std::string title;
    std::string artist;
    std::string key;
    std::string fourthLine;  // as read (empty when the file has fewer than four lines)
};

// A lyric text as the song list holds it: ";" separates the list's fields, so it becomes ",",
// and a NUL byte (which would end the players' fixed fields early) becomes a blank. Whatever
// compares lyric text with the song list applies the same rule.
std::string songListText(std::string_view text);

// The title of a title line: the text before the first "(" (or the whole line), without
// leading and trailing blanks; " " when nothing is left.
std::string titleFromLine(std::string_view line);
// Fields from the first lines of a file; missing lines count as empty. Artist and key are
// kept untrimmed.
LyricFields lyricFieldsFromLines(const std::vector<std::string>& lines);

// Reads only the first four lines. Nothing when the file cannot be read.
std::optional<LyricFields> readLyricFields(const FileSystem& fs, std::string_view path);
// Every line of the file, in order.
std::optional<std::vector<std::string>> readLyricLines(const FileSystem& fs, std::string_view path);

// The bytes of a lyric: every line followed by CR LF, the last one included.
std::string lyricBytes(const std::vector<std::string>& lines);
// Saves a lyric: the new file is written beside the old one and renamed over it, so the old
// lyric stays whole until its replacement is complete.
bool writeLyricLines(FileSystem& fs, std::string_view path, const std::vector<std::string>& lines);

enum class FourthLineFix { AlreadyEmpty, Emptied, Failed };
// Makes the fourth line empty when it is not, keeping every other line byte for byte (line
// ends become CR LF); a read-only lyric is fixed too. A file whose fourth line is empty or
// missing is left untouched.
FourthLineFix emptyFourthLine(FileSystem& fs, std::string_view path);

}  // namespace dadaz
