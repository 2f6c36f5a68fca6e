#include "songlist/songlist_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "library/forced_write.h"
#include "library/song_code.h"
#include "platform/filesystem.h"
#include "platform/sys_io.h"
#include "songlist/player_records.h"
#include "songlist/songlist_file.h"
#include "songlist/songlist_messages.h"

namespace dadaz {

std::vector<std::size_t> songListOrder(LyricScan& scan) {
    std::vector<std::size_t> order;
    order.reserve(scan.size());
    for (std::size_t i = 0; i < scan.size(); ++i) {
        if (scan.song(i).kind == ScannedSong::Kind::Listed) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const ScannedSong& left = scan.song(a);
        const ScannedSong& right = scan.song(b);
        if (left.group != right.group) return left.group < right.group;
        if (const int c = left.sortKey.compare(right.sortKey); c != 0) return c < 0;
        return a < b;
    });
    return order;
}

namespace {

// Whether `folder` is `programFolder` or lies inside it, names compared without regard to
// case. A mere common beginning ("/k/Prog2" and "/k/Prog") does not count.
bool liesInFolder(const std::string& folder, const std::string& programFolder) {
    if (programFolder.empty() || folder.size() < programFolder.size()) return false;
    if (upperAscii(folder.substr(0, programFolder.size())) != upperAscii(programFolder)) {
        return false;
    }
    return folder.size() == programFolder.size() || folder[programFolder.size()] == '/' ||
           programFolder.back() == '/';
}

}  // namespace

std::string chooseDatabaseFolder(RunContext& ctx) {
    if (liesInFolder(ctx.folders.midi, ctx.programFolder)) return ctx.programFolder;
    ctx.prompt.inform(songlist_text::kDatabaseFolderNotice);
    for (;;) {
        std::string chosen =
            ctx.prompt.pickFolder(ctx.programFolder, songlist_text::kDatabaseFolderPickerTitle);
        if (!chosen.empty() && ctx.fs.isFolder(chosen)) return chosen;
    }
}

OutputFiles buildOutputFiles(LyricScan& scan, const std::vector<std::size_t>& order,
                             bool multiFolder, bool withDatabase, const FileSystem& fs,
                             const DosDriveTable& drives, const std::string& midiFolder,
                             const std::function<void(long)>& afterEntry) {
    OutputFiles out;
    out.songList = songListHeader();
    out.songList.reserve(out.songList.size() + order.size() * 64);
    if (withDatabase) out.records.reserve(order.size() * kPlayerRecordSize);
    long done = 0;
    for (std::size_t i : order) {
        const ScannedSong& song = scan.song(i);
        appendSongListLine(out.songList, song.entry, multiFolder);
        if (withDatabase) {
            if (song.hasPlayerRecord) {
                appendPlayerRecord(out.records, song.entry.code, song.entry.title,
                                   song.entry.artist, song.shortPaths());
                ++out.songRecords;
            } else if (song.withoutDosPath) {
                ++out.withoutDosPath;
            } else {
                ++out.withoutPlayerRecord;
            }
        }
        afterEntry(++done);
    }
    if (withDatabase) {
        out.withoutDosPath += appendMidiOnlyRecords(out.records, fs, drives, midiFolder);
    }
    return out;
}

std::string writePlayerDatabase(FileSystem& fs, const std::string& folderText,
                                const OutputFiles& files, bool* othersLeft) {
    const std::string folder = fs.resolve(folderText).value_or(folderText);
    std::string tarn = files.records;
    convertToTarnRecords(tarn, files.songRecords);
    struct Target {
        const char* name;
        std::string_view bytes;
        std::string path;    // the existing file in whatever case, or the name as written
        std::string staged;  // the complete new file beside it
    };
    Target targets[] = {{kListFileName, files.records, {}, {}}, {kTarnFileName, tarn, {}, {}}};
    auto dropStaged = [&] {
        for (const Target& target : targets) {
            if (!target.staged.empty()) ::unlink(target.staged.c_str());
        }
        fs.forgetIndexes();
    };
    for (Target& target : targets) {
        const std::string path = joinPath(folder, target.name);
        target.path = fs.resolve(path).value_or(path);
        const std::string staged = joinPath(folder, std::string(".") + target.name + ".new");
        if (fs.isFolder(target.path) || !writeFileForced(fs, staged, target.bytes)) {
            dropStaged();
            return target.name;
        }
        target.staged = staged;
    }
    // Both are complete. Tarn.vk2 goes first, exchanged with the old one, so that when List.vk2
    // then cannot replace its old file the old Tarn.vk2 goes back: the players never read a
    // new file of the pair beside an old one.
    Target& listFile = targets[0];
    Target& tarnFile = targets[1];
    auto fail = [&](const Target& target) {
        dropStaged();
        return std::string(target.name);
    };
    enum class Undo { Exchange, Remove, None } undo = Undo::Exchange;
    if (sys::renameat2(AT_FDCWD, tarnFile.staged.c_str(), AT_FDCWD, tarnFile.path.c_str(),
                       RENAME_EXCHANGE) != 0) {
        // No old Tarn.vk2, or a file system that cannot exchange: a plain rename.
        const int error = errno;
        if (error != ENOENT && error != EINVAL) return fail(tarnFile);
        undo = error == ENOENT ? Undo::Remove : Undo::None;
        if (sys::rename(tarnFile.staged.c_str(), tarnFile.path.c_str()) != 0) return fail(tarnFile);
        tarnFile.staged.clear();
    }
    if (sys::rename(listFile.staged.c_str(), listFile.path.c_str()) != 0) {
        if (undo == Undo::Exchange) {
            ::renameat2(AT_FDCWD, tarnFile.staged.c_str(), AT_FDCWD, tarnFile.path.c_str(),
                        RENAME_EXCHANGE);
        } else if (undo == Undo::Remove) {
            ::unlink(tarnFile.path.c_str());
        }
        return fail(listFile);
    }
    listFile.staged.clear();
    dropStaged();  // the old Tarn.vk2
    const std::size_t listingFailures = fs.listingFailures();
    bool left = false;
    for (const DirEntry& file : fs.listFiles(folder)) {
        if (!hasExtension(file.name, "VK2") || file.name.size() < 4 ||
            file.name[file.name.size() - 4] != '.') {
            continue;
        }
        const std::string path = joinPath(folder, file.name);
        if (path != targets[0].path && path != targets[1].path && !fs.deleteFile(path, true))
            left = true;
    }
    if (othersLeft) *othersLeft = left || fs.listingFailures() != listingFailures;
    return {};
}

}  // namespace dadaz
