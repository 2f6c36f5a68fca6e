#include "catalogue/lyric_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/filesystem.h"

namespace dadaz {

namespace {

bool readWhole(int fd, std::string& into) {
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        into.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

LyricFileReader::LyricFileReader(const FileSystem& fs) : fs_(fs) {}

LyricFileReader::~LyricFileReader() {
    for (const auto& [folder, fd] : folders_) {
        if (fd >= 0) ::close(fd);
    }
}

int LyricFileReader::folderDescriptor(const std::string& folder) {
    std::lock_guard lock(mutex_);
    // A library of many volumes must not use up the process's descriptors.
    if (folders_.size() >= kMaxOpenFolders && !folders_.contains(folder)) return kNotKept;
    auto [it, added] = folders_.try_emplace(folder, -1);
    if (added) {
        if (const auto real = fs_.resolve(folder); real && fs_.isFolder(*real)) {
            it->second = ::open(real->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }
    }
    return it->second;
}

bool LyricFileReader::read(std::string_view path, std::string& into) {
    into.clear();
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return false;
    const int folder = folderDescriptor(std::string(path.substr(0, slash)));
    if (folder == kNotKept) {
        const auto real = fs_.resolve(path);
        const int fd = real ? ::open(real->c_str(), O_RDONLY | O_CLOEXEC) : -1;
        if (fd < 0) return false;
        const bool ok = readWhole(fd, into);
        ::close(fd);
        return ok;
    }
    if (folder < 0) return false;
    std::string name(path.substr(slash + 1));
    int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        // The name on disk may differ in case.
        const auto real = fs_.resolve(path);
        if (!real) return false;
        name = real->substr(real->rfind('/') + 1);
        fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) return false;
    const bool ok = readWhole(fd, into);
    ::close(fd);
    return ok;
}

}  // namespace dadaz
