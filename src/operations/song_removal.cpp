#include "operations/song_removal.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "library/song_paths.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

// The lyric goes last: a song is found (listed, searched, removed again) by its lyric, so a
// run killed among a song's files leaves nothing that the next run could not find.
constexpr SongFileKind kKinds[] = {SongFileKind::Midi, SongFileKind::Cursor, SongFileKind::Lyric};

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder a kind of song file belongs to, which its first-character folder must not leave.
std::string libraryFolder(const SongPaths& paths, SongFileKind kind) {
    if (paths.multiFolder()) return paths.root();
    switch (kind) {
        case SongFileKind::Midi:
            return paths.folders().midi;
        case SongFileKind::Lyric:
            return paths.folders().lyric;
        case SongFileKind::Cursor:
            return paths.folders().cursor;
    }
    return {};
}

// A file on its way out of the library: hidden, and under no song file's extension, so no
// scan takes it for a song.
constexpr std::string_view kLeaving = ".DELETING";

std::string leavingName(const std::string& file) {
    const auto slash = file.rfind('/');
    return file.substr(0, slash + 1) + "." + file.substr(slash + 1) + std::string(kLeaving);
}

// The song file name a hidden leaving name stood for; empty for any other name.
std::string nameBeforeLeaving(const std::string& name) {
    if (name.size() <= 1 + kLeaving.size() || name.front() != '.' ||
        !upperAscii(name).ends_with(kLeaving))
        return {};
    return name.substr(1, name.size() - 1 - kLeaving.size());
}

std::string stemOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// One song the same as another: the same files, whatever the case of the code.
std::string songKey(const CurrentSong& song) {
    return upperAscii(song.code()) + '\n' + upperAscii(song.volume());
}

}  // namespace

bool RemovalReport::allRemoved() const {
    return std::all_of(songs.begin(), songs.end(), [](const SongRemovalOutcome& s) {
        return s.result == SongRemoval::Removed;
    });
}

struct SongRemover::SongFiles {
    struct Folder {
        std::string real;
        std::vector<std::string> files;      // real paths
        std::vector<std::string> leftovers;  // hidden files an earlier delete left behind
    };
    std::vector<Folder> folders;  // the song's first-character folders holding its files
    std::size_t count() const {
        std::size_t n = 0;
        for (const Folder& folder : folders) n += folder.files.size();
        return n;
    }
};

SongRemover::SongRemover(FileSystem& fs, const SongPaths& paths) : fs_(fs), paths_(paths) {}

RemovalReport SongRemover::deleteSongs(const std::vector<CurrentSong>& songs) {
    return run(RemovalKind::Delete, songs, {});
}

RemovalReport SongRemover::moveSongs(const std::vector<CurrentSong>& songs,
                                     const std::string& moveTo) {
    return run(RemovalKind::Move, songs, moveTo);
}

void SongRemover::finishDeadDeletes() {
    if (std::exchange(deadDeletesFinished_, true)) return;
    for (const LyricFolder& lyricFolder : paths_.lyricFolders()) {
        std::vector<std::string> folders = {lyricFolder.path};
        for (SongFileKind kind : {SongFileKind::Midi, SongFileKind::Cursor}) {
            // First-character folders are named by the codes' first character.
            const std::string partner = paths_.partnerPath(kind, lyricFolder, lyricFolder.name);
            const auto real = fs_.resolve(parentOf(partner));
            // Never through a link out of the library.
            if (real && fs_.leadsInside(*real, libraryFolder(paths_, kind)))
                folders.push_back(*real);
        }
        for (const std::string& folder : folders) {
            for (const std::string& hiddenName : fs_.hiddenFiles(folder)) {
                const std::string name = nameBeforeLeaving(hiddenName);
                if (name.empty()) continue;
                // Only a delete that had hidden the lyric, which goes last, had hidden the
                // whole song: that one is finished, any other is undone.
                const std::string code = stemOf(name);
                const auto standing = fs_.filesWithStem(lyricFolder.path, code);
                const bool lyricStands = std::any_of(
                    standing.begin(), standing.end(),
                    [](const std::string& file) { return upperAscii(file).ends_with(".LYR"); });
                const std::string hidden = joinPath(folder, hiddenName);
                const std::string original = joinPath(folder, name);
                if (lyricStands && !fs_.exists(original)) {
                    fs_.moveFile(hidden, original);  // when that fails it waits for the next run
                } else {
                    fs_.deleteFile(hidden, true);
                }
            }
        }
    }
}

RemovalReport SongRemover::run(RemovalKind kind, const std::vector<CurrentSong>& songs,
                               const std::string& moveTo) {
    finishDeadDeletes();
    RemovalReport report;
    report.songs.reserve(songs.size());
    std::optional<SongRemovalOutcome> refusedAll;
    std::string realMoveTo;
    if (kind == RemovalKind::Move) {
        auto real = fs_.isFolder(moveTo) ? fs_.resolve(moveTo) : std::nullopt;
        if (!real) {
            refusedAll = SongRemovalOutcome{{}, SongRemoval::MoveToMissing, {moveTo}};
        } else if (!fs_.isWritableFolder(*real)) {
            refusedAll = SongRemovalOutcome{{}, SongRemoval::FolderLocked, {*real}};
        } else {
            realMoveTo = *real;
        }
    }
    std::unordered_map<std::string, std::size_t> handled;  // song key -> its first outcome
    for (const CurrentSong& song : songs) {
        if (refusedAll) {
            report.songs.push_back(*refusedAll);
            report.songs.back().song = song;
            continue;
        }
        const auto [first, isNew] = handled.emplace(songKey(song), report.songs.size());
        if (!isNew) {
            SongRemovalOutcome again = report.songs[first->second];
            again.song = song;
            report.songs.push_back(std::move(again));
            continue;
        }
        report.songs.push_back(removeOne(kind, song, realMoveTo, report.filesRemoved));
    }
    return report;
}

SongRemovalOutcome SongRemover::removeOne(RemovalKind kind, const CurrentSong& song,
                                          const std::string& moveTo, std::size_t& filesRemoved) {
    SongRemovalOutcome outcome{song, SongRemoval::Removed, {}};
    SongFiles files;
    outcome.result = collect(song, files, outcome.files);
    if (outcome.result != SongRemoval::Removed) return outcome;
    if (fs_.unreadableFolders() > 0) {
        outcome.result = SongRemoval::Unreadable;
        return outcome;
    }
    if (files.count() == 0) {
        deleteLeftovers(files);
        outcome.result = SongRemoval::NotFound;
        return outcome;
    }
    outcome.result = kind == RemovalKind::Delete
                         ? deleteFiles(files, outcome.files, filesRemoved)
                         : moveFiles(files, moveTo, outcome.files, filesRemoved);
    return outcome;
}

const SongRemover::FolderCheck& SongRemover::checkFolder(const std::string& realFolder,
                                                         const std::string& base) {
    for (const auto& [folder, check] : folderChecks_) {
        if (folder == realFolder) return check;
    }
    FolderCheck check;
    check.inside = fs_.leadsInside(realFolder, base);
    check.writable = check.inside && fs_.isWritableFolder(realFolder);
    return folderChecks_.emplace_back(realFolder, check).second;
}

SongRemoval SongRemover::collect(const CurrentSong& song, SongFiles& files,
                                 std::vector<std::string>& concerned) {
    for (SongFileKind kind : kKinds) {
        const std::string path = paths_.path(kind, song.code(), song.volume());
        if (path.empty()) return SongRemoval::UnsafeSong;
        const auto real = fs_.resolve(parentOf(path));
        if (!real || !fs_.isFolder(*real)) continue;  // no such folder: no files there
        const bool seen = std::any_of(files.folders.begin(), files.folders.end(),
                                      [&](const SongFiles::Folder& f) { return f.real == *real; });
        if (seen) continue;  // two folder texts naming one folder
        std::vector<std::string> found = fs_.filesWithStem(*real, song.code());
        std::vector<std::string> leftovers = fs_.filesWithStem(*real, "." + song.code());
        std::erase_if(leftovers, [](const std::string& file) {
            return !upperAscii(file).ends_with(kLeaving);
        });
        if (found.empty() && leftovers.empty()) continue;
        const FolderCheck& check = checkFolder(*real, libraryFolder(paths_, kind));
        if (!check.inside || !check.writable) {
            concerned = {*real};
            return check.inside ? SongRemoval::FolderLocked : SongRemoval::OutsideLibrary;
        }
        files.folders.push_back({*real, std::move(found), std::move(leftovers)});
    }
    return SongRemoval::Removed;
}

void SongRemover::deleteLeftovers(const SongFiles& files) {
    for (const SongFiles::Folder& folder : files.folders) {
        for (const std::string& file : folder.leftovers) fs_.deleteFile(file, true);
    }
}

SongRemoval SongRemover::deleteFiles(const SongFiles& files, std::vector<std::string>& concerned,
                                     std::size_t& filesRemoved) {
    deleteLeftovers(files);
    std::vector<std::pair<std::string, std::string>> moves;  // file, its leaving name
    for (const SongFiles::Folder& folder : files.folders) {
        for (const std::string& file : folder.files) moves.emplace_back(file, leavingName(file));
    }
    if (SongRemoval result = moveAll(moves, concerned); result != SongRemoval::Removed) {
        if (result == SongRemoval::Split) filesRemoved += concerned.size();
        return result;
    }
    filesRemoved += moves.size();
    for (const auto& [file, leaving] : moves) {
        if (!fs_.deleteFile(leaving, true)) concerned.push_back(leaving);
    }
    return concerned.empty() ? SongRemoval::Removed : SongRemoval::LeftBehind;
}

SongRemoval SongRemover::moveAll(const std::vector<std::pair<std::string, std::string>>& moves,
                                 std::vector<std::string>& concerned) {
    for (std::size_t done = 0; done < moves.size(); ++done) {
        if (fs_.moveFile(moves[done].first, moves[done].second)) continue;
        // Back where they came from, newest first.
        concerned = {moves[done].first};
        std::vector<std::string> stranded;
        while (done-- > 0) {
            if (!fs_.moveFile(moves[done].second, moves[done].first))
                stranded.push_back(moves[done].second);
        }
        if (stranded.empty()) return SongRemoval::Failed;
        concerned = std::move(stranded);
        return SongRemoval::Split;
    }
    return SongRemoval::Removed;
}

SongRemoval SongRemover::moveFiles(const SongFiles& files, const std::string& moveTo,
                                   std::vector<std::string>& concerned, std::size_t& filesRemoved) {
    // Every name is checked before the first file moves.
    std::unordered_set<std::string> names;
    std::vector<std::pair<std::string, std::string>> moves;  // from, to
    for (const SongFiles::Folder& folder : files.folders) {
        for (const std::string& file : folder.files) {
            const std::string name = nameOf(file);
            const std::string target = joinPath(moveTo, name);
            if (!names.insert(upperAscii(name)).second) {
                concerned = {file};
                return SongRemoval::NameTwice;
            }
            if (auto taken = fs_.resolve(target)) {
                concerned = {*taken};
                return SongRemoval::NameTaken;
            }
            moves.emplace_back(file, target);
        }
    }
    const SongRemoval result = moveAll(moves, concerned);
    if (result == SongRemoval::Split) filesRemoved += concerned.size();
    if (result != SongRemoval::Removed) return result;
    deleteLeftovers(files);
    filesRemoved += moves.size();
    return SongRemoval::Removed;
}

}  // namespace dadaz
