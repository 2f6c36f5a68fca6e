#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "generator/midi_maker.h"

namespace dadaz::gen {
namespace {

// A strict reader of what a MIDI player needs: chunk framing, delta times, running status,
// meta and channel events, and the tempo map for the playing time.
struct ParsedMidi {
    int format = -1;
    int declaredTracks = 0;
    int division = 0;
    int trackChunks = 0;
    int tempoEvents = 0;
    int noteOns = 0;
    int runningStatusEvents = 0;
    bool everyTrackEnds = true;
    double seconds = 0;
    std::string error;
};

std::uint32_t bigEndian(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

ParsedMidi parseMidi(const std::string& b) {
    ParsedMidi m;
    if (b.size() < 14 || b.compare(0, 4, "MThd") != 0 || bigEndian(b, 4, 4) != 6) {
        m.error = "bad header";
        return m;
    }
    m.format = static_cast<int>(bigEndian(b, 8, 2));
    m.declaredTracks = static_cast<int>(bigEndian(b, 10, 2));
    m.division = static_cast<int>(bigEndian(b, 12, 2));
    struct Tempo {
        std::uint32_t tick, micros;
    };
    std::vector<Tempo> tempos;
    std::uint32_t lastTick = 0;
    std::size_t pos = 14;
    while (pos < b.size()) {
        if (pos + 8 > b.size() || b.compare(pos, 4, "MTrk") != 0) {
            m.error = "bad chunk at " + std::to_string(pos);
            return m;
        }
        const std::size_t end = pos + 8 + bigEndian(b, pos + 4, 4);
        if (end > b.size()) {
            m.error = "chunk past the end";
            return m;
        }
        ++m.trackChunks;
        pos += 8;
        std::uint32_t tick = 0;
        int status = -1;
        bool ended = false;
        auto varLen = [&](std::uint32_t& v) {
            v = 0;
            for (int i = 0; i < 4 && pos < end; ++i) {
                const auto c = static_cast<unsigned char>(b[pos++]);
                v = (v << 7) | (c & 0x7F);
                if (!(c & 0x80)) return true;
            }
            return false;
        };
        while (pos < end && !ended) {
            std::uint32_t delta = 0;
            if (!varLen(delta)) {
                m.error = "bad delta";
                return m;
            }
            tick += delta;
            auto c = static_cast<unsigned char>(b[pos]);
            if (c == 0xFF) {
                const int type = static_cast<unsigned char>(b[pos + 1]);
                pos += 2;
                std::uint32_t len = 0;
                if (!varLen(len) || pos + len > end) {
                    m.error = "bad meta";
                    return m;
                }
                if (type == 0x51) {
                    ++m.tempoEvents;
                    tempos.push_back({tick, bigEndian(b, pos, 3)});
                }
                if (type == 0x2F) ended = true;
                pos += len;
                status = -1;
                continue;
            }
            if (c & 0x80) {
                status = c;
                ++pos;
            } else if (status < 0) {
                m.error = "data byte without status";
                return m;
            } else {
                ++m.runningStatusEvents;
            }
            const int kind = status & 0xF0;
            const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (pos + dataBytes > end) {
                m.error = "event past the chunk";
                return m;
            }
            if (kind == 0x90 && b[pos + 1] != 0) ++m.noteOns;
            for (int i = 0; i < dataBytes; ++i)
                if (static_cast<unsigned char>(b[pos + i]) & 0x80) m.error = "data byte >= 0x80";
            pos += dataBytes;
        }
        if (!ended || pos != end) m.everyTrackEnds = false;
        lastTick = std::max(lastTick, tick);
        pos = end;
    }
    double micros = 0;
    std::uint32_t at = 0, tempo = 500000;
    for (const Tempo& t : tempos) {
        micros += double(t.tick - at) * tempo / m.division;
        at = t.tick;
        tempo = t.micros;
    }
    micros += double(lastTick - at) * tempo / m.division;
    m.seconds = micros / 1e6;
    return m;
}

TEST(MidiMaker, FilesAreWellFormedFormatOneWithTempoChangeAndNotes) {
    std::set<int> trackCounts;
    std::set<std::size_t> sizes;
    int withRunningStatus = 0;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        MidiShape shape;
        const std::string bytes = makeMidiFile(seed, {}, &shape);
        const ParsedMidi m = parseMidi(bytes);
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_EQ(m.error, "");
        EXPECT_EQ(m.format, 1);
        EXPECT_EQ(m.declaredTracks, m.trackChunks);
        EXPECT_EQ(m.declaredTracks, shape.tracks);
        EXPECT_GE(m.trackChunks, 3);
        EXPECT_LE(m.trackChunks, 5);
        EXPECT_EQ(m.division, shape.ticksPerQuarter);
        EXPECT_TRUE(m.everyTrackEnds);
        EXPECT_GE(m.tempoEvents, 2);
        EXPECT_GT(m.noteOns, 0);
        EXPECT_GE(m.seconds, 3.0);
        EXPECT_LE(m.seconds, 21.5);
        EXPECT_NEAR(m.seconds, shape.seconds, 0.01);
        trackCounts.insert(m.trackChunks);
        sizes.insert(bytes.size() / 1000);
        if (m.runningStatusEvents > 0) ++withRunningStatus;
    }
    EXPECT_EQ(trackCounts.size(), 3u);
    EXPECT_GE(sizes.size(), 4u) << "sizes should vary";
    EXPECT_GT(withRunningStatus, 20);
    EXPECT_LT(withRunningStatus, 200);
}

TEST(MidiMaker, SameSeedSameBytesAndExtraTextChangesSizeSlightly) {
    EXPECT_EQ(makeMidiFile(42), makeMidiFile(42));
    EXPECT_NE(makeMidiFile(42), makeMidiFile(43));
    const std::string plain = makeMidiFile(42);
    const std::string marked = makeMidiFile(42, "(c) copy 7");
    EXPECT_EQ(parseMidi(marked).error, "");
    EXPECT_GT(marked.size(), plain.size());
    EXPECT_LT(marked.size() - plain.size(), 50u);
}

TEST(MidiMaker, CursorFilesFollowTheLyricSize) {
    EXPECT_EQ(makeCursorFile(5, 300), makeCursorFile(5, 300));
    EXPECT_GE(makeCursorFile(5, 300).size(), 600u);
    EXPECT_LT(makeCursorFile(5, 100).size(), makeCursorFile(5, 1000).size());
}

}  // namespace
}  // namespace dadaz::gen
