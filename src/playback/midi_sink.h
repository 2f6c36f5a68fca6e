#pragma once

#include <memory>
#include <string>
#include <string_view>

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

inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// FluidSynth with `soundFontPath` on the first audio driver that works (PulseAudio, PipeWire,
// ALSA). Nothing when there is no working sound device or the soundfont cannot be loaded;
// `reason` then says why.
std::unique_ptr<MidiSink> openFluidSynthSink(const std::string& soundFontPath,
                                             std::string* reason = nullptr);

}  // namespace dadaz
