#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dadaz::renumber_text {

// The renumbering run's messages and progress texts (UTF-8, lines separated by "\n").

std::string backupWarning();
std::string moreThanEightDigits();
std::string patternLongerThanSeven(int digitCount);
std::string multiFolderRefusal();
std::string foldersMissing();
std::string foldersShared();
std::string createMoveTo(const std::string& folder);
std::string invalidPattern();
std::string tooManyFiles(std::uint64_t capacity);
std::string alreadyHasDigits(int digitCount);
std::string alreadyHasDigitsDeclined(int digitCount);
std::string digitCountInvalid();
std::string leaveCountInvalid();
std::string folderNameFirstQuestion();
std::string stopQuestion();
std::string stopped();

std::string checkingText(int kind);    // pass 1, kind 0 MIDI, 1 Lyric, 2 Cursor
std::string renamingText();            // pass 2
std::string validatingText(int kind);  // pass 3

// What a finished run (or a completed interrupted one) found and did.
struct Summary {
    long long midi = 0, lyric = 0, cursor = 0;
    bool movedFiles = false;
    std::string moveTo;
    std::vector<std::string> keptSongs;    // "folder/code" of songs left under their old code
    long long notMoved = 0;                // files whose name was taken in the move-to folder
    std::vector<std::string> failedSongs;  // "folder/code" of songs a disk error kept
    long long movesFailed = 0;             // files a disk error kept from the move-to folder
    bool whole() const { return failedSongs.empty() && movesFailed == 0; }
};
std::string finished(const Summary& summary);
std::string interruptedCompleted(const Summary& summary);

std::string journalUnreadable(const std::string& path);
std::string journalNotWritten(const std::string& path);
// A library folder could not be listed: the plan would miss its files.
std::string folderUnreadable(const std::string& folder);
// The paragraph after a finished run whose journal could not be removed.
std::string journalNotRemoved(const std::string& path);

}  // namespace dadaz::renumber_text
