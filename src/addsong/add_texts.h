#pragma once

#include <string>

namespace dadaz {

// The add run's texts (UTF-8, lines separated by "\n").
namespace add_text {

extern const char* const kCheckSourceQuestion;
extern const char* const kMultiFolderRefusal;
extern const char* const kMissingFolders;
std::string createMoveToQuestion(const std::string& programFolder);
extern const char* const kNoFiles;
extern const char* const kIncompleteSource;
extern const char* const kIncompleteSongQuestion;
// kind: "MID หรือแฟ้ม MIDI", "LYR หรือแฟ้ม Lyric" or "CUR หรือแฟ้ม Cursor".
std::string missingKind(const std::string& kind);
extern const char* const kCodeExists;
// A folder the run needs could not be listed: nothing was added.
std::string folderUnreadable(const std::string& folder);
// The prefix would put the songs outside a first-character folder.
std::string badPrefix(const std::string& prefix);
// The pattern holds something other than "0".
std::string badPattern(const std::string& pattern);
extern const char* const kProgress;
extern const char* const kFolderPickerTitle;
// Leaving txtLastFileName with a pattern of another length than the kept one.
std::string patternLengthMessage(std::size_t keptLength);

// "เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 1,234 เพลง" and, when songs were left out, the
// paragraph naming them.
std::string finishedLine(long long added);
// NewSong.txt or the log could not be written whole.
std::string recordsNotWritten(const std::string& listPath, const std::string& logPath);
extern const char* const kOpenListQuestion;
extern const char* const kBuildSongListQuestion;

// Why a song was left out.
extern const char* const kCodeTaken;
extern const char* const kNameNotCode;
extern const char* const kCopyFailed;
extern const char* const kFolderOutside;
// Heading of NewSong.txt, and of its part listing the songs left out.
extern const char* const kListHeading;
std::string leftOutHeading(long long count);

}  // namespace add_text
}  // namespace dadaz
