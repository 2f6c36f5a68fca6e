#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/folders.h"
#include "renumber/number_scheme.h"

namespace dadaz {

class FileSystem;

// One file renamed or moved: from a folder of the plan's table to another (or the same).
struct FileMove {
    std::uint32_t from = 0;
    std::uint32_t to = 0;
    std::string fromName;
    std::string toName;
};

// What the run does at one step: a whole song's renames, a song's files moved aside, or one
// file. A step's moves happen together or not at all.
struct RenumberStep {
    enum class Kind : char {
        Temporary = 't',   // pass 1: a name of the new length put out of the way
        Aside = 'a',       // pass 1: a file of another kind moved to the move-to folder
        Rename = 'r',      // pass 2: a complete song's new code
        Incomplete = 'i',  // pass 2: what exists of an incomplete song moved aside
        Check = 'c',       // pass 3: a file of no valid song moved aside
    };
    Kind kind = Kind::Rename;
    std::uint8_t phase = 0;  // the progress bar's part of the run (see RenumberPhase)
    long progress = 0;       // the bar's "done" after this step
    std::vector<FileMove> moves;
};

// Parts of the run, each with its own bar: pass 1 per kind (MIDI, Lyric, Cursor), pass 2,
// pass 3 per kind.
constexpr int kPhaseCount = 7;
constexpr int kRenamePhase = 3;
inline int firstPhaseOfPass(int pass) {
    return pass == 1 ? 0 : pass == 2 ? 3 : 4;
}

// The whole run, worked out before anything changes on disk: every step in order, and what
// the library holds when all of them are done.
struct RenumberPlan {
    // Folder 0 is the move-to folder; the others are the first-character folders, MIDI ones
    // first, then Lyric, then Cursor.
    std::vector<std::string> folders;
    std::vector<RenumberStep> steps;
    std::vector<std::string> keptSongs;  // "folder/code" of songs left under their old code
    std::size_t validLength = 0;         // stem length the checking pass accepts
    long totals[kPhaseCount] = {};       // each phase's bar total
    long long found[3] = {};             // valid files per kind at the end
    long long notMoved = 0;              // files whose name is taken in the move-to folder

    // The kind (0 MIDI, 1 Lyric, 2 Cursor) of a first-character folder; -1 for the move-to one.
    int kindOfFolder(std::uint32_t folder) const;
    std::uint32_t firstFolder[3] = {};  // where each kind's folders start in `folders`
};

// The first-character folders of the three song folders, each listed once.
struct LibraryListing {
    struct SubFolder {
        std::string name;  // its own name as the file system gives it
        std::string path;
        std::vector<std::string> files;  // real names in listing order
    };
    std::vector<SubFolder> kinds[3];  // MIDI, Lyric, Cursor

    // The largest file count of any first-character folder.
    std::size_t largestFolder() const;
};

LibraryListing listLibrary(const FileSystem& fs, const Folders& folders);

// Works out every step. `askAlreadyDigits` is called once, when the MIDI folder holds a file
// whose stem already has the digit count, before the plan is finished; false abandons the
// plan (nothing is returned).
std::optional<RenumberPlan> planRenumber(const FileSystem& fs, const LibraryListing& listing,
                                         const std::string& moveTo, const NumberScheme& scheme,
                                         const std::function<bool()>& askAlreadyDigits);

}  // namespace dadaz
