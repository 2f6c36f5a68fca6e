// Reading and writing whole files through FileSystem's case-insensitive resolution.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/filesystem.h"
#include "platform/filesystem_posix.h"
#include "platform/regular_file.h"
#include "platform/sys_io.h"

namespace dadaz {

using fsdetail::childPath;

std::optional<std::string> FileSystem::readFile(std::string_view path) const {
    auto real = resolve(path);
    if (!real) return std::nullopt;
    RegularFile file(*real);
    if (!file.isOpen()) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = file.read(buffer, sizeof buffer);
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<std::vector<std::string>> FileSystem::readLines(std::string_view path,
                                                              std::size_t maxLines) const {
    auto real = resolve(path);
    if (!real) return std::nullopt;
    RegularFile file(*real);
    if (!file.isOpen()) return std::nullopt;
    std::vector<std::string> lines;
    fsdetail::LineSplitter splitter(lines, maxLines);
    // Small reads: a scan of a large library wants only the first lines of each file.
    char buffer[4096];
    while (!splitter.full()) {
        ssize_t got = file.read(buffer, sizeof buffer);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        splitter.feed(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
    splitter.finish();
    return lines;
}

bool FileSystem::writeFileAtomic(std::string_view path, std::string_view bytes) {
    std::string folder, name;
    {
        std::lock_guard lock(mutex_);
        auto located = locate(path);
        if (!located || located->isDotDot || (located->entry && located->entry->isFolder)) {
            return false;
        }
        folder = located->folder;
        name = located->name;  // an existing name in another case is the one written
    }
    const std::string target = childPath(folder, name);
    struct stat existing;
    bool existed = ::stat(target.c_str(), &existing) == 0;
    if (existed && (!S_ISREG(existing.st_mode) || (existing.st_mode & S_IWUSR) == 0)) {
        return false;  // a read-only file stays as it is
    }
    {
        std::lock_guard lock(mutex_);
        removeStaleTemporaries(folder);
    }
    fsdetail::TempFile temp(folder);
    if (!temp.ok() || !fsdetail::writeAll(temp.fd(), bytes)) return false;
    if (existed) ::fchmod(temp.fd(), existing.st_mode & 0777);
    // On disk before the name points at it, so a crash leaves the old file or the new one.
    if (sys::fsync(temp.fd()) != 0 || !temp.close()) return false;
    if (sys::rename(temp.path().c_str(), target.c_str()) != 0) return false;
    temp.commit();
    std::lock_guard lock(mutex_);
    noteEntry(folder, Entry{name, false, true, bytes.size()});
    return true;
}

}  // namespace dadaz
