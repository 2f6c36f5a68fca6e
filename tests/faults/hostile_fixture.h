#pragma once

// A generated library with a sentinel folder beside it, a run context around it, and the
// checks every hostile-content test makes: nothing outside touched, no song bytes lost.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "generator/library_generator.h"
#include "library/run_context.h"
#include "platform/filesystem.h"
#include "support/answering_prompt.h"
#include "support/recording_launcher.h"
#include "support/temp_dir.h"

namespace dadaz::testing {

namespace stdfs = std::filesystem;

// Every entry below `root`, links not followed: files by a digest of their bytes and their
// modification time, links by their target, folders by name only.
inline std::map<std::string, std::string> treeOf(const std::string& root) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (auto it = stdfs::recursive_directory_iterator(root, error);
         !error && it != stdfs::recursive_directory_iterator(); it.increment(error)) {
        const std::string path = it->path().string();
        const auto status = it->symlink_status();
        if (stdfs::is_symlink(status)) {
            tree[path] = "-> " + stdfs::read_symlink(it->path()).string();
        } else if (stdfs::is_regular_file(status)) {
            struct stat info {};
            ::lstat(path.c_str(), &info);
            tree[path] = std::to_string(std::hash<std::string>{}(readBytes(path))) + " @" +
                         std::to_string(info.st_mtim.tv_sec) + "." +
                         std::to_string(info.st_mtim.tv_nsec);
        } else {
            tree[path] = "folder";
        }
    }
    return tree;
}

// Digests of the files below `root` (links not followed), each as often as it occurs.
inline std::multiset<std::size_t> contentsOf(const std::string& root) {
    std::multiset<std::size_t> contents;
    std::error_code error;
    for (auto it = stdfs::recursive_directory_iterator(root, error);
         !error && it != stdfs::recursive_directory_iterator(); it.increment(error)) {
        if (stdfs::is_regular_file(it->symlink_status()))
            contents.insert(std::hash<std::string>{}(readBytes(it->path().string())));
    }
    return contents;
}

// Sets or clears the immutable flag (root ignores permission bits, not this flag); false
// when the file system does not have it.
inline bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// Clears the flag again when the test ends, so the temporary folder can go.
struct Immutable {
    explicit Immutable(std::string p) : path(std::move(p)), set(setImmutable(path, true)) {}
    ~Immutable() {
        if (set) setImmutable(path, false);
    }
    std::string path;
    bool set;
};

// Calls a function at every progress step, for changes made in the middle of a run.
class HookedProgress : public ProgressSink {
  public:
    void progress(long done, long total, const std::string& text) override {
        if (onProgress) onProgress(done, total, text);
    }
    void status(const std::string&) override {}
    std::function<void(long, long, const std::string&)> onProgress;
};

struct CliResult {
    int exit = -1;
    std::string out;  // standard output and standard error together
};

// Runs the command-line tool with arguments (each quoted for the shell); a run that hangs is
// ended after half a minute (exit 124).
inline CliResult runCli(const std::vector<std::string>& args) {
    std::string command = std::string("timeout 30 ") + DADAZ_CLI;
    for (const std::string& arg : args) {
        std::string quoted = "'";
        for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " " + quoted + "'";
    }
    command += " 2>&1";
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// dir/lib: a small generated library (its program folder); dir/outside: the sentinel folder
// beside it; dir/Moved: the move-to folder.
struct HostileLibrary {
    explicit HostileLibrary(GeneratorLayout layout = GeneratorLayout::Separate,
                            std::size_t songs = 12)
        : lib(generateLibrary(program, {.songs = songs,
                                        .layout = layout,
                                        .newSongs = 0,
                                        .songsPerVolume = songs / 2,
                                        .extras = false})) {
        EXPECT_TRUE(lib.ok) << lib.error;
        writeBytes(outside + "/lyrics/90001.LYR", "Outside\r\nNobody\r\nC\r\n");
        writeBytes(outside + "/keep.kar", "keep");
        writeBytes(outside + "/deep/keep.mid", "MThd keep");
        stdfs::create_directory(moveTo);
        sentinel = treeOf(outside);
    }

    Folders folders() const { return {lib.midiFolder, lib.lyricFolder, lib.cursorFolder, moveTo}; }
    const GeneratedSong& song(std::size_t i) const { return lib.songs.at(i); }
    std::string volumeOf(std::size_t i) const {
        return song(i).volume.empty() ? "" : program + "/" + song(i).volume;
    }
    // CODE or CODE@VOLUME as the command line takes it.
    std::string songArgument(std::size_t i) const {
        return song(i).code + (song(i).volume.empty() ? "" : "@" + volumeOf(i));
    }
    void expectOutsideUntouched() const { EXPECT_EQ(treeOf(outside), sentinel); }
    // Song bytes in the library and the move-to folder together.
    std::multiset<std::size_t> songContents() const {
        auto all = contentsOf(program);
        all.merge(contentsOf(moveTo));
        return all;
    }

    TempDir dir;
    std::string program = dir / "lib";
    std::string outside = dir / "outside";
    std::string moveTo = dir / "Moved";
    GeneratedLibrary lib;
    std::map<std::string, std::string> sentinel;

    FileSystem fs;
    AnsweringPrompt prompt;  // Yes to every question, as the command-line tool
    HookedProgress progress;
    RecordingLauncher launcher;
    SessionState state;
    RunContext ctx{program, folders(), fs, prompt, progress, launcher, state};
};

}  // namespace dadaz::testing
