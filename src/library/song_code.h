#pragma once

#include <string>
#include <string_view>

namespace dadaz {

// Song codes are file stems as they appear on disk (UTF-8 names on this system). A code is
// text, never a number; these helpers count characters, not bytes, so a code written to the
// players' files (code page 874, one byte a character) keeps the length measured here.

// Number of characters of a UTF-8 text.
std::size_t characterCount(std::string_view text);
// The text less its last `count` characters (empty when it has no more than that).
std::string dropLastCharacters(std::string_view text, std::size_t count);

// The code of a song file: its name less the last four characters ("12345.LYR" -> "12345").
std::string codeFromFileName(std::string_view fileName);

// True when the name's last three characters, upper-cased, are `extension` ("LYR", "MID").
bool hasExtension(std::string_view fileName, std::string_view extension);

// Whether a code may be used to build a path: not empty; no "/", "\", "..", no wildcard
// ("*", "?"), no control character; and not starting with "." (its first-character folder
// would be the folder itself). Codes read from text files must pass this before any file
// operation.
bool isSafeCode(std::string_view code);

// The players' database keeps the code in an 8-character field.
constexpr std::size_t kPlayerCodeLength = 8;
bool fitsPlayerDatabase(std::string_view code);

// The song's first-character folder: the code's first character ("12345" -> "1").
std::string firstCharacterFolder(std::string_view code);

}  // namespace dadaz
