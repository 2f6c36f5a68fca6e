#include "library/closing_cleanup.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace dadaz {

namespace {

std::optional<std::filesystem::path> realFolder(const FileSystem& fs, const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::string trimmed = text;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    // The text as typed first, then matched without regard to case.
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(trimmed, error);
    if (error) {
        std::optional<std::string> resolved = fs.resolve(trimmed);
        if (!resolved) return std::nullopt;
        error.clear();
        real = std::filesystem::canonical(*resolved, error);
    }
    if (error || !std::filesystem::is_directory(real, error)) return std::nullopt;
    return real;
}

}  // namespace

bool sameFolder(const FileSystem& fs, const std::string& a, const std::string& b) {
    std::optional<std::filesystem::path> realA = realFolder(fs, a);
    std::optional<std::filesystem::path> realB = realFolder(fs, b);
    return realA && realB && *realA == *realB;
}

CleanupResult removeTemporaryFiles(FileSystem& fs, const std::string& programFolder,
                                   const Folders& folders, const std::string& addSongSource) {
    // Folders may have changed since they were indexed; this decides what gets deleted.
    fs.forgetIndexes();
    CleanupResult result;
    result.songPatternsKept = sameFolder(fs, programFolder, folders.midi) ||
                              sameFolder(fs, programFolder, folders.lyric) ||
                              sameFolder(fs, programFolder, folders.cursor) ||
                              sameFolder(fs, programFolder, folders.moveTo) ||
                              sameFolder(fs, programFolder, addSongSource);
    for (const char* pattern : {"*.mid", "*.lyr", "*.cur"}) {
        if (!result.songPatternsKept)
            result.deleted += fs.deleteMatching(programFolder, pattern, true);
    }
    for (const char* pattern : {"*.kar", "*.tmp"}) {
        result.deleted += fs.deleteMatching(programFolder, pattern, true);
    }
    return result;
}

}  // namespace dadaz
