#pragma once

#include <string>
#include <string_view>

#include "library/session_state.h"
#include "library/song_paths.h"

namespace dadaz {

// Where the files of the song a song line names lie: the code (the trimmed text before the
// first ";") and, in the multi-folder layout, the volume folder at the end of the line. Both
// are code page 874 text in the line and become UTF-8 names here. Empty when the line's code
// or volume may not build a path (SongPaths refuses unsafe codes and foreign volumes).
std::string songFileOfLine(const SongPaths& paths, SongFileKind kind, std::string_view line);

// The code of a song line as UTF-8.
std::string songCodeOfLine(std::string_view line);
// The song a line names, as the current song: its code and, in the multi-folder layout, its
// volume folder.
CurrentSong currentSongOfLine(std::string_view line, bool multiFolder);

// Code page 874 text as a UTF-8 file name; plain ASCII needs no conversion.
std::string cp874Name(std::string_view text);

}  // namespace dadaz
