#include "renumber/sync_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/filesystem.h"
#include "platform/sys_io.h"

namespace dadaz {

namespace {

// Folder handles kept open at once; a library with more first-character folders uses whole
// paths for the rest.
constexpr int kMaxHandles = 400;

int renameNoReplace(int fromDir, const char* from, int toDir, const char* to) {
    if (sys::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
    // A file system without the flag: a hard link fails when the name is taken.
    if (sys::linkat(fromDir, from, toDir, to, 0) != 0) return errno;
    return sys::unlinkat(fromDir, from, 0) == 0 ? 0 : errno;
}

}  // namespace

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = sys::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

FolderMover::FolderMover(FileSystem& fs, const std::vector<std::string>& folders)
    : fs_(fs), folders_(folders), handles_(folders.size(), -2), touched_(folders.size(), false) {}

FolderMover::~FolderMover() {
    for (int fd : handles_)
        if (fd >= 0) ::close(fd);
}

int FolderMover::handle(std::uint32_t folder) {
    int& fd = handles_[folder];
    if (fd == -2) {
        fd = opened_ < kMaxHandles
                 ? ::open(folders_[folder].c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)
                 : -1;
        if (fd >= 0) ++opened_;
    }
    return fd;
}

bool FolderMover::move(std::uint32_t from, const std::string& fromName, std::uint32_t to,
                       const std::string& toName) {
    if (from == to && fromName == toName) return exists(from, fromName);
    const int fromDir = handle(from);
    const int toDir = handle(to);
    int error = 0;
    if (fromDir >= 0 && toDir >= 0) {
        error = renameNoReplace(fromDir, fromName.c_str(), toDir, toName.c_str());
    } else {
        error = renameNoReplace(AT_FDCWD, joinPath(folders_[from], fromName).c_str(), AT_FDCWD,
                                joinPath(folders_[to], toName).c_str());
    }
    // The move-to folder may lie on another disk: the file system layer copies across.
    if (error == EXDEV) {
        error = fs_.moveFile(joinPath(folders_[from], fromName), joinPath(folders_[to], toName))
                    ? 0
                    : EXDEV;
    }
    if (error != 0) {
        lastError_ = error;
        return false;
    }
    touched_[from] = true;
    touched_[to] = true;
    return true;
}

bool FolderMover::exists(std::uint32_t folder, const std::string& name) {
    struct stat status;
    const int dir = handle(folder);
    if (dir >= 0) return ::fstatat(dir, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    return ::lstat(joinPath(folders_[folder], name).c_str(), &status) == 0;
}

void FolderMover::syncTouched() {
    for (std::size_t i = 0; i < touched_.size(); ++i) {
        if (!touched_[i]) continue;
        syncFolder(folders_[i]);
        touched_[i] = false;
    }
}

}  // namespace dadaz
