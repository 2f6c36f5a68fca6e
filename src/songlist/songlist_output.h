#pragma once

// The writing step of the song list run (used by songlist_run.cpp only).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "library/run_context.h"
#include "songlist/lyric_scan.h"

namespace dadaz {

class DosDriveTable;

// The listed songs of a scan in list order: group 0 to 4, each by collation of the whole
// entry; equal entries stay in scan order.
std::vector<std::size_t> songListOrder(LyricScan& scan);

// The program folder when the MIDI folder lies inside it (names compared without regard to
// case); otherwise the user is told and picks a folder, again and again until one is chosen.
std::string chooseDatabaseFolder(RunContext& ctx);

struct OutputFiles {
    std::string songList;          // SongList.txt
    std::string records;           // List.vk2 (Tarn.vk2 follows from it); empty without database
    std::size_t songRecords = 0;   // the records before the MIDI-only ones
    long withoutPlayerRecord = 0;  // code or paths too long for the record
    long withoutDosPath = 0;       // an existing file outside every DOS drive
};

// Builds the files' bytes; `afterEntry` runs after each song with the number done.
OutputFiles buildOutputFiles(LyricScan& scan, const std::vector<std::size_t>& order,
                             bool multiFolder, bool withDatabase, const FileSystem& fs,
                             const DosDriveTable& drives, const std::string& midiFolder,
                             const std::function<void(long)>& afterEntry);

// Replaces List.vk2 and Tarn.vk2 in `folder` and then removes the folder's other *.vk2
// files, as the players expect only these two. The two belong together: both are written
// completely beside the old ones before either replaces its old file, so a failure leaves
// the old pair. Returns the name of the file that could not be written, or empty;
// `othersLeft` tells whether other *.vk2 files could not be removed.
std::string writePlayerDatabase(FileSystem& fs, const std::string& folder, const OutputFiles& files,
                                bool* othersLeft = nullptr);

}  // namespace dadaz
