#pragma once

#include <string>

#include "playback/midi_sink.h"

namespace dadaz {

// Playback's texts (UTF-8, lines separated by "\n").
namespace playback_text {

// Songs play silently: which sound device or soundfont failed, and that the next play tries
// again.
std::string soundProblem(const SoundProblem& problem);
// A file named like a song but far larger than any.
std::string fileTooLarge(const std::string& path);

}  // namespace playback_text
}  // namespace dadaz
