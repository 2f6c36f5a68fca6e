#include "songlist/songlist_run.h"

#include "library/forced_write.h"
#include "library/song_code.h"
#include "platform/filesystem.h"
#include "songlist/kar_run.h"
#include "songlist/kar_texts.h"
#include "songlist/player_records.h"
#include "songlist/song_entry.h"
#include "songlist/songlist_file.h"
#include "songlist/songlist_messages.h"
#include "songlist/songlist_output.h"

namespace dadaz {

namespace {

using Status = SongListResult::Status;
using Clock = std::chrono::steady_clock;
constexpr auto kPumpInterval = std::chrono::milliseconds(16);

class SongListRun {
  public:
    SongListRun(RunContext& ctx, const SongListOptions& options)
        : ctx_(ctx),
          options_(options),
          drives_(options.drives ? *options.drives : DosDriveTable(ctx.programFolder)) {}

    SongListResult execute();

  private:
    bool foldersExist() const;
    bool ensureMoveToFolder();
    bool volumeNamesWritable(const std::vector<LyricFolder>& folders,
                             const std::vector<ScanFile>& files);
    std::vector<ScanFile> collectLyricFiles(const SongPaths& paths,
                                            std::vector<LyricFolder>& folders);
    bool scan(LyricScan& lyricScan);
    void takeScanned(LyricScan& lyricScan, std::size_t i);
    void moveInvalidSong(const InvalidTriple& files);
    bool write(LyricScan& lyricScan);
    void finishKar();
    void finishWithMessages();
    void showScanProgress(const std::string& code);
    void critical(const std::string& text);

    RunContext& ctx_;
    const SongListOptions& options_;
    DosDriveTable drives_;
    SongListResult result_;
    Clock::time_point start_;
    long done_ = 0;
    long lyricFiles_ = 0;  // the scan's true total
    std::string lastCode_;
    std::string moveToReal_;
    std::optional<KarRun> kar_;
    const SongPaths* paths_ = nullptr;
};

bool SongListRun::foldersExist() const {
    const Folders& f = ctx_.folders;
    return ctx_.fs.isFolder(f.midi) && ctx_.fs.isFolder(f.lyric) && ctx_.fs.isFolder(f.cursor);
}

void SongListRun::critical(const std::string& text) {
    result_.message = text;
    ctx_.prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text);
}

bool SongListRun::ensureMoveToFolder() {
    if (ctx_.fs.isFolder(ctx_.folders.moveTo)) return true;
    const Answer answer = ctx_.prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNo,
                                          songlist_text::createMoveToQuestion(ctx_.programFolder));
    if (answer != Answer::Yes) {
        result_.status = Status::MoveToDeclined;
        return false;
    }
    const std::string folder = joinPath(ctx_.programFolder, "Invalid Files");
    if (!ctx_.fs.createFolder(folder)) {
        result_.status = Status::MoveToDeclined;
        critical(songlist_text::moveToNotCreated(folder));
        return false;
    }
    ctx_.folders.moveTo = folder;
    result_.createdMoveTo = folder;
    return true;
}

std::vector<ScanFile> SongListRun::collectLyricFiles(const SongPaths& paths,
                                                     std::vector<LyricFolder>& folders) {
    // One listing per folder gives both the count (every file) and the lyric files.
    std::vector<ScanFile> files;
    folders = paths.lyricFolders();
    for (std::uint32_t f = 0; f < folders.size(); ++f) {
        for (DirEntry& entry : ctx_.fs.listFiles(folders[f].path)) {
            ++result_.countedFiles;
            if (!entry.hidden && hasExtension(entry.name, ".LYR")) {
                files.push_back({f, std::move(entry.name)});
            }
        }
    }
    return files;
}

bool SongListRun::volumeNamesWritable(const std::vector<LyricFolder>& folders,
                                      const std::vector<ScanFile>& files) {
    // Every song line names its volume; a volume whose path the code page cannot hold
    // would leave all its songs out of the list.
    std::vector<bool> checked(folders.size());
    for (const ScanFile& file : files) {
        if (checked[file.folder]) continue;
        checked[file.folder] = true;
        const std::string& volume = folders[file.folder].volume;
        if (nameAsData(volume)) continue;
        // Name the outermost folder at fault: the one the user has to rename.
        std::string folder = volume;
        for (std::size_t end = volume.find('/', 1); end != std::string::npos;
             end = volume.find('/', end + 1)) {
            if (!nameAsData(volume.substr(0, end))) {
                folder = volume.substr(0, end);
                break;
            }
        }
        result_.status = Status::VolumeNameUnwritable;
        critical(songlist_text::folderNameUnwritable(folder));
        return false;
    }
    return true;
}

void SongListRun::showScanProgress(const std::string& code) {
    ctx_.progress.progress(done_, lyricFiles_,
                           kar_ ? kar_text::kProgress : songlist_text::kScanProgress);
    ctx_.progress.status(songlist_text::statusLabel(code, done_, lyricFiles_, ctx_.now() - start_));
}

void SongListRun::moveInvalidSong(const InvalidTriple& triple) {
    // MIDI, cursor, lyric; a file already present in the move-to folder stays where it is.
    // The lyric goes last: the next run finds the song by it, so a run killed among these
    // moves leaves nothing of the song that the next run would not move as well.
    const std::optional<std::string> files[] = {triple.midiPath, triple.cursorPath,
                                                triple.lyricPath};
    for (const auto& from : files) {
        if (!from) continue;
        const std::string name = from->substr(from->rfind('/') + 1);
        if (ctx_.fs.moveFile(*from, joinPath(moveToReal_, name))) ++result_.filesMoved;
    }
}

void SongListRun::takeScanned(LyricScan& lyricScan, std::size_t i) {
    const ScannedSong& song = lyricScan.song(i);
    switch (song.kind) {
        case ScannedSong::Kind::Invalid:
            moveInvalidSong(*song.invalid);
            break;
        case ScannedSong::Kind::Listed:
            ++result_.listedSongs;
            if (song.semicolonReplaced) ++result_.semicolonsReplaced;
            if (song.fourthLineEmptied) ++result_.fourthLinesEmptied;
            if (options_.checkFiles && options_.onValidTriple) {
                options_.onValidTriple(lyricScan.folderOf(i), song);
            }
            if (kar_) kar_->convert(*paths_, lyricScan.folderOf(i), lyricScan.file(i).name);
            break;
        case ScannedSong::Kind::Unusable:
            ++result_.notListed;
            if (kar_) kar_->notConvertible(lyricScan.file(i).name);
            break;
    }
    ++done_;
    lastCode_ = lyricScan.code(i);
}

bool SongListRun::scan(LyricScan& lyricScan) {
    std::size_t taken = 0;
    const bool complete = lyricScan.run([&](std::size_t prefix) {
        // Moves and the hook run here, in scan order, whatever order the workers finish in.
        while (taken < prefix) takeScanned(lyricScan, taken++);
        showScanProgress(lastCode_);
        ctx_.pumpEvents();
        return !ctx_.state.stopRequested.load();
    });
    result_.scannedFiles = done_;
    return complete && !ctx_.state.stopRequested.load();
}

bool SongListRun::write(LyricScan& lyricScan) {
    SessionState& state = ctx_.state;
    const bool withDatabase = !state.catalogueRequested && !state.duplicateSearchActive;
    if (withDatabase) {
        result_.databaseFolder =
            options_.databaseFolder.empty() ? chooseDatabaseFolder(ctx_) : options_.databaseFolder;
    }
    const std::vector<std::size_t> order = songListOrder(lyricScan);

    // The writing bar runs over the files looked at, the label keeps the scan's counts.
    const long total = done_;
    const std::string label =
        songlist_text::statusLabel(lastCode_, done_, lyricFiles_, Clock::duration::zero());
    const std::string labelHead =
        label.substr(0, label.rfind("ใช้เวลา ") + std::string("ใช้เวลา ").size());
    auto lastPump = ctx_.now();
    auto report = [&](long written) {
        const auto now = ctx_.now();
        if (now - lastPump < kPumpInterval && written != total) return;
        lastPump = now;
        ctx_.progress.progress(written, total, songlist_text::kWriteProgress);
        ctx_.progress.status(labelHead + songlist_text::formatElapsed(now - start_));
        ctx_.pumpEvents();
    };
    OutputFiles files = buildOutputFiles(lyricScan, order, result_.multiFolder, withDatabase,
                                         ctx_.fs, drives_, ctx_.folders.midi, report);
    result_.withoutPlayerRecord = files.withoutPlayerRecord;
    result_.withoutDosPath = files.withoutDosPath;
    for (const char letter : drivesUsed(files.records)) {
        result_.drivesUsed.emplace(letter, drives_.drives().at(letter));
    }

    if (!writeFileForced(ctx_.fs, joinPath(ctx_.programFolder, kSongListFileName),
                         files.songList)) {
        result_.status = Status::WriteFailed;
        critical(songlist_text::writeFailed(kSongListFileName, ctx_.programFolder));
        return false;
    }
    files.songList = {};
    if (withDatabase) {
        const std::string failed = writePlayerDatabase(ctx_.fs, result_.databaseFolder, files);
        if (!failed.empty()) {
            result_.status = Status::WriteFailed;
            critical(songlist_text::writeFailed(failed, result_.databaseFolder));
            return true;  // SongList.txt is new all the same
        }
        result_.databaseWritten = true;
    }
    result_.status = Status::Written;
    return true;
}

void SongListRun::finishKar() {
    const KarOutcome outcome = kar_->finish(false);
    result_.karFolder = kar_->karFolder();
    result_.karWritten = static_cast<long>(outcome.written);
    result_.karNotWritten = static_cast<long>(outcome.notWritten.size());
    result_.karLog = kar_->logPath();
    if (outcome.dropped > 0) {
        SessionState& state = ctx_.state;
        state.stopRequested = false;
        state.duplicateSearchActive = false;
        state.catalogueRequested = false;
        result_.status = Status::Stopped;
        return;
    }
    result_.status = Status::KarFilesMade;
    result_.message = kar_->message();
}

void SongListRun::finishWithMessages() {
    songlist_text::ClosingFacts facts;
    facts.databaseFolder = result_.databaseFolder;
    facts.programFolder = ctx_.programFolder;
    if (result_.filesMoved > 0) facts.moveToFolder = ctx_.folders.moveTo;
    facts.drives = result_.drivesUsed;
    facts.withoutPlayerRecord = result_.withoutPlayerRecord;
    facts.withoutDosPath = result_.withoutDosPath;
    facts.semicolonsReplaced = result_.semicolonsReplaced;
    facts.notListed = result_.notListed;
    result_.message = songlist_text::closingMessage(facts);
    ctx_.prompt.inform(result_.message);
    if (ctx_.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                        songlist_text::kOpenSongListQuestion) == Answer::Yes) {
        ctx_.launcher.openDocument(joinPath(ctx_.programFolder, kSongListFileName));
    }
}

SongListResult SongListRun::execute() {
    SessionState& state = ctx_.state;
    // The library may have changed through other programs since the folders were last read.
    ctx_.fs.forgetIndexes();
    drives_.forgetShortNames();
    result_.multiFolder = isMultiFolderLayout(ctx_.folders);
    if (!foldersExist()) {
        result_.status = Status::MissingFolders;
        critical(songlist_text::kMissingFolders);
        return result_;
    }
    if (!ensureMoveToFolder()) return result_;
    moveToReal_ = ctx_.fs.resolve(ctx_.folders.moveTo).value_or(ctx_.folders.moveTo);
    const bool withDatabase = !state.catalogueRequested && !state.duplicateSearchActive;
    if (withDatabase) {
        drives_.mapFolderHolding(ctx_.fs,
                                 {ctx_.folders.midi, ctx_.folders.lyric, ctx_.folders.cursor});
    }

    start_ = ctx_.now();
    ctx_.enterBusy("Lister");
    const SongPaths paths(ctx_.fs, ctx_.folders);
    std::vector<LyricFolder> folders;
    std::vector<ScanFile> files = collectLyricFiles(paths, folders);
    lyricFiles_ = static_cast<long>(files.size());
    if (!volumeNamesWritable(folders, files)) return result_;
    paths_ = &paths;
    if (options_.karMode && options_.checkFiles) {
        kar_.emplace(ctx_, options_.karFolder);
        if (!kar_->prepare()) {
            result_.status = Status::KarNotStarted;
            result_.message = kar_->message();
            return result_;
        }
    }

    ScanSettings settings;
    settings.checkFiles = options_.checkFiles;
    settings.grouped = result_.countedFiles >= kGroupedListThreshold;
    settings.drives = withDatabase ? &drives_ : nullptr;
    LyricScan lyricScan(ctx_.fs, paths, std::move(folders), std::move(files), settings);

    if (!scan(lyricScan)) {
        // Conversions already started finish before the run ends; the rest are dropped.
        if (kar_) kar_->finish(true);
        state.stopRequested = false;
        state.duplicateSearchActive = false;
        state.catalogueRequested = false;
        result_.status = Status::Stopped;
        return result_;
    }
    if (kar_) {
        finishKar();
        return result_;
    }
    if (lyricFiles_ > 0 && result_.listedSongs == 0) {
        // An empty list would replace a good one, as if the library were gone.
        result_.status = Status::NothingListed;
        songlist_text::ClosingFacts facts;
        facts.notListed = result_.notListed;
        if (result_.filesMoved > 0) facts.moveToFolder = ctx_.folders.moveTo;
        critical(songlist_text::nothingListed(lyricFiles_, facts));
        return result_;
    }
    if (!write(lyricScan)) return result_;

    state.songListCurrent = true;
    state.songsRemoved = false;
    state.songsRenamed = false;
    state.songsAdded = false;
    state.catalogueLoaded = false;
    if (withDatabase && result_.status == Status::Written) finishWithMessages();
    return result_;
}

}  // namespace

SongListResult runSongList(RunContext& ctx, const SongListOptions& options) {
    // Every way out leaves the busy state (also before it was entered, which changes
    // nothing); the run's lists go with the run.
    struct LeaveBusy {
        RunContext& ctx;
        ~LeaveBusy() { ctx.leaveBusy(); }
    } leaveBusy{ctx};
    SongListRun run(ctx, options);
    return run.execute();
}

}  // namespace dadaz
