#include "platform/launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace dadaz {
namespace {

// Starts `argv[0]` (searched on PATH) and returns at once. A small detached thread waits for
// that one child, so finished programs leave no zombies and no one else's child is reaped.
bool spawnDetached(const std::vector<std::string>& argv, bool quiet) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);

    // Nothing to read from us; a hidden program writes nowhere.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    // Its own session, so it lives on when we close (an installer started at closing) and a
    // Ctrl+C in our terminal does not reach it; default signal handling and an open mask.
    sigset_t noSignals;
    sigset_t allSignals;
    sigemptyset(&noSignals);
    sigfillset(&allSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = 0;
    const int result = posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) return false;

    try {
        std::thread([child] {
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the program still runs; it is reaped when we exit.
    }
    return true;
}

}  // namespace

bool SystemLauncher::openDocument(const std::string& path) {
    if (path.empty()) return false;
    // A name starting with "-" must not read as an option of xdg-open.
    const std::string target = path.front() == '-' ? "./" + path : path;
    return spawnDetached({"xdg-open", target}, true);
}

bool SystemLauncher::startProgram(const std::string& program, const std::vector<std::string>& args,
                                  bool hidden) {
    if (program.empty()) return false;
    std::vector<std::string> argv;
    argv.reserve(args.size() + 1);
    argv.push_back(program);
    argv.insert(argv.end(), args.begin(), args.end());
    return spawnDetached(argv, hidden);
}

}  // namespace dadaz
