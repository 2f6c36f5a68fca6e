#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dadaz {

class FileSystem;

// Reads many lyric files fast, from several threads: each path is resolved by the file
// system's lookup (names matched without regard to ASCII case), its folder opened once, and
// the file then opened relative to that folder. A lyric search over 100,000 songs spends most
// of its time in these calls.
class LyricFileReader {
  public:
    explicit LyricFileReader(const FileSystem& fs);
    ~LyricFileReader();
    LyricFileReader(const LyricFileReader&) = delete;
    LyricFileReader& operator=(const LyricFileReader&) = delete;

    // A file found on disk: its open folder and its real name.
    struct Located {
        int folder = -1;
        std::string name;
        bool found() const { return folder >= 0; }
    };
    // Finds `path` ("folder/name"). Thread-safe.
    Located locate(std::string_view path);
    // Reads a located file whole into `into`; false when it cannot be read. Thread-safe.
    bool read(const Located& file, std::string& into) const;

  private:
    const FileSystem& fs_;
    std::mutex mutex_;
    std::unordered_map<std::string, int> folders_;  // real folder -> open descriptor
};

}  // namespace dadaz
