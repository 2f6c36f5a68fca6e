#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

class FileSystem;
class DosDriveTable;

// List.vk2 and Tarn.vk2, the DOS karaoke program's song database: one 256-byte record per
// song (254 bytes and CR LF), code page 874. List.vk2 holds short paths with a drive letter;
// Tarn.vk2 the same records with each path's drive replaced by "..".
inline constexpr std::size_t kPlayerRecordSize = 256;
inline constexpr const char* kListFileName = "List.vk2";
inline constexpr const char* kTarnFileName = "Tarn.vk2";

// The short (DOS) paths of a song's three files; empty for a missing file.
struct ShortPaths {
    std::string midi;
    std::string lyric;
    std::string cursor;
};

// Whether a song can have a record: a code of 1 to 8 characters and short paths that fit
// their fields (61, 61 and 63 characters). Anything else would shift the record's fields.
bool fitsPlayerRecord(std::string_view code, const ShortPaths& paths);

// Appends a song's List.vk2 record. The code and the texts are code page 874; the caller
// has checked fitsPlayerRecord.
void appendPlayerRecord(std::string& list, std::string_view code, std::string_view title,
                        std::string_view artist, const ShortPaths& paths);

// Appends the List.vk2 records of the MIDI files lying directly in `midiFolder` (in listing
// order) whose names end in "MID" and whose stems have 1 to 8 characters: name field 0xFE
// and NUL, no lyric or cursor path. A file without a DOS path gets no record; returns how
// many were left out so.
long appendMidiOnlyRecords(std::string& list, const FileSystem& fs, const DosDriveTable& drives,
                           const std::string& midiFolder);

// Turns List.vk2 records into Tarn.vk2 records in place: the first two characters of each
// path field (the drive) become "..". The records from `songRecords` on are MIDI-only
// records, whose lyric and cursor fields stay all NUL.
void convertToTarnRecords(std::string& records, std::size_t songRecords);

// The drive letters the path fields of List.vk2 records use, in letter order.
std::string drivesUsed(std::string_view records);

// A short path as code page 874 bytes (names the system gives in UTF-8); empty when it
// cannot be written in the code page.
std::string shortPathAsData(const FileSystem& fs, const DosDriveTable& drives,
                            std::string_view path);

}  // namespace dadaz
