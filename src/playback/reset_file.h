#pragma once

#include <string>
#include <string_view>

namespace dadaz {

class SongPaths;

// The synthesizer reset file: a 70-byte Standard MIDI File holding a Roland GS Reset, played
// after every stop so the next song starts from a clean synthesizer.
inline constexpr std::string_view kResetFileName = "reset.mid";
const std::string& resetFileBytes();

// Where the reset file lies: "{MIDI}/reset.mid", or in the multi-folder layout
// "{volume}/SONG/reset.mid". Empty when there is no such place (no MIDI folder, or a volume
// that is not one of the library root's).
std::string resetFilePath(const SongPaths& paths, std::string_view volume);

}  // namespace dadaz
