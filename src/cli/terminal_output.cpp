#include "cli/terminal_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace dadaz::cli {

namespace {

// What a terminal is shown for `byte`.
char shownOnTerminal(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    if (byte == '\t' || byte == '\n' || byte == '\r') return byte;
    return value < 0x20 || value == 0x7F ? '?' : byte;
}

ssize_t writeShown(void* cookie, const char* data, size_t size) {
    const int fd = static_cast<int>(reinterpret_cast<intptr_t>(cookie));
    std::string shown(data, size);
    for (char& c : shown) c = shownOnTerminal(c);
    size_t done = 0;
    while (done < shown.size()) {
        const ssize_t written = ::write(fd, shown.data() + done, shown.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        }
        done += static_cast<size_t>(written);
    }
    return static_cast<ssize_t>(size);
}

FILE* guarded(FILE* stream, int fd, int buffering) {
    if (!::isatty(fd)) return stream;
    cookie_io_functions_t functions{};
    functions.write = writeShown;
    FILE* shown = ::fopencookie(reinterpret_cast<void*>(static_cast<intptr_t>(fd)), "w", functions);
    if (!shown) return stream;
    std::setvbuf(shown, nullptr, buffering, BUFSIZ);
    return shown;
}

}  // namespace

void guardTerminalOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    stdout = guarded(stdout, STDOUT_FILENO, _IOLBF);
    stderr = guarded(stderr, STDERR_FILENO, _IONBF);
}

}  // namespace dadaz::cli
