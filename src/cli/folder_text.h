#pragma once

#include <string>

#include "cli/arguments.h"
#include "library/folders.h"
#include "library/session_state.h"

namespace dadaz {
class FileSystem;
class SongPaths;
}  // namespace dadaz

// An absolute folder text without a trailing "/", as the window's folder boxes hold them.
std::string folderText(const std::string& path);

// The library folders of a command: the three folders given (all three or none), or what
// folder detection finds in the program folder. The move-to folder given wins; without one,
// given folders move to "Invalid Files" in the program folder. `programFolder` is a folder
// text already.
dadaz::Folders libraryFolders(dadaz::FileSystem& fs, const std::string& programFolder,
                              const dadaz::cli::FolderOptions& given);

// CODE[@VOLUME] as the song the window would take from a result line: the volume by its name
// under the root, or by its path. False (with `error` set) when the layout does not fit it.
bool songFromArgument(const std::string& text, const dadaz::SongPaths& paths,
                      dadaz::CurrentSong& song, std::string& error);
