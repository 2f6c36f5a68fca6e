#include "platform/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace dadaz {

bool runsFromInstalledLocation(const std::string& executableFolder) {
    if (::access(executableFolder.c_str(), W_OK) != 0) return true;
    const std::filesystem::path folder(executableFolder);
    if (folder.filename() != "bin") return false;
    const auto metainfo =
        folder.parent_path() / "share" / "metainfo" / (std::string(kAppId) + ".metainfo.xml");
    std::error_code ec;
    return std::filesystem::is_regular_file(metainfo, ec);
}

std::optional<std::string> userDataProgramFolder(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/" + kInstalledDataFolderName;
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/" + kInstalledDataFolderName;
    return std::nullopt;
}

std::optional<std::string> defaultProgramFolder(const std::string& executableFolder,
                                                std::string& error) {
    if (!runsFromInstalledLocation(executableFolder)) return executableFolder;
    auto folder = userDataProgramFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!folder) {
        error = "HOME is not set";
        return std::nullopt;
    }
    std::error_code ec;
    std::filesystem::create_directories(*folder, ec);
    if (ec || !std::filesystem::is_directory(*folder)) {
        error = *folder + ": " + (ec ? ec.message() : "not a folder");
        return std::nullopt;
    }
    return folder;
}

}  // namespace dadaz
