#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/session_state.h"
#include "library/song_paths.h"
#include "platform/prompt.h"

namespace dadaz {

class FileSystem;

// Putting new files in place of a song's files while it keeps its code: all three files of
// a song chosen anywhere on disk, or the MIDI file alone.
enum class ReplaceMode { AllFiles, MidiOnly };

inline constexpr const char* kReplaceTitle = "แทนที่แฟ้มเพลง";
inline constexpr const char* kReplacePickerTitle = "เลือกแฟ้มเพลงใหม่ที่ต้องการนำไปแทนที่";
inline constexpr const char* kReplacePickerFilter = "แฟ้มเพลง ZUZ Adediru (*.mid, *.lyr, *.cur)";
inline constexpr const char* kReplaceDone = "ทำการแทนที่แฟ้มเรียบร้อยแล้ว...";

// Yes: all three files; No: the MIDI file only; Cancel: nothing.
std::string replaceModeQuestion();
// The question before replacing, and its icon.
std::string replaceConfirmation(ReplaceMode mode);
MessageIcon replaceConfirmationIcon(ReplaceMode mode);

// The picked path cut after the last "." of its file name (the dot kept): the source files
// are this stem followed by "MID", "LYR" and "CUR". A name without a dot gives path + ".".
std::string sourceStem(std::string_view pickedPath);

struct ReplaceFile {
    SongFileKind kind;
    std::string source;  // real path on disk
    std::string target;  // the path the layout gives; the file may not exist yet
};

// What a replacement will do, checked: sources present, targets buildable and writable.
struct ReplacePlan {
    std::string code;
    std::vector<ReplaceFile> files;  // MIDI, lyric, cursor in that order
};

// A plan, or the refusal to show (as an error) when there is none.
struct ReplaceCheck {
    std::optional<ReplacePlan> plan;
    std::string refusal;
};

// Refusal when the selected song cannot be replaced at all (a code or volume that builds no
// path); empty when it can.
std::string replaceTargetRefusal(const SongPaths& paths, const CurrentSong& song);

// The checks before the confirmation, in order: the sources of the mode (the first one
// missing is named), the song's own files picked as the source, a read-only target.
ReplaceCheck checkReplacement(const FileSystem& fs, const SongPaths& paths, const CurrentSong& song,
                              ReplaceMode mode, std::string_view pickedPath);

struct ReplaceOutcome {
    bool replaced = false;
    MessageIcon icon = MessageIcon::Information;
    std::string message;
};

// Replaces the files of the plan all together or not at all (the read-only check is made
// again); the message says which.
ReplaceOutcome replaceSongFiles(FileSystem& fs, const ReplacePlan& plan);

}  // namespace dadaz
