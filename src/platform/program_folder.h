#pragma once

#include <optional>
#include <string>

namespace dadaz {

// The name of the program's folder under the user's data folder, and of its metainfo file.
inline constexpr const char* kInstalledDataFolderName = "DADAzarEdizuda";
inline constexpr const char* kAppId = "io.github.dadazaredizuda.DADAzarEdizuda";

// True when the program in `executableFolder` was installed rather than built there: its
// folder is not writable, or it sits in a bin/ beside the share/metainfo file an install puts.
bool runsFromInstalledLocation(const std::string& executableFolder);

// The user's data folder for the program: $XDG_DATA_HOME/DADAzarEdizuda, or
// $HOME/.local/share/DADAzarEdizuda. Nothing when neither gives an absolute folder.
std::optional<std::string> userDataProgramFolder(const char* xdgDataHome, const char* home);

// The program folder when none is given: the executable's folder for a build, the user's data
// folder (created, with its parents) for an installed program. Nothing with `error` set when
// that folder cannot be had.
std::optional<std::string> defaultProgramFolder(const std::string& executableFolder,
                                                std::string& error);

}  // namespace dadaz
