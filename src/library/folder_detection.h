#pragma once

#include <functional>
#include <string>

#include "library/folders.h"
#include "platform/filesystem.h"

namespace dadaz {

// The library folders found under the program folder at start, and the add-song source.
struct DetectedFolders {
    Folders folders;
    std::string addSongSource;  // program folder + "/New Song", whether it exists or not
};

// Looks at the names of the program folder's direct sub-folders (upper-cased: "MIDI", "DATA",
// "SONG", "SONGS" give the MIDI folder; "LYRIC", "LYRICS" the Lyric folder; "CURSOR",
// "CURSORS" the Cursor folder; "INVALID FILES" the move-to folder), in the order the file
// system lists them; a later match for the same folder wins. A folder found keeps its name
// as spelled on disk. Folders not found fall back to the program folder itself (MIDI, Lyric,
// Cursor) or to program folder + "/Invalid Files" (move-to). `beforeEach` runs before each
// sub-folder is looked at (the window lets its events run there).
DetectedFolders detectFolders(const FileSystem& fs, const std::string& programFolder,
                              const std::function<void()>& beforeEach = {});

}  // namespace dadaz
