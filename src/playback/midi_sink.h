#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playback/smf_reader.h"

namespace dadaz {

// Where the sequencer sends a song's events: the synthesizer, or a recorder in tests.
class MidiSink {
  public:
    virtual ~MidiSink() = default;
    // A channel message, or a SysEx message whose body (without F0 and F7) is `sysexBody`.
    virtual void send(const MidiEvent& event, std::string_view sysexBody) = 0;
    // Cuts every sounding note (stop).
    virtual void silence() = 0;
};

// Why the synthesizer could not be opened.
struct SoundProblem {
    enum class Kind { None, NoSoundFont, SoundFontUnusable, NoSoundDevice };
    Kind kind = Kind::None;
    // NoSoundFont: the places looked at, one a line; SoundFontUnusable: its path;
    // NoSoundDevice: the audio drivers tried.
    std::string detail;

    bool operator==(const SoundProblem&) const = default;
};

// Where FluidSynth users keep a General MIDI soundfont: FluidSynth's own configured default
// first (empty when it has none), then the places Debian's soundfont packages install to.
std::vector<std::string> soundFontCandidates(const std::string& configuredDefault);
// The first candidate that is a readable regular file.
std::optional<std::string> findSoundFont(const std::vector<std::string>& candidates);

// FluidSynth on the first audio driver that works (PulseAudio, PipeWire, ALSA) with
// `soundFontPath`, or when that is empty the soundfont found as above. Nothing when no sound
// device or soundfont can be used; `problem` then says which.
std::unique_ptr<MidiSink> openFluidSynthSink(const std::string& soundFontPath,
                                             SoundProblem* problem = nullptr);

}  // namespace dadaz
