#include "generator/library_generator.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>
#include <unordered_map>

#include "generator/library_plan.h"
#include "generator/song_text.h"

namespace dadaz {

namespace {

using gen::PlannedSong;

// Creates a new file in an open folder and writes it whole; never replaces an existing file.
bool writeNewFile(int folder, const char* name, const std::string& bytes) {
    const int fd = ::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0;
}

// Open folders by path, so writing a file looks up its name only, not the whole path.
class FolderHandles {
  public:
    FolderHandles() = default;
    FolderHandles(const FolderHandles&) = delete;
    FolderHandles& operator=(const FolderHandles&) = delete;
    ~FolderHandles() {
        for (const auto& [path, fd] : fds_) ::close(fd);
    }
    int open(const std::string& folder) {
        auto it = fds_.find(folder);
        if (it != fds_.end()) return it->second;
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) fds_.emplace(folder, fd);
        return fd;
    }

  private:
    std::unordered_map<std::string, int> fds_;
};

// True when `dir` is missing (then made, with missing parents) or an empty folder.
bool prepareTarget(const std::string& dir, std::string& error) {
    for (std::size_t slash = dir.find('/', 1); slash != std::string::npos;
         slash = dir.find('/', slash + 1))
        ::mkdir(dir.substr(0, slash).c_str(), 0755);  // failures show at the last level
    if (::mkdir(dir.c_str(), 0755) == 0) return true;
    if (errno != EEXIST) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    bool empty = true;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    ::closedir(d);
    if (!empty) error = dir + ": the folder is not empty; a library is made only in a new folder";
    return empty;
}

std::string withThousands(std::uint64_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Writes the triples of songs [first, size) with the given stride; stops at the first error.
struct SongWriter {
    SongWriter(const gen::SongTextMaker& text, std::atomic<bool>& failed, std::mutex& errorMutex,
               std::string& error)
        : text(text), failed(failed), errorMutex(errorMutex), error(error) {}

    const gen::SongTextMaker& text;
    std::atomic<bool>& failed;
    std::mutex& errorMutex;
    std::string& error;
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    FolderHandles folders;

    // Writes the songs order[begin, end) names; stops at the first error anywhere.
    void write(std::vector<PlannedSong>& songs, const std::vector<std::size_t>& order,
               std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end && !failed; ++k) {
            const std::size_t i = order[k];
            GeneratedSong& s = songs[i].song;
            const std::string lyric = gen::lyricFileBytes(songs[i], text);
            const std::string midi = gen::midiFileBytes(songs[i], &s.midiTracks);
            s.midiSize = midi.size();
            if (!put(s.lyricPath, lyric)) return;
            if (s.missing != MissingPartner::Midi && s.missing != MissingPartner::Both &&
                !put(s.midiPath, midi))
                return;
            if (s.missing != MissingPartner::Cursor && s.missing != MissingPartner::Both &&
                !put(s.cursorPath, gen::cursorFileBytes(songs[i], lyric.size())))
                return;
        }
    }

    bool put(const std::string& path, const std::string& content) {
        const std::size_t slash = path.rfind('/');
        const int folder = folders.open(path.substr(0, slash));
        if (folder < 0 || !writeNewFile(folder, path.c_str() + slash + 1, content)) {
            const std::string message = path + ": " + std::strerror(errno);
            std::lock_guard<std::mutex> lock(errorMutex);
            if (!failed.exchange(true)) error = message;
            return false;
        }
        ++files;
        bytes += content.size();
        return true;
    }
};

}  // namespace

GeneratedLibrary generateLibrary(const std::string& dir, const GeneratorOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    std::string target = dir;
    while (target.size() > 1 && target.back() == '/') target.pop_back();

    const gen::SongTextMaker text;
    gen::LibraryPlan plan = gen::planLibrary(target, options, text);
    GeneratedLibrary result = std::move(plan.summary);
    if (!prepareTarget(target, result.error)) return result;
    for (std::size_t i = 1; i < plan.folders.size(); ++i) {
        if (::mkdir(plan.folders[i].c_str(), 0755) != 0 && errno != EEXIST) {
            result.error = plan.folders[i] + ": " + std::strerror(errno);
            return result;
        }
    }

    std::atomic<bool> failed{false};
    std::mutex errorMutex;
    const std::size_t threads = static_cast<std::size_t>(std::clamp(options.threads, 1, 16));
    std::vector<std::unique_ptr<SongWriter>> writers;
    for (std::size_t t = 0; t < threads; ++t)
        writers.emplace_back(new SongWriter{text, failed, errorMutex, result.error});
    // Folder by folder: the file system then works on few folders at a time, and each thread
    // on folders of its own.
    const std::size_t n = plan.songs.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return plan.songs[a].song.lyricPath < plan.songs[b].song.lyricPath;
    });
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t)
        pool.emplace_back([&, t] {
            writers[t]->write(plan.songs, order, t * n / threads, (t + 1) * n / threads);
        });
    writers[0]->write(plan.songs, order, 0, n / threads);
    std::vector<std::size_t> newOrder(plan.newSongs.size());
    std::iota(newOrder.begin(), newOrder.end(), 0);
    writers[0]->write(plan.newSongs, newOrder, 0, newOrder.size());
    for (std::thread& th : pool) th.join();
    for (const gen::PlannedFile& f : plan.extraFiles)
        if (!failed && !writers[0]->put(f.path, f.bytes)) break;
    for (const auto& w : writers) {
        result.filesWritten += w->files;
        result.bytesWritten += w->bytes;
    }

    result.songs.reserve(plan.songs.size());
    for (PlannedSong& p : plan.songs) result.songs.push_back(std::move(p.song));
    for (PlannedSong& p : plan.newSongs) {
        GeneratedSong& s = p.song;
        result.newSongs.push_back(
            {s.code, s.lyricPath, s.midiPath, s.cursorPath, s.titleLine, s.artistLine, s.keyLine});
    }
    result.ok = !failed;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

std::string GeneratedLibrary::describe() const {
    if (!ok) return "library not made: " + error;
    const std::size_t invalid = invalidSongs.size();
    std::string out = withThousands(songs.size()) + " songs (" +
                      withThousands(songs.size() - invalid) + " valid, " + withThousands(invalid) +
                      " invalid)";
    if (layout == GeneratorLayout::Multi)
        out += " in " + std::to_string(volumes.size()) + " volume folders";
    out += ", " + std::to_string(looseMidiFiles.size()) + " loose MIDI, " +
           std::to_string(otherFiles.size() + strayFiles.size()) + " other files, " +
           std::to_string(newSongs.size()) + " new songs; " + withThousands(filesWritten) +
           " files, " + withThousands(bytesWritten / 1024) + " KiB in ";
    char secs[32];
    std::snprintf(secs, sizeof secs, "%.1f s", seconds);
    return out + secs;
}

}  // namespace dadaz
