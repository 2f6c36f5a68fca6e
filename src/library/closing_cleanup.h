#pragma once

#include <string>

#include "library/folders.h"
#include "platform/filesystem.h"

namespace dadaz {

struct CleanupResult {
    int deleted = 0;
    // The program folder is itself one of the library folders, so "*.mid", "*.lyr" and "*.cur"
    // there are the user's songs (or files moved out of the library) and were left alone.
    bool songPatternsKept = false;
};

// Removes the temporary copies other operations leave in the program folder at closing:
// "*.mid", "*.lyr", "*.cur", "*.kar" and "*.tmp", read-only ones too. When the program
// folder is one of the library folders (MIDI, Lyric, Cursor or move-to: a library without
// sub-folders is kept in the program folder itself), or the folder of songs waiting to be
// added, the three song patterns are skipped: those files are the user's songs.
CleanupResult removeTemporaryFiles(FileSystem& fs, const std::string& programFolder,
                                   const Folders& folders, const std::string& addSongSource = {});

// True when both texts name the same existing folder (letter case, ".", "..", links and a
// trailing "/" do not matter).
bool sameFolder(const FileSystem& fs, const std::string& a, const std::string& b);

}  // namespace dadaz
