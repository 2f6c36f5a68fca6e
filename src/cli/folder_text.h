#pragma once

#include <string>

#include "library/folders.h"

namespace dadaz {
class FileSystem;
}

// An absolute folder text without a trailing "/", as the window's folder boxes hold them.
std::string folderText(const std::string& path);

// The library folders of a command: the three folders given (all three or none), or what
// folder detection finds in the program folder. The move-to folder given wins; without one,
// given folders move to "Invalid Files" in the program folder. `programFolder` is a folder
// text already.
dadaz::Folders libraryFolders(dadaz::FileSystem& fs, const std::string& programFolder,
                              const std::string& midi, const std::string& lyric,
                              const std::string& cursor, const std::string& moveTo = {});
