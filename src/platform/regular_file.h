#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dadaz {

// A file opened for reading only when it is a regular file. It is opened without blocking
// and checked after opening, so a named pipe or a device put in a file's place can never hang
// the caller.
class RegularFile {
  public:
    enum class State { Open, CannotOpen, NotAFile };

    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    State state() const { return state_; }
    bool isOpen() const { return state_ == State::Open; }
    // The size when it was opened; the file may grow or shrink meanwhile.
    std::uint64_t size() const { return size_; }
    // What one read() gives, retried after an interruption: -1 on a failure, 0 at the end.
    ssize_t read(char* buffer, std::size_t size) const;

  private:
    int fd_ = -1;
    State state_ = State::CannotOpen;
    std::uint64_t size_ = 0;
};

}  // namespace dadaz
