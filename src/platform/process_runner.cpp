#include "platform/process_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace dadaz {

namespace {

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void readAll(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            return;
        }
    }
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, bool captureOutput) {
    ProcessResult result;
    if (argv.empty() || argv.front().empty()) return result;
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // Close-on-exec, so a program another thread starts meanwhile does not hold the pipe
    // open and keep us from seeing its end.
    int pipeEnds[2] = {-1, -1};
    if (captureOutput && ::pipe2(pipeEnds, O_CLOEXEC) != 0) return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (captureOutput) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) ::close(pipeEnds[1]);
    if (spawned != 0) {
        if (captureOutput) ::close(pipeEnds[0]);
        return result;
    }
    result.started = true;
    if (captureOutput) {
        readAll(pipeEnds[0], result.output);
        ::close(pipeEnds[0]);
    }
    result.exitStatus = waitFor(child);
    return result;
}

std::optional<std::string> findOnPath(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + std::string(name);
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

}  // namespace dadaz
