// Reading and writing whole files through FileSystem's case-insensitive resolution.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/filesystem.h"
#include "platform/filesystem_posix.h"

namespace dadaz {

using fsdetail::childPath;

namespace {

// Reads into `buffer` what one read() gives; -1 on a failure.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Opened without blocking, so a pipe put in a file's place cannot hang a run; such files
// are refused after fstat.
class OpenFile {
  public:
    explicit OpenFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<std::string> FileSystem::readFile(std::string_view path) const {
    auto real = resolve(path);
    if (!real) return std::nullopt;
    OpenFile file(*real);
    struct stat status;
    if (file.fd() < 0 || ::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = readSome(file.fd(), buffer, sizeof buffer);
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<std::vector<std::string>> FileSystem::readLines(std::string_view path,
                                                              std::size_t maxLines) const {
    auto real = resolve(path);
    if (!real) return std::nullopt;
    OpenFile file(*real);
    struct stat status;
    if (file.fd() < 0 || ::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    fsdetail::LineSplitter splitter(lines, maxLines);
    // Small reads: a scan of a large library wants only the first lines of each file.
    char buffer[4096];
    while (!splitter.full()) {
        ssize_t got = readSome(file.fd(), buffer, sizeof buffer);
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
    fsdetail::TempFile temp(folder);
    if (!temp.ok() || !fsdetail::writeAll(temp.fd(), bytes)) return false;
    if (existed) ::fchmod(temp.fd(), existing.st_mode & 0777);
    // On disk before the name points at it, so a crash leaves the old file or the new one.
    if (::fsync(temp.fd()) != 0 || !temp.close()) return false;
    if (::rename(temp.path().c_str(), target.c_str()) != 0) return false;
    temp.commit();
    std::lock_guard lock(mutex_);
    noteEntry(folder, Entry{name, false, true, bytes.size()});
    return true;
}

}  // namespace dadaz
