#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dadaz {

RegularFile::RegularFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return;
    if (!S_ISREG(info.st_mode)) {
        state_ = State::NotAFile;
        return;
    }
    state_ = State::Open;
    size_ = static_cast<std::uint64_t>(info.st_size);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

ssize_t RegularFile::read(char* buffer, std::size_t size) const {
    if (!isOpen()) return -1;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

}  // namespace dadaz
