#include "addsong/add_run.h"

#include <array>
#include <set>

#include "addsong/add_texts.h"
#include "addsong/song_placer.h"
#include "library/song_code.h"
#include "library/song_paths.h"

namespace dadaz {

namespace {

using Status = AddSongResult::Status;

constexpr std::uint32_t kPaleYellow = 0xFFFFC0;
constexpr std::size_t kLeftOutShown = 10;

class AddRun {
  public:
    AddRun(RunContext& ctx, const AddSongOptions& options)
        : ctx_(ctx), options_(options), placer_(ctx.fs, ctx.programFolder) {}

    AddSongResult run();

  private:
    bool numbered() const { return options_.target != AddTarget::KeepNames; }
    // Ends the run before the copies with a message; `leave` as the window does at this step.
    AddSongResult& refuse(MessageIcon icon, const std::string& text, bool leave);
    AddSongResult& decline(bool leave);
    // A folder that cannot be listed looks empty or missing: the refusal names it instead.
    bool refuseUnlisted(bool leave);
    bool checkSource();
    bool checkTarget();
    void addSong(const DirEntry& lyric, const std::string& midi, const std::string& cursor);
    const char* prepareFolders(const std::array<std::string, 3>& folders);
    void finish();

    RunContext& ctx_;
    const AddSongOptions& options_;
    SongPlacer placer_;
    AddSongResult result_;
    std::vector<DirEntry> sourceFiles_;
    std::string pattern_;
    long long nextNumber_ = 1;
    std::set<std::string> readyFolders_;
    std::vector<std::string> songLines_;
    AddLog log_;
    std::size_t listingFailures_ = 0;  // before the run
};

AddSongResult& AddRun::refuse(MessageIcon icon, const std::string& text, bool leave) {
    ctx_.prompt.ask(icon, MessageButtons::Ok, text);
    result_.status = Status::Refused;
    result_.message = text;
    if (leave) ctx_.leaveBusy();
    return result_;
}

AddSongResult& AddRun::decline(bool leave) {
    result_.status = Status::Declined;
    if (leave) ctx_.leaveBusy();
    return result_;
}

bool AddRun::refuseUnlisted(bool leave) {
    if (ctx_.fs.listingFailures() == listingFailures_) return false;
    refuse(MessageIcon::Critical, add_text::folderUnreadable(ctx_.fs.lastUnlistedFolder()), leave);
    return true;
}

// The source must hold songs: some files, complete triples, each kind at least once.
bool AddRun::checkSource() {
    sourceFiles_ = ctx_.fs.listFiles(options_.sourceFolder);
    if (refuseUnlisted(true)) return false;
    const std::size_t n = sourceFiles_.size();
    if (n == 0) {
        refuse(MessageIcon::Exclamation, add_text::kNoFiles, true);
        return false;
    }
    if (n < 3) {
        refuse(MessageIcon::Exclamation, add_text::kIncompleteSource, true);
        return false;
    }
    if (n % 3 != 0) {
        if (ctx_.prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNo,
                            add_text::kIncompleteSongQuestion) != Answer::Yes) {
            decline(true);
            return false;
        }
        return true;
    }
    static const std::array<std::pair<const char*, const char*>, 3> kKinds{{
        {"MID", "MID หรือแฟ้ม MIDI"},
        {"LYR", "LYR หรือแฟ้ม Lyric"},
        {"CUR", "CUR หรือแฟ้ม Cursor"},
    }};
    for (const auto& [extension, kind] : kKinds) {
        bool found = false;
        for (const DirEntry& file : sourceFiles_) {
            const std::string& name = file.name;
            if (name.size() > 4 && name[name.size() - 4] == '.' && hasExtension(name, extension)) {
                found = true;
                break;
            }
        }
        if (!found) {
            refuse(MessageIcon::Exclamation, add_text::missingKind(kind), true);
            return false;
        }
    }
    return true;
}

// The new codes' folder and pattern, and the first new code must be free.
bool AddRun::checkTarget() {
    if (!numbered()) return true;
    // The prefix names the folder the songs go into: it must be one plain folder name.
    if (!isSafeCode(options_.prefix)) {
        refuse(MessageIcon::Critical, add_text::badPrefix(options_.prefix), false);
        return false;
    }
    if (!isZeroPattern(pattern_)) {
        refuse(MessageIcon::Critical, add_text::badPattern(pattern_), false);
        return false;
    }
    const std::string folder = joinPath(ctx_.folders.lyric, options_.prefix);
    const std::vector<DirEntry> files = ctx_.fs.listFiles(folder);
    // The numbering counts the folder's files: a folder read in part would reuse codes.
    if (refuseUnlisted(false)) return false;
    nextNumber_ = static_cast<long long>(files.size()) + 1;
    // The numbering takes the folder's songs to be numbered 1 to its file count.
    const std::string taken = std::to_string(nextNumber_) + ".LYR";
    for (const DirEntry& file : files) {
        if (file.name.ends_with(taken)) {
            refuse(MessageIcon::Critical, add_text::kCodeExists, false);
            return false;
        }
    }
    return true;
}

// Makes the song's three folders (lyric, MIDI, cursor) where missing; the reason the song
// cannot go there, or none.
const char* AddRun::prepareFolders(const std::array<std::string, 3>& folders) {
    const Folders& f = ctx_.folders;
    const std::array<const std::string*, 3> libraryFolders{&f.lyric, &f.midi, &f.cursor};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::string& folder = folders[i];
        if (readyFolders_.count(folder)) continue;
        if (!ctx_.fs.createFolder(folder)) return add_text::kCopyFailed;
        // Songs copied through a link out of the library would be written outside it, and no
        // song list, delete or move would reach them there.
        if (!ctx_.fs.leadsInside(folder, *libraryFolders[i])) return add_text::kFolderOutside;
        readyFolders_.insert(folder);
    }
    return nullptr;
}

void AddRun::addSong(const DirEntry& lyric, const std::string& midi, const std::string& cursor) {
    const std::string code = codeFromFileName(lyric.name);
    const Folders& f = ctx_.folders;
    std::string newCode;
    std::array<SongPlacer::File, 3> files{{
        {joinPath(options_.sourceFolder, lyric.name), {}, lyric.name},
        {midi, {}, midi.substr(midi.rfind('/') + 1)},
        {cursor, {}, cursor.substr(cursor.rfind('/') + 1)},
    }};
    std::string folderName = options_.prefix;
    if (numbered()) {
        newCode = options_.prefix + formatNumber(nextNumber_, pattern_);
        files[0].name = newCode + ".LYR";
        files[1].name = newCode + ".MID";
        files[2].name = newCode + ".CUR";
    } else {
        if (!isSafeCode(code)) {
            result_.leftOut.push_back({lyric.name, {}, add_text::kNameNotCode});
            return;
        }
        folderName = firstCharacterFolder(code);
    }
    files[0].folder = joinPath(f.lyric, folderName);
    files[1].folder = joinPath(f.midi, folderName);
    files[2].folder = joinPath(f.cursor, folderName);

    if (const char* problem = prepareFolders({files[0].folder, files[1].folder, files[2].folder})) {
        result_.leftOut.push_back({lyric.name, newCode, problem});
        return;
    }
    const SongPlacer::Outcome outcome = placer_.place(files);
    if (outcome == SongPlacer::Outcome::Taken) {
        result_.leftOut.push_back({lyric.name, newCode, add_text::kCodeTaken});
        ++nextNumber_;  // the number is in use: the next song takes the one after it
        return;
    }
    if (outcome != SongPlacer::Outcome::Placed) {
        result_.leftOut.push_back({lyric.name, newCode, add_text::kCopyFailed});
        return;
    }
    const auto lines = ctx_.fs.readLines(files[0].from, 3).value_or(std::vector<std::string>{});
    SongLineFields fields;
    if (lines.size() > 0) fields.title = lines[0];
    if (lines.size() > 1) fields.artist = lines[1];
    if (lines.size() > 2) fields.key = lines[2];
    const std::string line =
        numbered() ? numberedSongLine(code, newCode, fields) : keptSongLine(code, fields);
    songLines_.push_back(line);
    log_.append(line);
    ++result_.added;
    if (numbered()) ++nextNumber_;
}

void AddRun::finish() {
    placer_.finish();
    log_.close();
    result_.recordsWritten =
        ctx_.fs.writeFileAtomic(result_.listPath, newSongListBytes(songLines_, result_.leftOut)) &&
        log_.ok();
    ctx_.state.songsAdded = true;
    ctx_.state.songListCurrent = false;

    std::string message = add_text::finishedLine(result_.added);
    if (!result_.leftOut.empty()) {
        message +=
            "\n\n" + add_text::leftOutHeading(static_cast<long long>(result_.leftOut.size()));
        for (std::size_t i = 0; i < result_.leftOut.size() && i < kLeftOutShown; ++i) {
            message += "\n" + leftOutLine(result_.leftOut[i]);
        }
        if (result_.leftOut.size() > kLeftOutShown) message += "\n...";
    }
    if (!result_.recordsWritten) {
        message += "\n\n" + add_text::recordsNotWritten(result_.listPath, result_.logPath);
    }
    result_.message = message;
    const bool plain = result_.leftOut.empty() && result_.recordsWritten;
    result_.status = Status::Finished;
    if (ctx_.prompt.ask(plain ? MessageIcon::Information : MessageIcon::Exclamation,
                        MessageButtons::YesNo,
                        message + "\n\n" + add_text::kOpenListQuestion) == Answer::Yes) {
        ctx_.launcher.openDocument(result_.listPath);
    }
    if (options_.buildSongList &&
        ctx_.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                        add_text::kBuildSongListQuestion) == Answer::Yes) {
        options_.buildSongList();
    }
}

AddSongResult AddRun::run() {
    if (ctx_.prompt.ask(MessageIcon::Information, MessageButtons::YesNo,
                        add_text::kCheckSourceQuestion) != Answer::Yes) {
        return decline(false);
    }
    const Folders& f = ctx_.folders;
    if (isMultiFolderLayout(f))
        return refuse(MessageIcon::Critical, add_text::kMultiFolderRefusal, false);
    listingFailures_ = ctx_.fs.listingFailures();
    if (!ctx_.fs.isFolder(f.midi) || !ctx_.fs.isFolder(f.lyric) || !ctx_.fs.isFolder(f.cursor)) {
        if (refuseUnlisted(true)) return result_;
        return refuse(MessageIcon::Critical, add_text::kMissingFolders, true);
    }
    if (!ctx_.fs.isFolder(f.moveTo)) {
        if (ctx_.prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNo,
                            add_text::createMoveToQuestion(ctx_.programFolder)) != Answer::Yes) {
            return decline(true);
        }
        const std::string folder = joinPath(ctx_.programFolder, "Invalid Files");
        ctx_.fs.createFolder(folder);
        ctx_.folders.moveTo = folder;
        result_.createdMoveTo = folder;
    }
    if (!checkSource()) return result_;
    // Copies a killed run left half made would count as songs of the target folder.
    placer_.removeLeftovers(f);
    pattern_ = runDigitPattern(options_.customPattern, options_.patternBox);
    if (!checkTarget()) return result_;

    const std::string logFolder = joinPath(ctx_.programFolder, "Log");
    ctx_.fs.createFolder(logFolder);
    const std::string stamp = options_.timeStamp.empty()
                                  ? timeStamp(std::chrono::system_clock::now())
                                  : options_.timeStamp;
    result_.logPath =
        joinPath(ctx_.fs.resolve(logFolder).value_or(logFolder), "ADD" + stamp + ".txt");
    result_.listPath = joinPath(ctx_.programFolder, "NewSong.txt");
    log_.open(result_.logPath);

    const long total = static_cast<long>((sourceFiles_.size() + 1) / 3);
    long done = 0;
    ctx_.enterBusy("AddSong");
    struct Leave {
        RunContext& ctx;
        ~Leave() { ctx.leaveBusy(); }
    } leave{ctx_};
    ctx_.progress.barColour(kPaleYellow);
    ctx_.progress.progress(0, total, add_text::kProgress);

    for (const DirEntry& file : sourceFiles_) {
        if (!hasExtension(file.name, "LYR")) continue;
        const std::string stem = joinPath(options_.sourceFolder, dropLastCharacters(file.name, 4));
        const auto midi = ctx_.fs.resolve(stem + ".MID");
        const auto cursor = ctx_.fs.resolve(stem + ".CUR");
        if (!midi || !cursor || !ctx_.fs.isFile(*midi) || !ctx_.fs.isFile(*cursor)) continue;
        ctx_.pumpEvents();
        addSong(file, *midi, *cursor);
        ++done;
        ctx_.progress.progress(done, total, add_text::kProgress);
    }
    finish();
    return result_;
}

}  // namespace

AddSongResult runAddSong(RunContext& ctx, const AddSongOptions& options) {
    return AddRun(ctx, options).run();
}

}  // namespace dadaz
