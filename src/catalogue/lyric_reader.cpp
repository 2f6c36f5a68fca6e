#include "catalogue/lyric_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/filesystem.h"

namespace dadaz {

LyricFileReader::LyricFileReader(const FileSystem& fs) : fs_(fs) {}

LyricFileReader::~LyricFileReader() {
    for (const auto& [path, fd] : folders_) {
        if (fd >= 0) ::close(fd);
    }
}

LyricFileReader::Located LyricFileReader::locate(std::string_view path) {
    // The file system's own lookup (its folder indexes, no disk access once built) gives
    // the real name; the folder is opened once.
    const auto real = fs_.resolve(path);
    if (!real) return {};
    const auto slash = real->rfind('/');
    if (slash == std::string::npos) return {};
    std::lock_guard lock(mutex_);
    auto [it, added] = folders_.try_emplace(real->substr(0, slash), -1);
    if (added) it->second = ::open(it->first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (it->second < 0) return {};
    return {it->second, real->substr(slash + 1)};
}

bool LyricFileReader::read(const Located& file, std::string& into) const {
    into.clear();
    if (!file.found()) return false;
    const int fd = ::openat(file.folder, file.name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[16 * 1024];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false;
        if (got <= 0) break;
        into.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok;
}

}  // namespace dadaz
