#include "songlist/lyric_scan.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "library/lyric_file.h"
#include "library/song_code.h"
#include "platform/collation.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {
// Files a worker takes at a time: few enough that the complete prefix grows smoothly.
constexpr std::size_t kBatch = 32;
constexpr auto kWaitStep = std::chrono::milliseconds(16);
}  // namespace

struct LyricScan::Shared {
    explicit Shared(std::size_t count) : complete(count) {}
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::vector<std::atomic<bool>> complete;
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t workersRunning = 0;
};

LyricScan::LyricScan(FileSystem& fs, const SongPaths& paths, std::vector<LyricFolder> folders,
                     std::vector<ScanFile> files, ScanSettings settings)
    : fs_(fs),
      paths_(paths),
      folders_(std::move(folders)),
      files_(std::move(files)),
      settings_(settings),
      songs_(files_.size()) {}

LyricScan::~LyricScan() = default;

ShortPaths ScannedSong::shortPaths() const {
    const std::string_view all = shortPathBytes;
    return {std::string(all.substr(0, midiPathLength)),
            std::string(all.substr(midiPathLength, lyricPathLength)),
            std::string(all.substr(midiPathLength + lyricPathLength))};
}

void ScannedSong::setShortPaths(const ShortPaths& paths) {
    // Paths too long for a length byte cannot fit a record anyway.
    if (!fitsPlayerRecord(entry.code, paths)) {
        hasPlayerRecord = false;
        return;
    }
    hasPlayerRecord = true;
    shortPathBytes = paths.midi + paths.lyric + paths.cursor;
    midiPathLength = static_cast<std::uint8_t>(paths.midi.size());
    lyricPathLength = static_cast<std::uint8_t>(paths.lyric.size());
}

std::string LyricScan::code(std::size_t i) const {
    return codeFromFileName(files_[i].name);
}

void LyricScan::scanOne(std::size_t i, const ThaiCollator& collator) {
    ScannedSong& song = songs_[i];
    const LyricFolder& folder = folders_[files_[i].folder];
    const std::string& name = files_[i].name;
    const std::string diskCode = codeFromFileName(name);
    const std::string lyricPath = joinPath(folder.path, name);
    if (!isSafeCode(diskCode)) return;  // Unusable

    if (settings_.checkFiles) {
        auto midi = paths_.findPartner(SongFileKind::Midi, folder, diskCode);
        auto cursor = paths_.findPartner(SongFileKind::Cursor, folder, diskCode);
        if (!midi || !cursor) {
            song.kind = ScannedSong::Kind::Invalid;
            song.invalid = std::make_unique<InvalidTriple>(
                InvalidTriple{lyricPath, std::move(midi), std::move(cursor)});
            return;
        }
    }

    auto lines = fs_.readLines(lyricPath, settings_.checkFiles ? 4 : 3);
    auto code = nameAsData(diskCode);
    auto volume = nameAsData(folder.volume);
    if (!lines || !code || !volume || code->find(';') != std::string::npos ||
        volume->find(';') != std::string::npos) {
        return;  // Unusable
    }
    // Title, artist and key as the list holds them, before the title is cut and trimmed (a
    // NUL at its end trims like a blank). A ";" cut off with the title's remark was never
    // part of the list.
    for (std::size_t l = 0; l < std::min<std::size_t>(3, lines->size()); ++l) {
        std::string& line = (*lines)[l];
        const std::size_t listedPart = l == 0 ? line.find('(') : std::string::npos;
        if (std::string_view(line).substr(0, listedPart).find(';') != std::string_view::npos) {
            song.semicolonReplaced = true;
        }
        line = songListText(line);
    }
    LyricFields fields = lyricFieldsFromLines(*lines);
    if (settings_.checkFiles && !fields.fourthLine.empty()) {
        const FourthLineFix fix = emptyFourthLine(fs_, lyricPath);
        song.fourthLineEmptied = fix == FourthLineFix::Emptied;
        song.fourthLineKept = fix == FourthLineFix::Failed;
    }

    SongEntry& entry = song.entry;
    entry.title = std::move(fields.title);
    entry.artist = std::move(fields.artist);
    entry.key = std::move(fields.key);
    entry.code = std::move(*code);
    entry.volume = std::move(*volume);
    song.group = static_cast<std::uint8_t>(settings_.grouped ? titleGroup(entry.title) : 0);
    song.sortKey = collator.sortKey(entry.sortText());

    if (settings_.drives) {
        const auto shortPath = [&](SongFileKind kind) {
            const std::string path = paths_.path(kind, diskCode, folder.volume);
            std::string dos = shortPathAsData(fs_, *settings_.drives, path);
            // An existing file without a DOS path must not pass for a missing one.
            if (dos.empty() && !path.empty() && fs_.isFile(path)) song.withoutDosPath = true;
            return dos;
        };
        const ShortPaths paths{shortPath(SongFileKind::Midi), shortPath(SongFileKind::Lyric),
                               shortPath(SongFileKind::Cursor)};
        if (!song.withoutDosPath) song.setShortPaths(paths);
    }
    song.kind = ScannedSong::Kind::Listed;
}

void LyricScan::work(Shared& shared) {
    const ThaiCollator collator;
    for (;;) {
        const std::size_t first = shared.next.fetch_add(kBatch);
        if (first >= files_.size()) break;
        const std::size_t last = std::min(first + kBatch, files_.size());
        for (std::size_t i = first; i < last; ++i) {
            if (shared.stop.load(std::memory_order_relaxed)) break;
            scanOne(i, collator);
            shared.complete[i].store(true, std::memory_order_release);
        }
        if (shared.stop.load(std::memory_order_relaxed)) break;
    }
    std::lock_guard lock(shared.mutex);
    if (--shared.workersRunning == 0) shared.allDone.notify_all();
}

bool LyricScan::run(const std::function<bool(std::size_t)>& onWait) {
    Shared shared(files_.size());
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workerCount =
        std::clamp<std::size_t>(files_.size() / kBatch, 1, std::min(cores, 16u));
    shared.workersRunning = workerCount;
    std::vector<std::thread> workers;
    workers.reserve(workerCount);
    for (std::size_t w = 0; w < workerCount; ++w) workers.emplace_back([&] { work(shared); });

    std::size_t prefix = 0;
    bool finished = false;
    bool stopped = false;
    while (!finished) {
        {
            std::unique_lock lock(shared.mutex);
            finished = shared.allDone.wait_for(lock, kWaitStep,
                                               [&] { return shared.workersRunning == 0; });
        }
        while (prefix < files_.size() && shared.complete[prefix].load(std::memory_order_acquire))
            ++prefix;
        if (!stopped && !onWait(prefix)) {
            stopped = true;
            shared.stop = true;
        }
    }
    for (auto& worker : workers) worker.join();
    return !stopped && prefix == files_.size();
}

}  // namespace dadaz
