#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "library/session_state.h"

namespace dadaz {

class FileSystem;
class SongPaths;

enum class RemovalKind { Delete, Move };

// What became of one song. Only Removed and NotFound leave nothing of the song in the library.
enum class SongRemoval {
    Removed,         // every file of its set was deleted or moved
    NotFound,        // no file of its set was there to begin with
    UnsafeSong,      // its code or volume folder may not build a path
    OutsideLibrary,  // a folder of the song leads out of the library through a link
    FolderLocked,    // a folder of the song, or the move-to folder, takes no changes
    Unreadable,      // a folder could not be read, so files of the song may have been missed
    MoveToMissing,   // the move-to folder does not exist
    NameTaken,       // move: a file of the set would meet a name taken in the move-to folder
    NameTwice,       // move: two files of the set share a name (in different folders)
    Failed,          // a file operation failed; the song is whole where it was
    Split,           // a file operation failed and the song could not be kept whole
    LeftBehind,      // delete: the song is gone, but hidden files it left could not be deleted
};

struct SongRemovalOutcome {
    CurrentSong song;
    SongRemoval result = SongRemoval::Removed;
    // The files or folders the result is about (real paths): the name in the way, the file
    // that failed, or, for Split, where the song's files lie now.
    std::vector<std::string> files;

    bool gone() const {
        return result == SongRemoval::Removed || result == SongRemoval::NotFound ||
               result == SongRemoval::LeftBehind;
    }
};

struct RemovalReport {
    std::vector<SongRemovalOutcome> songs;  // one per song asked for, in the same order
    std::size_t filesRemoved = 0;           // files that left the library

    bool allRemoved() const;
};

// Deletes or moves songs' file sets: every file named "{code}.*" in each of the song's three
// first-character folders (a song of the multi-folder layout in its own volume folder). A
// song either goes whole or is reported: before the first file changes, every file of the set
// is checked (links out of the library, folders that take no changes, names taken in the
// move-to folder in any case); a move that fails midway moves back what already went. The
// same song asked for twice is handled once. File lookups go through the file system's
// per-folder indexes: no folder is read more than once. A delete first renames every file
// of the song to a hidden name, so a failure before the last one is undone whole; what a
// failed delete leaves under those names goes when the song is next deleted or moved; what a
// killed delete left is finished or undone by the next delete or move.
class SongRemover {
  public:
    SongRemover(FileSystem& fs, const SongPaths& paths);

    RemovalReport deleteSongs(const std::vector<CurrentSong>& songs);
    // Into `moveTo` itself, flat: MIDI, lyric and cursor files side by side.
    RemovalReport moveSongs(const std::vector<CurrentSong>& songs, const std::string& moveTo);
    // Finishes what a killed delete left under hidden names, once a remover: a song whose
    // lyric was hidden too goes, any other gets its files back. Runs before the first song.
    void finishDeadDeletes();

  private:
    struct SongFiles;
    struct FolderCheck {
        bool inside = false;
        bool writable = false;
    };

    RemovalReport run(RemovalKind kind, const std::vector<CurrentSong>& songs,
                      const std::string& moveTo);
    SongRemovalOutcome removeOne(RemovalKind kind, const CurrentSong& song,
                                 const std::string& moveTo, std::size_t& filesRemoved);
    // The song's files, folder by folder; a result other than Removed when the song may not
    // be touched.
    SongRemoval collect(const CurrentSong& song, SongFiles& files,
                        std::vector<std::string>& concerned);
    SongRemoval deleteFiles(const SongFiles& files, std::vector<std::string>& concerned,
                            std::size_t& filesRemoved);
    SongRemoval moveFiles(const SongFiles& files, const std::string& moveTo,
                          std::vector<std::string>& concerned, std::size_t& filesRemoved);
    // Moves each file to its new name, or, when one fails, every moved one back.
    SongRemoval moveAll(const std::vector<std::pair<std::string, std::string>>& moves,
                        std::vector<std::string>& concerned);
    void deleteLeftovers(const SongFiles& files);
    const FolderCheck& checkFolder(const std::string& realFolder, const std::string& base);

    FileSystem& fs_;
    const SongPaths& paths_;
    std::vector<std::pair<std::string, FolderCheck>> folderChecks_;  // a few folders a run
    bool deadDeletesFinished_ = false;
};

}  // namespace dadaz
