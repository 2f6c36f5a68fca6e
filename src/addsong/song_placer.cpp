#include "addsong/song_placer.h"

#include <unistd.h>

#include "library/song_code.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr const char* kJournalName = ".dadaz-add-folders";
constexpr std::string_view kTemporaryPrefix = ".dadaz-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kAddPrefix = ".dadaz-add-";

// The folder part of "folder/name"; empty when there is none.
std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The name a copy of this run is waiting to take; empty for other temporary files.
std::string placedName(const std::string& temporary) {
    const std::size_t affixes = kAddPrefix.size() + kTemporarySuffix.size();
    if (!temporary.starts_with(kAddPrefix) || temporary.size() <= affixes + 4) return {};
    return temporary.substr(kAddPrefix.size(), temporary.size() - affixes);
}

}  // namespace

std::string temporaryName(const std::string& name) {
    return std::string(kAddPrefix) + name + std::string(kTemporarySuffix);
}

// Also the file system's own copies in progress: both are only ever half made.
bool isTemporaryName(const std::string& name) {
    return name.size() > kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix);
}

SongPlacer::SongPlacer(FileSystem& fs, std::string programFolder)
    : fs_(fs), journalPath_(joinPath(programFolder, kJournalName)) {}

void SongPlacer::removeLeftovers(const Folders& folders) {
    const auto journal = fs_.readLines(journalPath_);
    if (!journal) return;
    std::set<std::string> libraryFolders;
    for (const std::string* folder : {&folders.midi, &folders.lyric, &folders.cursor}) {
        if (auto real = fs_.resolve(*folder)) libraryFolders.insert(*real);
    }
    for (const std::string& line : *journal) {
        const std::string name = line.substr(line.rfind('/') + 1);
        const auto parent = fs_.resolve(parentOf(line));
        if (!parent || !libraryFolders.count(*parent) || !isSafeCode(name)) continue;
        const std::string folder = joinPath(*parent, name);
        for (const DirEntry& file : fs_.listFiles(folder)) {
            if (!isTemporaryName(file.name)) continue;
            const std::string path = joinPath(folder, file.name);
            // Killed among a song's renames: its lyric, renamed first, is in place, and the
            // copies waiting beside it are complete. They follow it, or the song stays split.
            const std::string placed = placedName(file.name);
            if (!placed.empty() &&
                fs_.isFile(
                    joinPath(joinPath(folders.lyric, name), codeFromFileName(placed) + ".LYR")) &&
                fs_.moveFile(path, joinPath(folder, placed)))
                continue;
            fs_.deleteFile(path, true);
        }
    }
    fs_.deleteFile(journalPath_, true);
}

bool SongPlacer::note(const std::string& folder) {
    if (noted_.count(folder)) return true;
    noted_.insert(folder);
    std::string text;
    for (const std::string& each : noted_) text += each + "\n";
    if (fs_.writeFileAtomic(journalPath_, text)) return true;
    noted_.erase(folder);
    return false;
}

SongPlacer::Outcome SongPlacer::place(const std::array<File, 3>& files) {
    for (const File& file : files) {
        if (fs_.exists(joinPath(file.folder, file.name))) return Outcome::Taken;
    }
    std::array<std::string, 3> temporary;
    std::size_t copied = 0;
    auto removeTemporaries = [&] {
        for (std::size_t i = 0; i < copied; ++i) fs_.deleteFile(temporary[i], true);
    };
    for (const File& file : files) {
        // Without its folder in the journal a copy there could outlive a kill unnoticed.
        if (!note(file.folder)) {
            removeTemporaries();
            return Outcome::Failed;
        }
        temporary[copied] = joinPath(file.folder, temporaryName(file.name));
        if (!fs_.copyFile(file.from, temporary[copied])) {
            fs_.deleteFile(temporary[copied], true);
            removeTemporaries();
            return Outcome::Failed;
        }
        ++copied;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string target = joinPath(files[i].folder, files[i].name);
        if (fs_.moveFile(temporary[i], target)) continue;
        // Undo: the files placed so far are this run's own copies.
        const bool taken = fs_.exists(target);
        for (std::size_t j = 0; j < i; ++j) {
            fs_.deleteFile(joinPath(files[j].folder, files[j].name), true);
        }
        for (std::size_t j = i; j < files.size(); ++j) fs_.deleteFile(temporary[j], true);
        return taken ? Outcome::Taken : Outcome::Failed;
    }
    return Outcome::Placed;
}

void SongPlacer::finish() {
    // Our own note, cleared like a temporary: should it stay, the next start reads it and
    // finds nothing left to remove.
    if (!noted_.empty() && ::unlink(journalPath_.c_str()) == 0) fs_.forgetIndexes();
    noted_.clear();
}

}  // namespace dadaz
