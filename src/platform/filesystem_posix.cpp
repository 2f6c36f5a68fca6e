#include "platform/filesystem_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <thread>
#include <utility>
#include "platform/sys_io.h"

namespace dadaz::fsdetail {

std::string childPath(const std::string& folder, std::string_view name) {
    if (folder == ".") return std::string(name);
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

namespace {

constexpr std::string_view kTempPrefix = ".dadaz-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kSuffixDigits = 16;

bool isTempName(std::string_view name) {
    if (name.size() != kTempPrefix.size() + kSuffixDigits + kTempSuffix.size() ||
        !name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix))
        return false;
    const std::string_view digits = name.substr(kTempPrefix.size(), kSuffixDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string randomSuffix() {
    thread_local std::mt19937_64 generator{
        std::random_device{}() ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
        std::hash<std::thread::id>{}(std::this_thread::get_id())};
    static const char digits[] = "0123456789abcdef";
    std::uint64_t value = generator();
    std::string text(kSuffixDigits, '0');
    for (char& c : text) {
        c = digits[value & 15];
        value >>= 4;
    }
    return text;
}

}  // namespace

TempFile::TempFile(const std::string& folder) {
    // Hidden and ending in ".tmp", so a copy left by a crash is never taken for a song.
    for (int attempt = 0; attempt < 32 && fd_ < 0; ++attempt) {
        path_ =
            childPath(folder, std::string(kTempPrefix) + randomSuffix() + std::string(kTempSuffix));
        fd_ = sys::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) path_.clear();
    // Held until the file is closed, so that no other run takes it for a dead run's leftover.
    if (fd_ >= 0) ::flock(fd_, LOCK_EX | LOCK_NB);
}

std::vector<std::string> removeStaleTemporaries(const std::string& folder) {
    std::vector<std::string> removed;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return removed;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTempName(entry->d_name)) continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat status;
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(dirFd, entry->d_name, 0) == 0) {
            removed.emplace_back(entry->d_name);
        }
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

std::vector<std::string> hiddenFileNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = sys::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() < 2 || name.front() != '.' || name == "..") continue;
        struct stat status;
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode))
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

TempFile::~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
}

bool TempFile::close() {
    int fd = std::exchange(fd_, -1);
    return fd >= 0 && sys::closeWritten(fd) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = sys::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool copyData(int in, int out) {
    bool copiedAny = false;
    for (;;) {
        ssize_t copied = sys::copyFileRange(in, out, 1 << 30);
        if (copied == 0) return true;
        if (copied > 0) {
            copiedAny = true;
            continue;
        }
        if (errno == EINTR) continue;
        // Not offered between these files (other file systems, old kernels): copy by hand.
        if (copiedAny || (errno != EXDEV && errno != ENOSYS && errno != EINVAL &&
                          errno != EOPNOTSUPP && errno != EPERM)) {
            return false;
        }
        break;
    }
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(out, std::string_view(buffer, static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

int renameNoReplace(const std::string& from, const std::string& to) {
    if (sys::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    int error = errno;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) return error;
    // link() refuses an existing target as RENAME_NOREPLACE does.
    if (sys::link(from.c_str(), to.c_str()) == 0) {
        if (sys::unlink(from.c_str()) == 0) return 0;
        error = errno;
        ::unlink(to.c_str());
        return error;
    }
    error = errno;
    if (error != EPERM && error != EOPNOTSUPP && error != EMLINK && error != ENOSYS) {
        return error;
    }
    // No hard links here (FAT drives, folders): check, then rename.
    struct stat status;
    if (::lstat(to.c_str(), &status) == 0) return EEXIST;
    if (errno != ENOENT) return errno;
    return sys::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

namespace {

bool removeTreeAt(int parentFd, const std::string& name) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(parentFd, name.c_str(), flags);
    if (fd < 0 && errno == EACCES) {
        ::fchmodat(parentFd, name.c_str(), S_IRWXU, 0);
        fd = ::openat(parentFd, name.c_str(), flags);
    }
    if (fd < 0) {
        if (errno == ENOTDIR || errno == ELOOP)
            return sys::unlinkat(parentFd, name.c_str(), 0) == 0;
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) == 0 && (status.st_mode & S_IRWXU) != S_IRWXU) {
        ::fchmod(fd, status.st_mode | S_IRWXU);  // a read-only folder must give up its files
    }
    DIR* dir = sys::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    // Read the whole folder before removing anything from it.
    std::vector<std::pair<std::string, bool>> children;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view child = entry->d_name;
        if (child == "." || child == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN &&
            ::fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
            isFolder = S_ISDIR(status.st_mode);
        }
        children.emplace_back(child, isFolder);
    }
    bool removedAll = true;
    for (const auto& [child, isFolder] : children) {
        bool removed =
            isFolder ? removeTreeAt(fd, child) : sys::unlinkat(fd, child.c_str(), 0) == 0;
        removedAll = removed && removedAll;
    }
    ::closedir(dir);
    return removedAll && sys::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace

bool removeTree(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::string parent = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return false;
    int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) return false;
    bool removed = removeTreeAt(parentFd, name);
    ::close(parentFd);
    return removed;
}

void LineSplitter::feed(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size() && !full()) {
        if (afterCR_) {
            afterCR_ = false;
            if (bytes[at] == '\n') {
                ++at;
                continue;
            }
        }
        std::size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            current_.append(bytes.substr(at));
            return;
        }
        current_.append(bytes.substr(at, end - at));
        afterCR_ = bytes[end] == '\r';
        endLine();
        at = end + 1;
    }
}

void LineSplitter::finish() {
    if (!current_.empty() && !full()) endLine();
}

void LineSplitter::endLine() {
    lines_.push_back(std::move(current_));
    current_.clear();
}

}  // namespace dadaz::fsdetail
