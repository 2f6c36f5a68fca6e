#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "library/run_context.h"
#include "library/song_paths.h"
#include "platform/shortpath.h"
#include "songlist/lyric_scan.h"

namespace dadaz {

struct SongListOptions {
    // Checking form: invalid triples' files go to the move-to folder, fourth lyric lines are
    // emptied.
    bool checkFiles = false;
    // The player database folder chosen in advance (the command-line tool); empty: the
    // program folder when the MIDI folder lies in it, otherwise the user is asked.
    std::string databaseFolder;
    // Where the players' drives lie; by default drive C: is the program folder. When the
    // MIDI, Lyric or Cursor folder lies outside every drive, the run maps the next free
    // letter to the deepest folder holding all three.
    std::optional<DosDriveTable> drives;
    // KAR form (with checkFiles): the converter makes a karaoke file of every valid song under
    // "Kar" in a folder the user chooses; no list is written.
    bool karMode = false;
    // KAR form: the folder chosen in advance (the command-line tool); no picker, no question.
    std::string karFolder;
    // Checking form: runs on the calling thread, in scan order, for every valid triple
    // before its entry is listed.
    std::function<void(const LyricFolder&, const ScannedSong&)> onValidTriple;
};

struct SongListResult {
    enum class Status {
        Written,               // SongList.txt written (and the database, unless only the own list)
        Stopped,               // the user stopped the scan: nothing written
        MissingFolders,        // a MIDI, Lyric or Cursor folder does not exist
        MoveToDeclined,        // no move-to folder and the user would not have it created
        WriteFailed,           // a file could not be written; the old one stays whole
        VolumeNameUnwritable,  // a volume's path cannot be written in code page 874
        NothingListed,         // lyric files found, none could be listed: nothing replaced
        KarFilesMade,          // KAR form: every conversion waited for (see karNotWritten)
        KarNotStarted,         // KAR form: declined, or the converter or folder unusable
    };
    Status status = Status::MissingFolders;
    bool multiFolder = false;
    bool databaseWritten = false;
    std::string databaseFolder;
    // The move-to folder the run created (the window shows it in its move-to box).
    std::string createdMoveTo;
    long countedFiles = 0;  // all files of the scanned lyric folders (they choose the groups)
    long scannedFiles = 0;  // lyric files looked at
    long listedSongs = 0;
    long filesMoved = 0;
    long fourthLinesEmptied = 0;
    // Checking form: what it could not tidy (told in the closing message).
    long filesNotMoved = 0;
    long fourthLinesKept = 0;
    long withoutPlayerRecord = 0;  // listed, but no room in the player database
    long withoutDosPath = 0;       // listed, but an existing file has no DOS path
    // The drives the player database's paths use, by letter.
    std::map<char, std::string> drivesUsed;
    long semicolonsReplaced = 0;
    long notListed = 0;  // unreadable, or a name that cannot serve as a code
    // KAR form: the KAR folder, the files made and not made, the log naming the latter.
    std::string karFolder;
    long karWritten = 0;
    long karNotWritten = 0;
    std::string karLog;
    // The last message shown to the user (closing message or failure), for the
    // command-line tool; the own-list run shows none.
    std::string message;
};

// The song list run: scans every lyric folder, sorts the songs by title (Thai collation, in
// five groups from 32,767 counted files on) and writes SongList.txt into the program folder
// and, unless only this program's list is wanted (`catalogueRequested` or
// `duplicateSearchActive`), List.vk2 and Tarn.vk2 into the database folder. Each file is
// written beside the old one and renamed over it when complete: a stopped or failed run
// leaves the old files whole.
SongListResult runSongList(RunContext& ctx, const SongListOptions& options = {});

}  // namespace dadaz
