#include "playback/smf_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;

MidiSong parseOk(const std::string& bytes) {
    std::string error;
    auto song = parseMidiFile(bytes, &error);
    EXPECT_TRUE(song.has_value()) << error;
    return song.value_or(MidiSong{});
}

std::string parseError(const std::string& bytes) {
    std::string error;
    auto song = parseMidiFile(bytes, &error);
    EXPECT_FALSE(song.has_value());
    EXPECT_FALSE(error.empty());
    return error;
}

// 4/4 at 480 ticks per quarter note: bars 1-2 at 120 beats per minute (8 beats of 500 ms),
// bar 3 at 60 (4 beats of 1000 ms): 8000 ms in all.
std::string tempoChangeAtBarThree() {
    std::string conductor = tempo(0, 500000) + event(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}) +
                            tempo(3840, 1000000) + endOfTrack(0);
    std::string notes = event(0, {0xC0, 5}) + noteOn(0, 60) + noteOff(480, 60) +
                        noteOn(3840, 62) +                   // tick 4320: bar 3, beat 2
                        noteOff(480, 62) + endOfTrack(960);  // ticks 4800 and 5760
    return header(1, 2, 480) + track(conductor) + track(notes);
}

TEST(SmfReaderTest, TempoChangeFromBarThree) {
    MidiSong song = parseOk(tempoChangeAtBarThree());
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.trackCount, 2);
    EXPECT_EQ(song.lengthMs, 8000);
    EXPECT_EQ(song.lengthUs, 8'000'000);
    ASSERT_EQ(song.events.size(), 5u);
    EXPECT_EQ(song.events[0].status, 0xC0);
    EXPECT_EQ(song.events[0].data1, 5);
    EXPECT_EQ(song.events[1].timeUs, 0);
    EXPECT_EQ(song.events[2].timeUs, 500'000);
    EXPECT_EQ(song.events[3].timeUs, 5'000'000);
    EXPECT_EQ(song.events[4].timeUs, 6'000'000);
}

TEST(SmfReaderTest, TempoChangeInAnyTrackAppliesToAll) {
    // No tempo in the first track (120 by default); the third sets 240 at tick 960.
    std::string bytes = header(1, 3, 480) + track(endOfTrack(0)) +
                        track(noteOn(0, 60) + noteOff(1920, 60) + endOfTrack(0)) +
                        track(tempo(960, 250000) + endOfTrack(0));
    MidiSong song = parseOk(bytes);
    EXPECT_EQ(song.lengthMs, 1500);  // 960 ticks of 1000 ms, 960 of 500 ms
    ASSERT_EQ(song.events.size(), 2u);
    EXPECT_EQ(song.events[1].timeUs, 1'500'000);
}

TEST(SmfReaderTest, LengthIsTheLastEventOfAnyTrackEndOfTrackIncluded) {
    std::string bytes = header(1, 2, 500) + track(tempo(0, 500000) + endOfTrack(3000)) +
                        track(noteOn(0, 60) + noteOff(1000, 60) + endOfTrack(0));
    EXPECT_EQ(parseOk(bytes).lengthMs, 3000);
}

TEST(SmfReaderTest, FormatZeroWithRunningStatus) {
    // 100 beats per minute, 96 ticks per quarter note: one tick is 6.25 ms.
    std::string body = tempo(0, 600000) + event(0, {0x91, 60, 100}) + event(0, {62, 90}) +
                       event(96, {60, 0}) + event(0, {62, 0}) + event(48, {0xE1, 0x00, 0x40}) +
                       event(0, {0x10, 0x41}) + endOfTrack(240);
    MidiSong song = parseOk(header(0, 1, 96) + track(body));
    ASSERT_EQ(song.events.size(), 6u);
    EXPECT_EQ(song.events[1].status, 0x91);
    EXPECT_EQ(song.events[1].data1, 62);
    EXPECT_EQ(song.events[1].data2, 90);
    EXPECT_EQ(song.events[2].timeUs, 600'000);
    EXPECT_EQ(song.events[3].status, 0x91);
    EXPECT_EQ(song.events[5].status, 0xE1);
    EXPECT_EQ(song.events[5].data1, 0x10);
    EXPECT_EQ(song.events[5].timeUs, 900'000);
    EXPECT_EQ(song.lengthMs, 2400);  // 384 ticks
}

TEST(SmfReaderTest, MetaAndSysExEventsAreReadPast) {
    std::string body = event(0, {0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'}) +
                       event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) +  // GM System On
                       event(0, {0xF7, 0x02, 0xF3, 0x01}) +                    // escape: skipped
                       noteOn(0, 60) + event(10, {0xFF, 0x01, 0x02, 'l', 'a'}) +
                       event(0, {61, 100}) +  // running status across a meta event
                       event(0, {0xFF, 0x7F, 0x00}) + endOfTrack(490);
    MidiSong song = parseOk(header(0, 1, 500) + track(body));
    ASSERT_EQ(song.events.size(), 3u);
    EXPECT_EQ(song.events[0].status, 0xF0);
    EXPECT_EQ(song.sysexBytes.substr(song.events[0].sysexOffset, song.events[0].sysexLength),
              bytes({0x7E, 0x7F, 0x09, 0x01}));
    EXPECT_EQ(song.events[2].status, 0x90);
    EXPECT_EQ(song.events[2].data1, 61);
    EXPECT_EQ(song.events[2].timeUs, 10'000);
    EXPECT_EQ(song.lengthMs, 500);
}

TEST(SmfReaderTest, TracksMergeInTimeOrderWithTiesInTrackOrder) {
    std::string bytes = header(1, 2, 500) +
                        track(noteOn(0, 60) + noteOn(20, 61) + noteOff(10, 60) + endOfTrack(0)) +
                        track(noteOn(10, 70) + noteOn(10, 71) + endOfTrack(0));
    MidiSong song = parseOk(bytes);
    std::vector<int> keys;
    for (const auto& e : song.events) keys.push_back(e.data1);
    EXPECT_EQ(keys, (std::vector<int>{60, 70, 61, 71, 60}));
}

TEST(SmfReaderTest, SmpteDivisionIgnoresTempo) {
    // 25 frames of 40 ticks: one tick is one millisecond, whatever the tempo says.
    std::string body = tempo(0, 1000000) + noteOn(0, 60) + noteOff(1000, 60) + endOfTrack(1500);
    MidiSong song = parseOk(header(0, 1, smpteDivision(25, 40)) + track(body));
    EXPECT_EQ(song.events[1].timeUs, 1'000'000);
    EXPECT_EQ(song.lengthMs, 2500);

    // 29.97 frames per second (drop frame), 100 ticks a frame: 300 frames last 10.01 s.
    song = parseOk(header(0, 1, smpteDivision(29, 100)) + track(endOfTrack(30000)));
    EXPECT_EQ(song.lengthMs, 10010);
    // 24 and 30 frames per second.
    EXPECT_EQ(parseOk(header(0, 1, smpteDivision(24, 8)) + track(endOfTrack(48))).lengthMs, 250);
    EXPECT_EQ(parseOk(header(0, 1, smpteDivision(30, 10)) + track(endOfTrack(450))).lengthMs, 1500);
}

TEST(SmfReaderTest, TimesDoNotDriftOverManyUnevenTicks) {
    // 7 ticks a quarter note at 60 beats per minute: a tick is 142857.14... microseconds.
    std::string body;
    for (int i = 0; i < 7000; ++i) body += noteOn(1, 60);
    MidiSong song = parseOk(header(0, 1, 7) + track(tempo(0, 1000000) + body + endOfTrack(0)));
    EXPECT_EQ(song.events.back().timeUs, 1'000'000'000);
    EXPECT_EQ(song.events[0].timeUs, 142'857);
    EXPECT_EQ(song.lengthMs, 1'000'000);
}

TEST(SmfReaderTest, LengthRoundsToTheNearestMillisecond) {
    // 3 ticks a quarter note of 1000 us: 5 ticks last 1666.67 us.
    MidiSong song = parseOk(header(0, 1, 3) + track(tempo(0, 1000) + endOfTrack(5)));
    EXPECT_EQ(song.lengthUs, 1666);
    EXPECT_EQ(song.lengthMs, 2);
}

TEST(SmfReaderTest, LaterTempoAtTheSameTickWins) {
    std::string bytes =
        header(0, 1, 500) + track(tempo(0, 1000000) + tempo(0, 500000) + endOfTrack(1000));
    EXPECT_EQ(parseOk(bytes).lengthMs, 1000);
}

TEST(SmfReaderTest, AcceptsWhatTheFormatAllows) {
    // A longer header, an unknown chunk before the track, a track without end-of-track and
    // bytes after the end-of-track event.
    std::string bytes = "MThd" + u32(8) + u16(0) + u16(1) + u16(500) + u16(0) + "XFIH" + u32(3) +
                        "abc" + track(noteOn(0, 60) + noteOff(700, 60));
    EXPECT_EQ(parseOk(bytes).lengthMs, 700);
    bytes = header(0, 1, 500) + track(noteOn(0, 60) + endOfTrack(100) + "garbage");
    EXPECT_EQ(parseOk(bytes).lengthMs, 100);
    // No tracks at all: nothing to play, no time.
    EXPECT_EQ(parseOk(header(1, 0, 96)).lengthMs, 0);
}

TEST(SmfReaderTest, RefusesMalformedFiles) {
    const std::string good = tempoChangeAtBarThree();
    EXPECT_NE(parseError("").find("MThd"), std::string::npos);
    parseError("RIFF" + good.substr(4));
    parseError("MThd");
    parseError("MThd" + u32(0xFFFFFFFF) + u16(0) + u16(1) + u16(96));
    parseError("MThd" + u32(4) + u16(0) + u16(1) + u16(96));
    // Truncated at every length, the track chunks run past the end or are missing.
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(parseMidiFile(good.substr(0, n))) << "prefix " << n;
    }
    parseError(header(0, 1, 96) + "MTrk" + u32(0xFFFFFFFF) + endOfTrack(0));
    parseError(header(1, 3, 96) + track(endOfTrack(0)) + track(endOfTrack(0)));
    parseError(header(0, 1, 0) + track(endOfTrack(0)));                      // division 0
    parseError(header(0, 1, smpteDivision(26, 40)) + track(endOfTrack(0)));  // no such rate
    parseError(header(0, 1, smpteDivision(25, 0)) + track(endOfTrack(0)));
    EXPECT_NE(parseError(header(2, 1, 96) + track(endOfTrack(0))).find("format 2"),
              std::string::npos);
    parseError(header(3, 1, 96) + track(endOfTrack(0)));
    // Inside a track.
    parseError(header(0, 1, 96) + track(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F}) + endOfTrack(0)));
    parseError(header(0, 1, 96) + track(event(0, {60, 100}) + endOfTrack(0)));
    parseError(header(0, 1, 96) + track(event(0, {0x90, 60, 0x90}) + endOfTrack(0)));
    parseError(header(0, 1, 96) + track(event(0, {0xFF, 0x01, 0x7F, 'a'})));
    parseError(header(0, 1, 96) + track(event(0, {0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0xF7})));
    parseError(header(0, 1, 96) + track(event(0, {0xF8}) + endOfTrack(0)));
    parseError(header(0, 1, 96) + track(noteOn(0, 60) + varLen(5)));
}

TEST(SmfReaderTest, RefusesAbsurdLengths) {
    // Deltas of 0x0FFFFFFF ticks of about 16.8 s each add up past 100 hours.
    std::string body;
    for (int i = 0; i < 30; ++i) body += noteOn(0x0FFFFFFF, 60);
    EXPECT_NE(parseError(header(0, 1, 1) + track(tempo(0, 0xFFFFFF) + body)).find("100 hours"),
              std::string::npos);
}

TEST(SmfReaderTest, SurvivesDamagedBytes) {
    const std::string good = tempoChangeAtBarThree();
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = good;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        if (round % 3 == 0) bytes.resize(random() % (bytes.size() + 1));
        if (round % 5 == 0) {
            // Random bytes behind a plausible header.
            bytes = header(1, 1 + random() % 3, 96);
            for (std::size_t i = random() % 64; i > 0; --i) bytes.push_back(char(random() % 256));
        }
        auto song = parseMidiFile(bytes);
        if (song) {
            EXPECT_GE(song->lengthUs, 0);
            for (const auto& e : song->events) EXPECT_LE(e.timeUs, song->lengthUs);
        }
    }
}

TEST(SmfReaderTest, ReadsFilesAndReportsMissingOnes) {
    testing::TempDir dir;
    testing::writeBytes(dir / "song.mid", tempoChangeAtBarThree());
    auto song = readMidiFile(dir / "song.mid");
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthMs, 8000);
    std::string error;
    EXPECT_FALSE(readMidiFile(dir / "none.mid", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace dadaz
