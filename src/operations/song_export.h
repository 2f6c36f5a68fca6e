#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "library/run_context.h"
#include "library/session_state.h"
#include "songlist/kar_converter.h"

namespace dadaz {

class SongPaths;

enum class ExportForm {
    Kar,            // one karaoke file per song, made by the converter, into the folder itself
    MidiOnly,       // the music files, flat
    AllFlat,        // music, lyric and cursor files side by side
    AllStructured,  // SONG/{c}, LYRICS/{c} and CURSOR/{c} under the folder
};

// A song, or one of its files, that did not reach the export folder.
struct ExportProblem {
    enum class Kind {
        NoFiles,      // the song has no file to export (or its code cannot build a path)
        FileMissing,  // one of the song's files is not there; the others were exported
        CopyFailed,   // the copy (or its folder) could not be made
        NameTaken,    // an earlier song of the same export wrote a file of that name
        KarNotMade,   // the converter did not write the KAR file
    };
    Kind kind;
    std::string code;
    std::string file;  // the source file, or the KAR file
};

struct ExportReport {
    std::size_t songs = 0;
    std::size_t filesWritten = 0;
    std::vector<ExportProblem> problems;
    std::string karLog;  // Log file naming the songs without KAR file

    bool complete() const { return problems.empty(); }
};

// Copies each song's files (every extension of the code's stem in its first-character
// folders) into `folder` as `form` says. Copies overwrite what an earlier export left, each
// written beside and renamed, so no half file is ever in the export folder; a file this same
// export already wrote is never replaced by another song's. The library is not changed.
ExportReport copySongs(FileSystem& fs, const SongPaths& paths,
                       const std::vector<CurrentSong>& songs, const std::string& folder,
                       ExportForm form);

// Has the converter make {folder}/{code}.KAR of each song and waits for every conversion
// (`onWait` as for KarConversions::finish); the songs without KAR file go into a log under
// the program folder's "Log".
ExportReport convertSongs(KarConversions& conversions, FileSystem& fs,
                          const std::string& programFolder, const SongPaths& paths,
                          const std::vector<CurrentSong>& songs, const std::string& folder,
                          const std::function<bool(std::size_t, std::size_t)>& onWait = {});

// The export button: the folder picker (starting at `exportFolder`, which keeps the choice),
// the KAR-or-files question while the converter can be started, the file questions asked
// once, the export, and the closing message. The converter's progress goes to ctx.progress.
void exportSongs(RunContext& ctx, std::string& exportFolder, const std::vector<CurrentSong>& songs);

namespace export_text {
extern const char* const kFolderPickerTitle;
extern const char* const kKarOrFiles;
extern const char* const kAllOrMidi;
extern const char* const kStructure;
// The closing message; exclamation when the report is not complete.
std::string closing(ExportForm form, const std::string& folder,
                    const std::vector<CurrentSong>& songs, const ExportReport& report);
}  // namespace export_text

}  // namespace dadaz
