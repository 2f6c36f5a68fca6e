#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "duplicates/duplicate_search.h"
#include "library/folders.h"
#include "operations/song_removal.h"
#include "platform/prompt.h"

namespace dadaz {

class FileSystem;
class ProgressSink;

std::size_t markedCount(const std::vector<ResultLine>& lines);

// Marks every line whose text equals a line of the selection file exactly; lines of the file
// that match nothing (a heading, favourites) are ignored.
void importSelection(std::vector<ResultLine>& lines, const std::vector<std::string>& fileLines);

// The selection file "SelectSong.txt" of the program folder, written anew (beside, then
// renamed over the old one) with the marked lines in list order. A failed write keeps the old
// file and shows the critical message; true when saved (the caller tells the user).
bool saveSelection(FileSystem& fs, const std::string& programFolder,
                   const std::vector<ResultLine>& lines, Prompt& prompt);
// The entering question: import the file into `lines` (Yes), or else offer to delete it.
// Nothing when there is no selection file.
void offerSelection(FileSystem& fs, const std::string& programFolder,
                    std::vector<ResultLine>& lines, Prompt& prompt);
void deleteSelection(FileSystem& fs, const std::string& programFolder);

// Groups of the same song (see sameSong) whose every song line is marked.
std::size_t songsLosingEveryCopy(const std::vector<ResultLine>& lines,
                                 DuplicateCriterion criterion);

// The program folder's "Log", made when missing; its path.
std::string ensureLogFolder(FileSystem& fs, const std::string& programFolder);

// "DDMMYYYYHHNN" in local time.
std::string logTimeStamp(std::chrono::system_clock::time_point when);

// The questions before a removal: the move-to folder (created on Yes), the delete or move
// question, and the every-copy question when marks take a whole group. True to go on.
bool confirmDuplicateRemoval(FileSystem& fs, Prompt& prompt, RemovalKind kind,
                             const Folders& folders, const std::vector<ResultLine>& lines,
                             DuplicateCriterion criterion);

// Deletes or moves the songs of the marked lines, one at a time in list order, each whole or
// not at all. Lines of songs that are gone leave the list and go to the log
// "Log/DDUP{stamp}.txt" or "Log/MDUP{stamp}.txt" (written beside, then renamed); lines of songs
// that stayed keep their mark. Separators never stay marked.
struct DuplicateRemovalResult {
    std::vector<ResultLine> lines;  // the list after the removal
    RemovalReport report;           // one outcome per marked song line
    std::string logPath;
    bool logWritten = false;
    bool anyGone() const;
};
struct DuplicateRemovalRun {
    RemovalKind kind = RemovalKind::Delete;
    std::string programFolder;
    Folders folders;
    std::string stamp;
    std::function<void()> pumpEvents = [] {};
};
DuplicateRemovalResult removeMarkedSongs(FileSystem& fs, const std::vector<ResultLine>& lines,
                                         const DuplicateRemovalRun& run, ProgressSink& progress);
// What the user is told at the end: the success text only when every song went and the log
// was written, else what stayed and why.
std::string removalMessage(RemovalKind kind, const DuplicateRemovalResult& result,
                           MessageIcon& icon);

}  // namespace dadaz
