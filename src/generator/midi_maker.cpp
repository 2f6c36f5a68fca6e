#include "generator/midi_maker.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "generator/random.h"

namespace dadaz::gen {

namespace {

void putVarLen(std::string& out, std::uint32_t value) {
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0) bytes[n++] = static_cast<char>((value & 0x7F) | 0x80);
    while (n > 0) out += bytes[--n];
}

void putBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& body) {
    out.append(type, 4);
    putBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out += body;
}

void putMeta(std::string& track, std::uint32_t delta, int type, const std::string& data) {
    putVarLen(track, delta);
    track += static_cast<char>(0xFF);
    track += static_cast<char>(type);
    putVarLen(track, static_cast<std::uint32_t>(data.size()));
    track += data;
}

std::string tempoBytes(std::uint32_t microsPerQuarter) {
    std::string b;
    putBigEndian(b, microsPerQuarter, 3);
    return b;
}

struct NoteEvent {
    std::uint32_t tick;
    bool on;
    int key;
    int velocity;
};

// One note track: notes on one channel, written with or without running status.
std::string noteTrack(Random& r, int channel, std::uint32_t totalTicks, int ticksPerQuarter,
                      int notesPerBeat, int chordSize, const std::string& name) {
    std::string track;
    putMeta(track, 0, 0x03, name);
    const bool drums = channel == 9;
    putVarLen(track, 0);
    track += static_cast<char>(0xC0 | channel);
    track += static_cast<char>(drums ? 0 : r.between(0, 127));
    if (r.chance(500)) {  // channel volume
        putVarLen(track, 0);
        track += static_cast<char>(0xB0 | channel);
        track += static_cast<char>(7);
        track += static_cast<char>(r.between(60, 127));
    }

    std::vector<NoteEvent> events;
    const std::uint32_t step = static_cast<std::uint32_t>(ticksPerQuarter / notesPerBeat);
    const int low = drums ? 35 : r.between(36, 60);
    for (std::uint32_t t = 0; t + step <= totalTicks; t += step) {
        if (r.chance(150)) continue;  // a rest
        const std::uint32_t length = std::max<std::uint32_t>(1, step - step / 8);
        for (int c = 0; c < chordSize; ++c) {
            const int key = std::min(127, low + r.between(0, drums ? 22 : 24) + c * 4);
            const int velocity = r.between(50, 120);
            events.push_back({t, true, key, velocity});
            events.push_back({t + length, false, key, 0});
        }
    }
    // Note-offs before note-ons at the same tick, so a repeated key is released first.
    std::stable_sort(events.begin(), events.end(), [](const NoteEvent& a, const NoteEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : (!a.on && b.on);
    });

    // Some files use running status with note-on velocity 0 as note-off, others explicit
    // note-off messages with their status byte every time.
    const bool runningStatus = r.chance(600);
    int lastStatus = -1;
    std::uint32_t now = 0;
    for (const NoteEvent& e : events) {
        putVarLen(track, e.tick - now);
        now = e.tick;
        int status = (e.on || runningStatus ? 0x90 : 0x80) | channel;
        int velocity = e.on ? e.velocity : (runningStatus ? 0 : 64);
        if (!runningStatus || status != lastStatus) track += static_cast<char>(status);
        lastStatus = status;
        track += static_cast<char>(e.key);
        track += static_cast<char>(velocity);
    }
    putMeta(track, totalTicks > now ? totalTicks - now : 0, 0x2F, {});
    return track;
}

}  // namespace

std::string makeMidiFile(std::uint64_t seed, const std::string& extraText, MidiShape* shape) {
    Random r(seed);
    static const int kDivisions[] = {96, 120, 192, 240, 480};
    const int ticksPerQuarter = kDivisions[r.below(5)];
    const int noteTracks = r.between(2, 4);
    const bool big = r.chance(100);
    const double seconds = big ? r.between(12, 20) : r.between(3, 12);

    // Two tempos: the change comes after a whole number of bars in the first half.
    const int bpm1 = r.between(70, 160);
    const int bpm2 = std::clamp(bpm1 + r.between(-30, 30), 50, 200);
    const int beatsPerBar = r.chance(800) ? 4 : 3;
    const int totalBeatsGuess = std::max(4, static_cast<int>(seconds * bpm1 / 60.0));
    const int changeBeat = std::max(beatsPerBar, (totalBeatsGuess / 2 / beatsPerBar) * beatsPerBar);
    const double firstPart = changeBeat * 60.0 / bpm1;
    const double rest = std::max(1.0, seconds - firstPart);
    const int restBeats = std::max(1, static_cast<int>(std::ceil(rest * bpm2 / 60.0)));
    const std::uint32_t totalTicks =
        static_cast<std::uint32_t>((changeBeat + restBeats) * ticksPerQuarter);
    const std::uint32_t changeTick = static_cast<std::uint32_t>(changeBeat * ticksPerQuarter);

    std::string conductor;
    putMeta(conductor, 0, 0x03, "Conductor");
    if (!extraText.empty()) putMeta(conductor, 0, 0x02, extraText);
    putMeta(conductor, 0, 0x58,
            std::string{static_cast<char>(beatsPerBar), 2, 24, 8});  // n/4, 24 clocks, 8 32nds
    putMeta(conductor, 0, 0x51, tempoBytes(60000000u / static_cast<std::uint32_t>(bpm1)));
    putMeta(conductor, changeTick, 0x51, tempoBytes(60000000u / static_cast<std::uint32_t>(bpm2)));
    putMeta(conductor, totalTicks - changeTick, 0x2F, {});

    std::string file;
    std::string header;
    putBigEndian(header, 1, 2);
    putBigEndian(header, static_cast<std::uint32_t>(noteTracks + 1), 2);
    putBigEndian(header, static_cast<std::uint32_t>(ticksPerQuarter), 2);
    putChunk(file, "MThd", header);
    putChunk(file, "MTrk", conductor);
    static const char* kNames[] = {"Melody", "Bass", "Chords", "Drums"};
    for (int t = 0; t < noteTracks; ++t) {
        const int channel = t == 3 ? 9 : t;
        const int density = big ? r.between(2, 4) : r.between(1, 4);
        const int chord = t == 2 ? (big ? 4 : 2) : (big && t == 0 ? 2 : 1);
        putChunk(file, "MTrk",
                 noteTrack(r, channel, totalTicks, ticksPerQuarter, density, chord, kNames[t]));
    }
    if (shape) {
        shape->tracks = noteTracks + 1;
        shape->ticksPerQuarter = ticksPerQuarter;
        shape->seconds = firstPart + restBeats * 60.0 / bpm2;
    }
    return file;
}

std::string makeCursorFile(std::uint64_t seed, std::size_t lyricBytes) {
    Random r(seed);
    // A rising tick per lyric character, two bytes each, after a short header.
    std::string out;
    const std::size_t count = lyricBytes + r.below(64);
    out.reserve(8 + 2 * count);
    out += "CUR";
    out += static_cast<char>(1);
    putBigEndian(out, static_cast<std::uint32_t>(count), 4);
    std::uint32_t tick = 0;
    for (std::size_t i = 0; i < count; ++i) {
        tick += static_cast<std::uint32_t>(r.between(2, 40));
        out += static_cast<char>(tick & 0xFF);
        out += static_cast<char>((tick >> 8) & 0xFF);
    }
    return out;
}

}  // namespace dadaz::gen
