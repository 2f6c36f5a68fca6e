#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/folders.h"

namespace dadaz {

class FileSystem;

// The separate-folder layout keeps songs in {MIDI}/{c}, {Lyric}/{c} and {Cursor}/{c}; the
// multi-folder layout is chosen by giving all three folders exactly the same text (compared
// case-sensitively, as typed), whose volume sub-folders each hold SONG, LYRICS and CURSOR.
bool isMultiFolderLayout(const Folders& folders);

enum class SongFileKind { Midi, Lyric, Cursor };

// A folder the song list run scans for lyric files.
struct LyricFolder {
    std::string path;    // real path on disk
    std::string name;    // its own name ({s})
    std::string volume;  // the volume folder in the multi-folder layout, else empty
};

// Where a song's files lie, in either layout. Every operation builds song paths here, so all
// of them agree. Folder and file names are matched without regard to case when looked up.
class SongPaths {
  public:
    SongPaths(const FileSystem& fs, Folders folders);

    bool multiFolder() const { return multiFolder_; }
    const Folders& folders() const { return folders_; }
    // The common folder of the multi-folder layout.
    const std::string& root() const { return folders_.midi; }

    // The path the rules give for a song's file: "{MIDI}/{c}/{code}.MID", or in the
    // multi-folder layout "{volume}/SONG/{c}/{code}.MID" (likewise LYRICS/.LYR and
    // CURSOR/.CUR). Empty when the code is unsafe or the volume is not one of the root's
    // (such text never builds a path).
    std::string path(SongFileKind kind, std::string_view code, std::string_view volume = {}) const;
    // That file on disk; nothing when it is missing (or the path could not be built).
    std::optional<std::string> find(SongFileKind kind, std::string_view code,
                                    std::string_view volume = {}) const;

    // Multi-folder layout: every direct sub-folder of the root that has a "LYRICS"
    // sub-folder, as root + "/" + its name, in listing order. Empty in the other layout.
    // Folders that lead out of the root through a link are left out, here and below.
    std::vector<std::string> volumes() const;
    // The folders the song list run scans, in listing order: every direct sub-folder of the
    // Lyric folder, or of each volume's LYRICS folder, once each. A link out of the library,
    // back to a folder above, or to a folder listed already is left out; a folder inside the
    // library reached only through a link comes last.
    std::vector<LyricFolder> lyricFolders() const;

    // Where the checking run looks for the MIDI or cursor partner of lyric file
    // {folder}/{code}.LYR: separate layout {MIDI}/{name of folder}/{code}.MID; multi-folder
    // layout {volume}/SONG/{c}/{code}.MID. Empty for an unsafe code.
    std::string partnerPath(SongFileKind kind, const LyricFolder& folder,
                            std::string_view code) const;
    std::optional<std::string> findPartner(SongFileKind kind, const LyricFolder& folder,
                                           std::string_view code) const;

    // Whether the existing folder holding `path` (a song file's path) leads out of the
    // library through a link: out of the kind's folder, or of the root in the multi-folder
    // layout. Runs never write, move or delete there.
    bool leadsOutOfLibrary(SongFileKind kind, std::string_view path) const;

    // Whether a volume folder (for instance one read from the song list) is a direct
    // sub-folder of the root; only such volumes build paths.
    bool isVolumeOfRoot(std::string_view volume) const;

  private:
    std::string songFolder(SongFileKind kind, std::string_view volume) const;

    const FileSystem& fs_;
    Folders folders_;
    bool multiFolder_;
};

// File extension the program writes for each kind: ".MID", ".LYR", ".CUR".
std::string_view songFileExtension(SongFileKind kind);

}  // namespace dadaz
