// A Standard MIDI File of any bytes: refused with a reason, or a song whose events come in
// playing order within its length, each a well-formed message.
#include <cstdint>

#include "fuzz_support.h"
#include "playback/smf_reader.h"

using namespace dadaz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<MidiSong> song = parseMidiFile(bytes, &error);

    // The file on disk reads the same.
    const std::string path = fuzz::scratchFolder() + "/12345.MID";
    fuzz::writeBytes(path, bytes);
    MidiFileFault fault = MidiFileFault::None;
    const std::optional<MidiSong> read = readMidiFile(path, nullptr, &fault);
    FUZZ_CHECK(read.has_value() == song.has_value());
    FUZZ_CHECK(startsWithMidiHeader(path) == bytes.starts_with("MThd"));
    if (!song) {
        FUZZ_CHECK(!error.empty() && fault == MidiFileFault::Malformed);
        return 0;
    }
    FUZZ_CHECK(fault == MidiFileFault::None && read->events.size() == song->events.size() &&
               read->lengthUs == song->lengthUs && read->sysexBytes == song->sysexBytes);

    FUZZ_CHECK(song->format == 0 || song->format == 1);
    FUZZ_CHECK(song->events.size() <= kMaxMidiEvents);
    FUZZ_CHECK(song->lengthUs >= 0 && song->lengthUs <= kMaxMidiSongUs);
    FUZZ_CHECK(song->lengthMs * 1000 - 500 <= song->lengthUs &&
               song->lengthUs < song->lengthMs * 1000 + 500);
    std::int64_t last = 0;
    for (const MidiEvent& event : song->events) {
        FUZZ_CHECK(event.timeUs >= last && event.timeUs <= song->lengthUs);
        last = event.timeUs;
        if (event.status == 0xF0) {
            FUZZ_CHECK(std::uint64_t{event.sysexOffset} + event.sysexLength <=
                       song->sysexBytes.size());
            continue;
        }
        FUZZ_CHECK(event.status >= 0x80 && event.status <= 0xEF);
        FUZZ_CHECK(event.data1 < 0x80 && event.data2 < 0x80);
        const int kind = event.status & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) FUZZ_CHECK(event.data2 == 0);
    }
    return 0;
}
