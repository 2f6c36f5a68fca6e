#pragma once

#include <string>

#include "songlist/song_entry.h"

namespace dadaz {

// SongList.txt: code page 874, every line (the last one too) ended by CR LF. A note line and
// the column line come first, then one line per song in list order: code, title, artist and
// key (and in the multi-folder layout the volume folder), each but the last followed by two
// blanks and ";".
inline constexpr const char* kSongListFileName = "SongList.txt";

// The note line and the column line, with their line ends.
std::string songListHeader();
// One song line with its line end.
void appendSongListLine(std::string& out, const SongEntry& entry, bool multiFolder);

}  // namespace dadaz
