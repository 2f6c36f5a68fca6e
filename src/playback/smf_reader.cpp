#include "playback/smf_reader.h"

#include <algorithm>

#include "platform/regular_file.h"

namespace dadaz {
namespace {

using Int128 = __int128;

constexpr std::uint32_t kDefaultUsPerQuarter = 500000;  // 120 beats per minute

struct TempoChange {
    std::uint64_t tick = 0;
    std::uint32_t usPerQuarter = 0;
};

// While parsing, an event's timeUs holds its tick; the times are set once all tracks are read.
struct ParseState {
    std::vector<MidiEvent> events;
    std::vector<TempoChange> tempos;
    std::string sysexBytes;
    std::uint64_t lastTick = 0;

    void checkRoom() const;
};

struct ParseError {
    std::string reason;
};

void ParseState::checkRoom() const {
    if (events.size() + tempos.size() >= kMaxMidiEvents) {
        throw ParseError{"more than " + std::to_string(kMaxMidiEvents) + " events"};
    }
}

std::uint32_t readU32(std::string_view bytes, std::size_t at) {
    return (std::uint32_t{static_cast<unsigned char>(bytes[at])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 2])} << 8) |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 3])};
}

std::uint16_t readU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[at]) << 8) |
                                      static_cast<unsigned char>(bytes[at + 1]));
}

// Reads one track chunk's body; `data` is exactly the chunk's bytes.
class TrackReader {
  public:
    TrackReader(std::string_view data, std::uint32_t track, ParseState& state)
        : data_(data), track_(track), state_(state) {}

    void read() {
        std::uint64_t tick = 0;
        std::uint8_t runningStatus = 0;
        while (pos_ < data_.size()) {
            tick += readVarLen();
            state_.lastTick = std::max(state_.lastTick, tick);
            std::uint8_t status = peekByte();
            if (status == 0xFF) {
                ++pos_;
                if (readMeta(tick)) return;  // end of track
            } else if (status == 0xF0 || status == 0xF7) {
                ++pos_;
                readSysEx(tick, status);
            } else if (status >= 0xF0) {
                fail("unexpected system message in a track");
            } else {
                if (status >= 0x80) {
                    ++pos_;
                    runningStatus = status;
                } else if (runningStatus == 0) {
                    fail("running status without a previous status");
                } else {
                    status = runningStatus;
                }
                readChannelMessage(tick, status);
            }
        }
    }

  private:
    [[noreturn]] void fail(const std::string& reason) {
        throw ParseError{"track " + std::to_string(track_ + 1) + ": " + reason};
    }

    std::uint8_t peekByte() {
        if (pos_ >= data_.size()) fail("event cut off at the end of the track");
        return static_cast<std::uint8_t>(data_[pos_]);
    }
    std::uint8_t nextByte() {
        std::uint8_t b = peekByte();
        ++pos_;
        return b;
    }

    // A variable-length quantity of at most four bytes.
    std::uint32_t readVarLen() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = nextByte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        fail("variable-length number longer than four bytes");
    }

    std::string_view take(std::uint32_t length) {
        if (length > data_.size() - pos_) fail("event longer than its track");
        std::string_view part = data_.substr(pos_, length);
        pos_ += length;
        return part;
    }

    // True at the end-of-track event.
    bool readMeta(std::uint64_t tick) {
        std::uint8_t type = nextByte();
        std::string_view body = take(readVarLen());
        if (type == 0x2F) return true;
        if (type == 0x51 && body.size() >= 3) {
            std::uint32_t usPerQuarter =
                (std::uint32_t{static_cast<unsigned char>(body[0])} << 16) |
                (std::uint32_t{static_cast<unsigned char>(body[1])} << 8) |
                std::uint32_t{static_cast<unsigned char>(body[2])};
            state_.checkRoom();
            state_.tempos.push_back({tick, usPerQuarter});
        }
        return false;
    }

    void readSysEx(std::uint64_t tick, std::uint8_t status) {
        std::string_view body = take(readVarLen());
        // Only complete messages go to the synthesizer; F7 escapes and split packets are
        // rare in songs and are skipped.
        if (status != 0xF0 || body.empty() || static_cast<unsigned char>(body.back()) != 0xF7) {
            return;
        }
        body.remove_suffix(1);
        state_.checkRoom();
        MidiEvent event;
        event.timeUs = static_cast<std::int64_t>(tick);
        event.status = 0xF0;
        event.sysexOffset = static_cast<std::uint32_t>(state_.sysexBytes.size());
        event.sysexLength = static_cast<std::uint32_t>(body.size());
        state_.sysexBytes.append(body);
        state_.events.push_back(event);
    }

    void readChannelMessage(std::uint64_t tick, std::uint8_t status) {
        state_.checkRoom();
        MidiEvent event;
        event.timeUs = static_cast<std::int64_t>(tick);
        event.status = status;
        event.data1 = nextByte();
        std::uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) event.data2 = nextByte();
        if (event.data1 >= 0x80 || event.data2 >= 0x80) fail("data byte out of range");
        state_.events.push_back(event);
    }

    std::string_view data_;
    std::uint32_t track_;
    ParseState& state_;
    std::size_t pos_ = 0;
};

// Converts ticks to microseconds: time = numerator(tick) / denominator, exactly.
class TimeMap {
  public:
    // Ticks per quarter note, with the tempo changes in merged order.
    TimeMap(std::uint32_t ticksPerQuarter, std::vector<TempoChange> tempos)
        : denominator_(ticksPerQuarter) {
        segments_.push_back({0, kDefaultUsPerQuarter, 0});
        for (const auto& change : tempos) {
            Segment& last = segments_.back();
            if (change.tick == last.tick) {
                last.usPerQuarter = change.usPerQuarter;  // the later one at a tick wins
            } else {
                Int128 start = last.start + Int128(change.tick - last.tick) * last.usPerQuarter;
                segments_.push_back({change.tick, change.usPerQuarter, start});
            }
        }
    }
    // Frames per second (fpsNumerator / fpsDenominator) and ticks per frame.
    TimeMap(std::uint32_t fpsNumerator, std::uint32_t fpsDenominator, std::uint32_t ticksPerFrame)
        : denominator_(Int128(fpsNumerator) * ticksPerFrame) {
        segments_.push_back({0, 1'000'000u * fpsDenominator, 0});
    }

    // Exact time of `tick`, as a numerator over denominator() microseconds. Calls must come
    // in ascending tick order.
    Int128 numeratorAt(std::uint64_t tick) {
        while (next_ + 1 < segments_.size() && segments_[next_ + 1].tick <= tick) ++next_;
        const Segment& s = segments_[next_];
        return s.start + Int128(tick - s.tick) * s.usPerQuarter;
    }
    Int128 denominator() const { return denominator_; }
    void rewind() { next_ = 0; }

  private:
    struct Segment {
        std::uint64_t tick;
        std::uint32_t usPerQuarter;  // for SMPTE: microseconds per frame-tick numerator
        Int128 start;
    };
    std::vector<Segment> segments_;
    Int128 denominator_;
    std::size_t next_ = 0;
};

TimeMap makeTimeMap(std::uint16_t division, std::vector<TempoChange> tempos) {
    if ((division & 0x8000) == 0) {
        if (division == 0) throw ParseError{"zero ticks per quarter note"};
        // Stable: tempo changes at one tick keep track order, so the last track's one wins.
        std::stable_sort(
            tempos.begin(), tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        return TimeMap(division, std::move(tempos));
    }
    int frames = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
    std::uint32_t ticksPerFrame = division & 0xFF;
    if (ticksPerFrame == 0) throw ParseError{"zero ticks per frame"};
    switch (frames) {
        case 24:
        case 25:
        case 30:
            return TimeMap(frames, 1, ticksPerFrame);
        case 29:  // 29.97 frames per second (drop frame)
            return TimeMap(30000, 1001, ticksPerFrame);
        default:
            throw ParseError{"unknown SMPTE frame rate " + std::to_string(frames)};
    }
}

MidiSong parse(std::string_view bytes) {
    if (bytes.substr(0, 4) != "MThd") throw ParseError{"no MThd header"};
    if (bytes.size() < 14) throw ParseError{"truncated header"};
    std::uint32_t headerLength = readU32(bytes, 4);
    if (headerLength < 6 || headerLength > bytes.size() - 8) {
        throw ParseError{"bad header length"};
    }
    MidiSong song;
    song.format = readU16(bytes, 8);
    song.trackCount = readU16(bytes, 10);
    std::uint16_t division = readU16(bytes, 12);
    if (song.format == 2) throw ParseError{"format 2 (independent sequences) is not supported"};
    if (song.format > 2) throw ParseError{"unknown format " + std::to_string(song.format)};

    ParseState state;
    std::size_t pos = 8 + std::size_t{headerLength};
    int tracksRead = 0;
    while (tracksRead < song.trackCount) {
        if (bytes.size() - pos < 8) {
            throw ParseError{"truncated: " + std::to_string(tracksRead) + " of " +
                             std::to_string(song.trackCount) + " tracks"};
        }
        std::string_view id = bytes.substr(pos, 4);
        std::uint32_t length = readU32(bytes, pos + 4);
        pos += 8;
        if (length > bytes.size() - pos) {
            std::string shown(id);
            for (char& c : shown) c = (c >= 0x20 && c < 0x7F) ? c : '?';
            throw ParseError{"chunk \"" + shown + "\" runs past the end of the file"};
        }
        if (id == "MTrk") {
            TrackReader(bytes.substr(pos, length), static_cast<std::uint32_t>(tracksRead), state)
                .read();
            ++tracksRead;
        }  // other chunk kinds are skipped, as the format allows
        pos += length;
    }

    // Tracks were read one after another, so a stable sort by tick merges them with ties in
    // track order.
    std::stable_sort(state.events.begin(), state.events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.timeUs < b.timeUs; });
    TimeMap timeMap = makeTimeMap(division, std::move(state.tempos));
    const Int128 denominator = timeMap.denominator();
    const Int128 limit = Int128(kMaxMidiSongUs) * denominator;

    Int128 end = timeMap.numeratorAt(state.lastTick);
    if (end > limit) throw ParseError{"song longer than 100 hours"};
    timeMap.rewind();
    for (MidiEvent& event : state.events) {
        const auto tick = static_cast<std::uint64_t>(event.timeUs);
        event.timeUs = static_cast<std::int64_t>(timeMap.numeratorAt(tick) / denominator);
    }
    song.events = std::move(state.events);
    song.sysexBytes = std::move(state.sysexBytes);
    song.lengthUs = static_cast<std::int64_t>(end / denominator);
    song.lengthMs = static_cast<std::int64_t>((end + denominator * 500) / (denominator * 1000));
    return song;
}

const char* describeFault(MidiFileFault fault) {
    switch (fault) {
        case MidiFileFault::CannotOpen:
            return "cannot open the file";
        case MidiFileFault::NotAFile:
            return "not a regular file";
        case MidiFileFault::TooLarge:
            return "file too large for a MIDI song";
        case MidiFileFault::None:
        case MidiFileFault::Malformed:
            break;
    }
    return "cannot read the file";
}

// Reads a regular file of at most `maxBytes` into `bytes` (only its first `maxBytes` when
// `prefixOnly`). Anything else is refused before a byte is read: opening without blocking
// and checking the opened file means a named pipe or device can never hang the caller.
MidiFileFault readSmallRegularFile(const std::string& path, std::size_t maxBytes,
                                   std::string& bytes, bool prefixOnly = false) {
    const RegularFile file(path);
    if (file.state() == RegularFile::State::CannotOpen) return MidiFileFault::CannotOpen;
    if (file.state() == RegularFile::State::NotAFile) return MidiFileFault::NotAFile;
    if (file.size() > maxBytes && !prefixOnly) return MidiFileFault::TooLarge;
    // Read to the end, so a file that grew since it was opened is measured by what it holds.
    bytes.clear();
    bytes.reserve(std::min<std::size_t>(static_cast<std::size_t>(file.size()), maxBytes));
    char buffer[1 << 16];
    while (bytes.size() <= maxBytes) {
        const std::size_t room = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
        const ssize_t n = file.read(buffer, room);
        if (n < 0) return MidiFileFault::CannotOpen;
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (bytes.size() > maxBytes) {
        if (!prefixOnly) return MidiFileFault::TooLarge;
        bytes.resize(maxBytes);
    }
    return MidiFileFault::None;
}

}  // namespace

std::optional<MidiSong> parseMidiFile(std::string_view bytes, std::string* error) {
    try {
        return parse(bytes);
    } catch (const ParseError& e) {
        if (error) *error = e.reason;
    } catch (const std::bad_alloc&) {
        if (error) *error = "out of memory";
    }
    return std::nullopt;
}

std::optional<MidiSong> readMidiFile(const std::string& path, std::string* error,
                                     MidiFileFault* fault) {
    std::string bytes;
    const MidiFileFault readFault = readSmallRegularFile(path, kMaxMidiFileBytes, bytes);
    if (readFault != MidiFileFault::None) {
        if (fault) *fault = readFault;
        if (error) *error = describeFault(readFault);
        return std::nullopt;
    }
    auto song = parseMidiFile(bytes, error);
    if (fault) *fault = song ? MidiFileFault::None : MidiFileFault::Malformed;
    return song;
}

bool startsWithMidiHeader(const std::string& path) {
    std::string head;
    if (readSmallRegularFile(path, 4, head, true) != MidiFileFault::None) return false;
    return head == "MThd";
}

}  // namespace dadaz
