#pragma once

#include <chrono>
#include <map>
#include <string>

namespace dadaz {

// The song list run's texts (UTF-8, lines separated by "\n").
namespace songlist_text {

// Option questions of the start button and the stop question.
extern const char* const kChoiceOwnList;
extern const char* const kChoiceChecking;
extern const char* const kStopQuestion;

extern const char* const kMissingFolders;
std::string createMoveToQuestion(const std::string& programFolder);
std::string moveToNotCreated(const std::string& folder);

extern const char* const kDatabaseFolderNotice;
extern const char* const kDatabaseFolderPickerTitle;

extern const char* const kScanProgress;
extern const char* const kWriteProgress;
extern const char* const kOpenSongListQuestion;

// "12345     เพลงที่ 1,234 จาก 5,678     ใช้เวลา 0:01:05"
std::string statusLabel(const std::string& code, long done, long total,
                        std::chrono::steady_clock::duration elapsed);
// "H:MM:SS"
std::string formatElapsed(std::chrono::steady_clock::duration elapsed);

struct ClosingFacts {
    std::string databaseFolder;
    std::string programFolder;
    std::string moveToFolder;            // empty when no files were moved
    std::map<char, std::string> drives;  // the DOS drives the database uses
    long withoutPlayerRecord = 0;
    long withoutDosPath = 0;
    long semicolonsReplaced = 0;
    long notListed = 0;
    // What the run could not do; the closing message is then a warning.
    long filesNotMoved = 0;
    long fourthLinesNotEmptied = 0;
    bool otherDatabaseFilesLeft = false;
};
// The message after a run that wrote the player database.
std::string closingMessage(const ClosingFacts& facts);
// The counts paragraph of the closing message; empty when every count is zero.
std::string countsParagraph(const ClosingFacts& facts);
std::string writeFailed(const std::string& fileName, const std::string& folder);
// The refusal when a folder of the library could not be listed: nothing written or moved.
std::string folderUnreadable(const std::string& folder);
// The refusal when a folder's name has a character code page 874 lacks, or a control character.
std::string folderNameUnwritable(const std::string& folder);
// The refusal when lyric files were found but none could be listed.
std::string nothingListed(long lyricFiles, const ClosingFacts& facts);

}  // namespace songlist_text
}  // namespace dadaz
