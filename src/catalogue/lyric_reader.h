#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dadaz {

class FileSystem;

// Reads many lyric files fast, from several threads. Each song folder is resolved once and
// kept open; a file is opened relative to it by the name the path rules give, and only when
// no file has exactly that name is it looked up without regard to ASCII case (through the
// file system's own lookup, so the same file is found as everywhere else). A lyric search
// over 100,000 songs spends most of its time in these calls.
class LyricFileReader {
  public:
    explicit LyricFileReader(const FileSystem& fs);
    ~LyricFileReader();
    LyricFileReader(const LyricFileReader&) = delete;
    LyricFileReader& operator=(const LyricFileReader&) = delete;

    // Reads the file at `path` ("folder/name") whole into `into`; false when it is missing or
    // cannot be read. Thread-safe.
    bool read(std::string_view path, std::string& into);

  private:
    static constexpr std::size_t kMaxOpenFolders = 256;
    static constexpr int kNotKept = -2;
    // The open folder; -1 when it does not exist, kNotKept when too many are open already.
    int folderDescriptor(const std::string& folder);

    const FileSystem& fs_;
    std::mutex mutex_;
    std::unordered_map<std::string, int> folders_;  // folder as given -> open descriptor
};

}  // namespace dadaz
