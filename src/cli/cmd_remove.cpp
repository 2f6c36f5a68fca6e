#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "library/folder_detection.h"
#include "library/song_paths.h"
#include "operations/removal_texts.h"
#include "operations/song_removal.h"
#include "platform/filesystem.h"
#include "platform/progress.h"

namespace {

using dadaz::RemovalKind;

struct Arguments {
    std::string programFolder = ".";
    std::string midi, lyric, cursor, moveTo;
    bool yes = false;
    std::vector<std::string> songs;  // CODE or CODE@VOLUME
};

const char* commandName(RemovalKind kind) {
    return kind == RemovalKind::Delete ? "delete" : "move";
}

int usageError(RemovalKind kind, const std::string& message) {
    const char* name = commandName(kind);
    std::fprintf(stderr,
                 "%s: %s\nusage: dadaz %s [--program-folder DIR] [--midi DIR --lyric DIR "
                 "--cursor DIR] [--move-to DIR] [--yes] [--] CODE[@VOLUME]...\n",
                 name, message.c_str(), name);
    return 2;
}

// Options may come anywhere before "--"; everything else is a song.
bool parse(int argc, char** argv, Arguments& args, std::string& error) {
    bool songsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (songsOnly || !arg.starts_with("--")) {
            args.songs.push_back(arg);
            continue;
        }
        std::string* value = nullptr;
        if (arg == "--") {
            songsOnly = true;
        } else if (arg == "--yes") {
            args.yes = true;
        } else if (arg == "--program-folder") {
            value = &args.programFolder;
        } else if (arg == "--midi") {
            value = &args.midi;
        } else if (arg == "--lyric") {
            value = &args.lyric;
        } else if (arg == "--cursor") {
            value = &args.cursor;
        } else if (arg == "--move-to") {
            value = &args.moveTo;
        } else {
            error = "unknown option " + arg;
            return false;
        }
        if (!value) continue;
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = arg + " needs a value";
            return false;
        }
        *value = argv[++i];
    }
    const bool someFolders = !args.midi.empty() || !args.lyric.empty() || !args.cursor.empty();
    if (someFolders && (args.midi.empty() || args.lyric.empty() || args.cursor.empty())) {
        error = "--midi, --lyric and --cursor go together";
        return false;
    }
    if (args.songs.empty()) {
        error = "no song given";
        return false;
    }
    return true;
}

// CODE[@VOLUME] as the song the window would take from a result line: the volume by its
// name under the root, or by its path.
bool songOf(const std::string& text, const dadaz::SongPaths& paths, dadaz::CurrentSong& song,
            std::string& error) {
    const auto at = text.find('@');
    const std::string code = text.substr(0, at);
    if (!paths.multiFolder()) {
        if (at != std::string::npos)
            error = text + ": a volume is only for the multi-folder layout";
        song = {code, {}};
        return at == std::string::npos;
    }
    if (at == std::string::npos || at + 1 == text.size()) {
        error = text + ": the multi-folder layout needs CODE@VOLUME";
        return false;
    }
    const std::string volume = text.substr(at + 1);
    song = {code, volume.find('/') != std::string::npos
                      ? folderText(volume)
                      : dadaz::joinPath(folderText(paths.root()), volume)};
    return true;
}

int run(RemovalKind kind, int argc, char** argv) {
    Arguments args;
    std::string error;
    if (!parse(argc, argv, args, error)) return usageError(kind, error);

    // Kept to the end of the process: freeing the indexes of a large library entry by entry
    // costs more than the work itself.
    static auto* const fileSystem = new dadaz::FileSystem;
    dadaz::FileSystem& fs = *fileSystem;
    const std::string programFolder = folderText(args.programFolder);
    const dadaz::Folders folders =
        libraryFolders(fs, programFolder, args.midi, args.lyric, args.cursor, args.moveTo);
    const dadaz::SongPaths paths(fs, folders);
    std::vector<dadaz::CurrentSong> songs(args.songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!songOf(args.songs[i], paths, songs[i], error)) return usageError(kind, error);
    }

    const bool several = songs.size() != 1;
    if (!args.yes) {
        const std::string question =
            kind == RemovalKind::Delete
                ? dadaz::removal_text::deleteQuestion(several)
                : dadaz::removal_text::moveQuestion(several, folders.moveTo);
        return usageError(kind, question + "\n--yes answers Yes to this question");
    }
    if (kind == RemovalKind::Move && !fs.isFolder(folders.moveTo)) {
        if (!fs.createFolder(folders.moveTo)) {
            std::fprintf(stderr, "%s\n",
                         dadaz::removal_text::moveToNotCreated(folders.moveTo).c_str());
            return 1;
        }
        std::printf("สร้างโฟลเดอร์ %s แล้ว\n", folders.moveTo.c_str());
    }

    dadaz::SongRemover remover(fs, paths);
    const dadaz::RemovalReport report = kind == RemovalKind::Delete
                                            ? remover.deleteSongs(songs)
                                            : remover.moveSongs(songs, folders.moveTo);
    long removed = 0;
    for (const dadaz::SongRemovalOutcome& outcome : report.songs) {
        if (outcome.result == dadaz::SongRemoval::Removed) {
            ++removed;
        } else {
            std::fprintf(stderr, "%s\n", dadaz::removal_text::failureLine(kind, outcome).c_str());
        }
    }
    std::printf("%s %s เพลง\n", kind == RemovalKind::Delete ? "ลบเพลงแล้ว" : "ย้ายเพลงแล้ว",
                dadaz::formatCount(removed).c_str());
    return report.allRemoved() ? 0 : 1;
}

}  // namespace

int cmdDelete(int argc, char** argv) {
    return run(RemovalKind::Delete, argc, argv);
}

int cmdMove(int argc, char** argv) {
    return run(RemovalKind::Move, argc, argv);
}
