#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace dadaz::testing {

// Every file under `root` by its path relative to `root`, with its bytes.
inline std::map<std::string, std::string> filesUnder(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        files[std::filesystem::relative(e.path(), root).string()] = readBytes(e.path().string());
    }
    return files;
}

inline bool fileExists(const std::string& path) {
    return std::filesystem::is_regular_file(path);
}

inline bool folderExists(const std::string& path) {
    return std::filesystem::is_directory(path);
}

inline std::string stemOf(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace dadaz::testing
