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

int run(RemovalKind kind, int argc, char** argv) {
    dadaz::cli::RemovalArguments args;
    std::string error;
    if (!dadaz::cli::parseRemovalArguments(argc, argv, args, error)) return usageError(kind, error);

    // Kept to the end of the process: freeing the indexes of a large library entry by entry
    // costs more than the work itself.
    static auto* const fileSystem = new dadaz::FileSystem;
    dadaz::FileSystem& fs = *fileSystem;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);
    const dadaz::SongPaths paths(fs, folders);
    std::vector<dadaz::CurrentSong> songs(args.songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!songFromArgument(args.songs[i], paths, songs[i], error))
            return usageError(kind, error);
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
