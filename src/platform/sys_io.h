#pragma once

// The system calls that change the disk or list it, each first asking the fault plan: every
// file operation of the core goes through here, so tests can fail any one of them. They
// fail as the call itself would (-1 or null, errno set).

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/fault_injection.h"

namespace dadaz::sys {

using faults::FileOp;

namespace detail {
inline bool planned(FileOp op) {
    if (int error = faults::take(op)) {
        errno = error;
        return true;
    }
    return false;
}
inline bool writes(int flags) {
    return (flags & O_ACCMODE) != O_RDONLY || (flags & O_CREAT) != 0;
}
}  // namespace detail

inline int open(const char* path, int flags, mode_t mode = 0) {
    if (detail::writes(flags) && detail::planned(FileOp::Create)) return -1;
    return ::open(path, flags, mode);
}
inline int openat(int folder, const char* path, int flags, mode_t mode = 0) {
    if (detail::writes(flags) && detail::planned(FileOp::Create)) return -1;
    return ::openat(folder, path, flags, mode);
}
inline int mkdir(const char* path, mode_t mode) {
    return detail::planned(FileOp::Create) ? -1 : ::mkdir(path, mode);
}
inline ssize_t write(int fd, const void* bytes, std::size_t size) {
    return detail::planned(FileOp::Write) ? -1 : ::write(fd, bytes, size);
}
inline int fsync(int fd) {
    return detail::planned(FileOp::Flush) ? -1 : ::fsync(fd);
}
inline int fdatasync(int fd) {
    return detail::planned(FileOp::Flush) ? -1 : ::fdatasync(fd);
}
// Closes a file that was written to: where a late write error shows.
inline int closeWritten(int fd) {
    if (detail::planned(FileOp::Flush)) {
        ::close(fd);
        errno = EIO;
        return -1;
    }
    return ::close(fd);
}
inline int rename(const char* from, const char* to) {
    return detail::planned(FileOp::Rename) ? -1 : ::rename(from, to);
}
inline int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
                     unsigned flags) {
    if (detail::planned(FileOp::Rename)) return -1;
    return ::renameat2(fromFolder, from, toFolder, to, flags);
}
inline int link(const char* from, const char* to) {
    return detail::planned(FileOp::Rename) ? -1 : ::link(from, to);
}
inline int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    return detail::planned(FileOp::Rename) ? -1 : ::linkat(fromFolder, from, toFolder, to, flags);
}
inline ssize_t copyFileRange(int in, int out, std::size_t size) {
    return detail::planned(FileOp::Copy) ? -1
                                         : ::copy_file_range(in, nullptr, out, nullptr, size, 0);
}
inline int unlink(const char* path) {
    return detail::planned(FileOp::Delete) ? -1 : ::unlink(path);
}
inline int unlinkat(int folder, const char* path, int flags) {
    return detail::planned(FileOp::Delete) ? -1 : ::unlinkat(folder, path, flags);
}
inline DIR* opendir(const char* path) {
    return detail::planned(FileOp::List) ? nullptr : ::opendir(path);
}
inline DIR* fdopendir(int fd) {
    return detail::planned(FileOp::List) ? nullptr : ::fdopendir(fd);
}
inline std::FILE* fopen(const char* path, const char* mode) {
    const bool writing = mode[0] != 'r' || mode[1] == '+' || (mode[1] && mode[2] == '+');
    return writing && detail::planned(FileOp::Create) ? nullptr : std::fopen(path, mode);
}
inline std::size_t fwrite(const void* bytes, std::size_t size, std::size_t count, std::FILE* file) {
    return detail::planned(FileOp::Write) ? 0 : std::fwrite(bytes, size, count, file);
}
inline int fflush(std::FILE* file) {
    return detail::planned(FileOp::Flush) ? EOF : std::fflush(file);
}

}  // namespace dadaz::sys
