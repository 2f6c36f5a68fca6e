#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

// One event to send to the synthesizer, timed from the start of the song.
struct MidiEvent {
    std::int64_t timeUs = 0;
    // A channel message status (0x80 to 0xEF), or 0xF0 for a complete System Exclusive message.
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    // SysEx only: the message body in MidiSong::sysexBytes, without F0 and the closing F7.
    std::uint32_t sysexOffset = 0;
    std::uint32_t sysexLength = 0;
};

// A Standard MIDI File (format 0 or 1) with all tracks merged into playing order. Times come
// from the file's own tempo map (tempo changes in any track apply to all) or, for SMPTE time
// division, from frames and ticks per frame.
struct MidiSong {
    int format = 0;
    int trackCount = 0;
    std::vector<MidiEvent> events;
    std::string sysexBytes;
    // When the last event of any track happens (end-of-track events included).
    std::int64_t lengthUs = 0;
    // The same, in whole milliseconds, rounded to the nearest.
    std::int64_t lengthMs = 0;
};

// Files past this size are refused unread: karaoke songs are a few hundred kilobytes.
inline constexpr std::size_t kMaxMidiFileBytes = 8u << 20;
// Songs hold tens of thousands of events; a file with more than this is refused, which also
// bounds the memory a file can make the reader take (about 50 bytes an event at the peak).
inline constexpr std::size_t kMaxMidiEvents = 1'000'000;
// A song whose events lie further apart than this is refused as damaged.
inline constexpr std::int64_t kMaxMidiSongUs = 100LL * 3600 * 1000 * 1000;

// Why a file gave no song.
enum class MidiFileFault {
    None,
    CannotOpen,  // missing or unreadable
    NotAFile,    // a folder, a named pipe, a device: never read, so it cannot block
    TooLarge,    // over kMaxMidiFileBytes
    Malformed,   // not a Standard MIDI File we can play (kMaxMidiEvents included)
};

// Parses a whole file. Anything malformed or truncated gives nothing and, when `error` is
// given, a short English reason; no input makes it read out of bounds.
std::optional<MidiSong> parseMidiFile(std::string_view bytes, std::string* error = nullptr);
// Reads and parses the file at `path`, a regular file of at most kMaxMidiFileBytes.
std::optional<MidiSong> readMidiFile(const std::string& path, std::string* error = nullptr,
                                     MidiFileFault* fault = nullptr);
// Whether `path` is a regular file whose first four bytes are "MThd".
bool startsWithMidiHeader(const std::string& path);

}  // namespace dadaz
