#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dadaz {

class FileSystem;

// Flushes a folder's entries (names made, renamed or removed in it) to disk.
bool syncFolder(const std::string& folder);

// Renames files between the folders of a renumbering plan through open folder handles: one
// name looked up per file instead of a whole path. Never replaces a file. The file system's
// indexes do not see these renames: forget them afterwards.
class FolderMover {
  public:
    FolderMover(FileSystem& fs, const std::vector<std::string>& folders);
    ~FolderMover();
    FolderMover(const FolderMover&) = delete;
    FolderMover& operator=(const FolderMover&) = delete;

    bool move(std::uint32_t from, const std::string& fromName, std::uint32_t to,
              const std::string& toName);
    // The errno of the last move that failed (EEXIST: the new name was taken).
    int lastError() const { return lastError_; }
    // Whether the exact name exists in the folder.
    bool exists(std::uint32_t folder, const std::string& name);
    // Flushes the folders renamed in since the last call.
    void syncTouched();

  private:
    int handle(std::uint32_t folder);

    FileSystem& fs_;
    const std::vector<std::string>& folders_;
    std::vector<int> handles_;  // -2 not opened yet, -1 could not be opened
    std::vector<bool> touched_;
    int opened_ = 0;
    int lastError_ = 0;
};

}  // namespace dadaz
