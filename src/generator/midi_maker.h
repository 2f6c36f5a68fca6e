#pragma once

#include <cstdint>
#include <string>

namespace dadaz::gen {

// What a made MIDI file holds, for the callers that check it.
struct MidiShape {
    int tracks = 0;  // conductor track included
    int ticksPerQuarter = 0;
    double seconds = 0;  // playing time from the tempo map
};

// A real Standard MIDI File, format 1: a conductor track (time signature, tempo, a later tempo
// change) and 2 to 4 note tracks (program change, notes, sometimes running status), 3 to 20
// seconds long. The same seed gives the same bytes. `extraText` (non-empty) is stored as a
// copyright event in the conductor track, which makes the file longer by about its length.
std::string makeMidiFile(std::uint64_t seed, const std::string& extraText = {},
                         MidiShape* shape = nullptr);

// A cursor file: opaque timing bytes whose size follows the lyric, as the players' files do.
std::string makeCursorFile(std::uint64_t seed, std::size_t lyricBytes);

}  // namespace dadaz::gen
