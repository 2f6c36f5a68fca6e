#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/song_paths.h"
#include "songlist/player_records.h"
#include "songlist/song_entry.h"

namespace dadaz {

class FileSystem;
class DosDriveTable;

// A lyric file to scan: its folder (an index into the scanned folders) and its name.
struct ScanFile {
    std::uint32_t folder = 0;
    std::string name;
};

// The files of an invalid triple (checking form), found where the test looked for them.
struct InvalidTriple {
    std::string lyricPath;
    std::optional<std::string> midiPath;
    std::optional<std::string> cursorPath;
};

// What the scan made of one lyric file. Kept small: a large library holds 100,000 of them.
struct ScannedSong {
    enum class Kind : std::uint8_t {
        Listed,    // goes into the song list
        Invalid,   // checking form: MIDI or cursor partner missing; its files are to be moved
        Unusable,  // unreadable, or its name cannot serve as a code (never builds a path)
    };
    Kind kind = Kind::Unusable;
    std::uint8_t group = 0;
    bool semicolonReplaced = false;
    bool fourthLineEmptied = false;
    bool fourthLineKept = false;  // checking form: its fourth line could not be emptied
    bool hasPlayerRecord = false;
    bool withoutDosPath = false;  // one of its existing files lies outside every DOS drive
    SongEntry entry;
    std::string sortKey;
    // The short paths for the player database, one after the other; see shortPaths().
    std::string shortPathBytes;
    std::uint8_t midiPathLength = 0;
    std::uint8_t lyricPathLength = 0;
    std::unique_ptr<InvalidTriple> invalid;  // Invalid only

    ShortPaths shortPaths() const;
    void setShortPaths(const ShortPaths& paths);
};

struct ScanSettings {
    bool checkFiles = false;
    // Five title groups instead of one (from kGroupedListThreshold counted files on).
    bool grouped = false;
    // Short paths for the player database; null when no database is written.
    const DosDriveTable* drives = nullptr;
};

// Reads the lyric files on worker threads (one per core): each file's first lines, its
// song entry and collation sort key, the checking form's partner test and fourth-line fix,
// and the short paths for the database. Results are kept in scan order. The calling thread
// only waits: `onWait` runs on it about every 16 ms with the number of leading files that
// are complete, and stops the scan by returning false.
class LyricScan {
  public:
    LyricScan(FileSystem& fs, const SongPaths& paths, std::vector<LyricFolder> folders,
              std::vector<ScanFile> files, ScanSettings settings);
    ~LyricScan();
    LyricScan(const LyricScan&) = delete;
    LyricScan& operator=(const LyricScan&) = delete;

    // Returns true when every file was scanned, false when stopped.
    bool run(const std::function<bool(std::size_t completePrefix)>& onWait);

    std::size_t size() const { return files_.size(); }
    const ScanFile& file(std::size_t i) const { return files_[i]; }
    // The code of file i as on disk (its name less the extension).
    std::string code(std::size_t i) const;
    const LyricFolder& folderOf(std::size_t i) const { return folders_[files_[i].folder]; }
    ScannedSong& song(std::size_t i) { return songs_[i]; }

  private:
    struct Shared;
    void work(Shared& shared);
    void scanOne(std::size_t i, const class ThaiCollator& collator);

    FileSystem& fs_;
    const SongPaths& paths_;
    std::vector<LyricFolder> folders_;
    std::vector<ScanFile> files_;
    ScanSettings settings_;
    std::vector<ScannedSong> songs_;
};

}  // namespace dadaz
