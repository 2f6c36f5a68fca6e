#pragma once

#include <string>
#include <vector>

// The command lines of the sub-commands that work on a library, read into plain values. Reading
// touches nothing on disk; each command checks what it needs of the disk afterwards.

namespace dadaz::cli {

// --program-folder, --midi, --lyric, --cursor and --move-to, as given.
struct FolderOptions {
    std::string programFolder = ".";
    std::string midi, lyric, cursor, moveTo;
};

enum class MoveToOption { Accepted, Refused };
enum class OptionTaken { No, Yes, MissingValue };

// Takes argv[i] and its value when argv[i] is one of the folder options (advancing i past the
// value). A value must follow and must not be empty; otherwise `error` says so.
OptionTaken takeFolderOption(int argc, char** argv, int& i, FolderOptions& folders,
                             MoveToOption moveTo, std::string& error);
// "--midi, --lyric and --cursor go together": all three folders or none.
bool checkFolderOptions(const FolderOptions& folders, std::string& error);

// delete and move: options anywhere before "--", every other argument a song.
struct RemovalArguments {
    FolderOptions folders;
    bool yes = false;
    std::vector<std::string> songs;  // CODE or CODE@VOLUME
};
bool parseRemovalArguments(int argc, char** argv, RemovalArguments& args, std::string& error);

struct ExportArguments {
    FolderOptions folders;
    std::string to;
    bool all = false, structure = false, kar = false;  // none of them: --midi-only
    std::vector<std::string> songs;
};
bool parseExportArguments(int argc, char** argv, ExportArguments& args, std::string& error);

struct DuplicatesArguments {
    FolderOptions folders;
    std::string by, selection;
    bool remove = false;
    bool move = false;  // with remove: --move, else --delete
    bool yes = false;
    bool rebuild = false;
};
bool parseDuplicatesArguments(int argc, char** argv, DuplicatesArguments& args, std::string& error);

struct AddArguments {
    FolderOptions folders;
    std::string source, target = "auto", prefix, pattern;
    bool custom = false;  // --prefix and --pattern given (either may be empty)
    bool yes = false, songList = false;
};
bool parseAddArguments(int argc, char** argv, AddArguments& args, std::string& error);

struct RenumberArguments {
    FolderOptions folders;
    std::string digits, pattern, leave;
    bool digitsGiven = false, patternGiven = false, leaveGiven = false;
    bool folderAfter = false, yes = false, dryRun = false;
};
bool parseRenumberArguments(int argc, char** argv, RenumberArguments& args, std::string& error);

struct SonglistArguments {
    FolderOptions folders;
    std::string karFolder, databaseFolder;
    bool check = false, ownList = false;
    std::vector<std::string> driveSpecs;  // LETTER=FOLDER, unchecked
};
bool parseSonglistArguments(int argc, char** argv, SonglistArguments& args, std::string& error);

// search: options first; the first other argument (or the one after "--") is the query.
struct SearchArguments {
    std::string programFolder = ".";
    bool all = false, lyric = false;
    long repeat = 0;  // 0: no timing runs
    std::string query;
};
bool parseSearchArguments(int argc, char** argv, SearchArguments& args, std::string& error);

}  // namespace dadaz::cli
