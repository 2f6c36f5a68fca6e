#include "playback/smf_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;
using Times = std::vector<std::int64_t>;

// 4/4 at 480 ticks per quarter note: bars 1-2 at 120 beats per minute (8 beats of 500 ms),
// bar 3 at 60 (4 beats of 1000 ms): 8000 ms in all.
std::string tempoChangeAtBarThree() {
    std::string conductor = tempo(0, 500000) + event(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}) +
                            tempo(3840, 1000000) + endOfTrack(0);
    std::string notes = event(0, {0xC0, 5}) + noteOn(0, 60) + noteOn(480, 60) + noteOn(3840, 62) +
                        noteOn(480, 62) + endOfTrack(960);
    return header(1, 2, 480) + track(conductor) + track(notes);
}

std::string unevenTicks() {  // 7 ticks a second: a tick is 142857.14... us
    std::string body;
    for (int i = 0; i < 7000; ++i) body += noteOn(1, 60);
    return header(0, 1, 7) + track(tempo(0, 1000000) + body + endOfTrack(0));
}

std::string eventFlood(std::size_t events) {  // running status, two bytes an event
    std::string body = noteOn(0, 60);
    body.reserve(events * 3);
    for (std::size_t i = 1; i < events; ++i) body += bytes({0, 60, 100});
    return header(0, 1, 96) + track(body);
}

TEST(SmfReaderTest, TimesFollowTheTempoMapOfEveryTrack) {
    const std::string ties =  // ties keep track order
        header(1, 2, 500) + track(noteOn(0, 60) + noteOn(20, 61) + endOfTrack(0)) +
        track(noteOn(10, 70) + noteOn(10, 71) + endOfTrack(0));
    const std::tuple<std::int64_t, Times, std::string> cases[] = {
        {8000, {0, 0, 500'000, 5'000'000, 6'000'000}, tempoChangeAtBarThree()},
        {1500,
         {0, 1'500'000},  // a tempo in the last track applies to all
         header(1, 3, 480) + track(endOfTrack(0)) +
             track(noteOn(0, 60) + noteOn(1920, 60) + endOfTrack(0)) +
             track(tempo(960, 250000) + endOfTrack(0))},
        {3000,
         {0, 1'000'000},  // the end of track counts
         header(1, 2, 500) + track(tempo(0, 500000) + endOfTrack(3000)) +
             track(noteOn(0, 60) + noteOn(1000, 60) + endOfTrack(0))},
        {20, {0, 10'000, 20'000, 20'000}, ties},
        {2500,
         {1'000'000},  // SMPTE ignores tempo
         header(0, 1, smpteDivision(25, 40)) +
             track(tempo(0, 1000000) + noteOn(1000, 60) + endOfTrack(1500))},
        {10010, {}, header(0, 1, smpteDivision(29, 100)) + track(endOfTrack(30000))},
        {1'000'000, {}, unevenTicks()},
        {2, {}, header(0, 1, 3) + track(tempo(0, 1000) + endOfTrack(5))},  // 1.67 ms rounded
        {1000,
         {},  // the later tempo at a tick wins
         header(0, 1, 500) + track(tempo(0, 1000000) + tempo(0, 500000) + endOfTrack(1000))},
        {700,
         {0, 700'000},  // long header, odd chunk, no end of track
         "MThd" + u32(8) + u16(0) + u16(1) + u16(500) + u16(0) + "XFIH" + u32(3) + "abc" +
             track(noteOn(0, 60) + noteOn(700, 60))},
        {100, {0}, header(0, 1, 500) + track(noteOn(0, 60) + endOfTrack(100) + "garbage")},
        {0, {}, header(1, 0, 96)},
    };
    for (const auto& [lengthMs, times, bytes] : cases) {
        std::string error;
        auto song = parseMidiFile(bytes, &error);
        ASSERT_TRUE(song) << error;
        EXPECT_EQ(song->lengthMs, lengthMs);
        Times read;
        for (const auto& e : song->events) read.push_back(e.timeUs);
        EXPECT_TRUE(times.empty() || read == times) << lengthMs;
    }
    EXPECT_EQ(parseMidiFile(unevenTicks())->events.back().timeUs, 1'000'000'000);
    EXPECT_EQ(parseMidiFile(ties)->events[2].data1, 61);
}

// Damaged songs the reader must refuse without reading out of bounds.
TEST(SmfReaderTest, RefusesMalformedFiles) {
    std::string absurd;  // deltas of about 16.8 s each, past 100 hours
    for (int i = 0; i < 30; ++i) absurd += noteOn(0x0FFFFFFF, 60);
    const std::pair<std::string, const char*> cases[] = {
        {"", "MThd"},
        {"MThd" + u32(0xFFFFFFFF) + u16(0) + u16(1) + u16(96), "header length"},
        {"MThd" + u32(4) + u16(0) + u16(1) + u16(96), ""},
        {header(0, 1, 96) + "MTrk" + u32(0xFFFFFFFF) + endOfTrack(0), "past the end"},
        {header(1, 3, 96) + track(endOfTrack(0)) + track(endOfTrack(0)), "truncated"},
        {header(0, 1, 0) + track(endOfTrack(0)), "zero ticks"},
        {header(0, 1, smpteDivision(26, 40)) + track(endOfTrack(0)), "frame rate"},
        {header(0, 1, smpteDivision(25, 0)) + track(endOfTrack(0)), "zero ticks"},
        {header(2, 1, 96) + track(endOfTrack(0)), "format 2"},
        {header(3, 1, 96) + track(endOfTrack(0)), "format"},
        {header(0, 1, 96) + track(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F}) + endOfTrack(0)), ""},
        {header(0, 1, 96) + track(event(0, {60, 100}) + endOfTrack(0)), "running status"},
        {header(0, 1, 96) + track(event(0, {0x90, 60, 0x90}) + endOfTrack(0)), "data byte"},
        {header(0, 1, 96) + track(event(0, {0xFF, 0x01, 0x7F, 'a'})), "longer than"},
        {header(0, 1, 96) + track(event(0, {0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0xF7})), ""},
        {header(0, 1, 96) + track(event(0, {0xF8}) + endOfTrack(0)), "system message"},
        {header(0, 1, 96) + track(noteOn(0, 60) + varLen(5)), "cut off"},
        {header(0, 1, 1) + track(tempo(0, 0xFFFFFF) + absurd), "100 hours"},
        {eventFlood(2'700'000), "events"},  // within 8 MiB, and 23 s and 2 GB to read
    };
    for (const auto& [bytes, reason] : cases) {
        std::string error;
        EXPECT_FALSE(parseMidiFile(bytes, &error)) << bytes.size() << " bytes";
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    const std::string good = tempoChangeAtBarThree();
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(parseMidiFile(good.substr(0, n)));
    EXPECT_TRUE(parseMidiFile(eventFlood(kMaxMidiEvents)));
}

TEST(SmfReaderTest, SurvivesDamagedBytes) {
    const std::string good = tempoChangeAtBarThree();
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = good;
        for (int i = 1 + static_cast<int>(random() % 4); i > 0; --i) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        if (round % 3 == 0) bytes.resize(random() % (bytes.size() + 1));
        if (round % 5 == 0) {  // random bytes behind a plausible header
            bytes = header(1, 1 + random() % 3, 96);
            for (std::size_t i = random() % 64; i > 0; --i) bytes.push_back(char(random() % 256));
        }
        if (auto song = parseMidiFile(bytes)) {
            for (const auto& e : song->events) EXPECT_LE(e.timeUs, song->lengthUs);
        }
    }
}

// Only regular files of a song's size are read: a named pipe would block the window for good.
TEST(SmfReaderTest, ReadsOnlyRegularFilesOfASongsSize) {
    testing::TempDir dir;
    const std::string song = tempoChangeAtBarThree();
    // Padded with an unknown chunk to the given size.
    auto padded = [&](std::size_t size) {
        return song + "Xpad" + u32(size - song.size() - 8) +
               std::string(size - song.size() - 8, '\0');
    };
    testing::writeBytes(dir / "song.mid", song);
    testing::writeBytes(dir / "limit.mid", padded(8 << 20));
    testing::writeBytes(dir / "over.mid", padded((8 << 20) + 1));
    ASSERT_EQ(::mkfifo((dir / "pipe.mid").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.mid");
    const std::pair<const char*, MidiFileFault> cases[] = {
        {"song.mid", MidiFileFault::None},       {"limit.mid", MidiFileFault::None},
        {"over.mid", MidiFileFault::TooLarge},   {"pipe.mid", MidiFileFault::NotAFile},
        {"folder.mid", MidiFileFault::NotAFile}, {"none.mid", MidiFileFault::CannotOpen},
    };
    for (const auto& [name, expected] : cases) {
        MidiFileFault fault = MidiFileFault::Malformed;
        std::string error;
        auto read = readMidiFile(dir / name, &error, &fault);
        EXPECT_EQ(fault, expected) << name;
        EXPECT_EQ(read ? read->lengthMs : !error.empty(), read ? 8000 : 1) << name;
        const bool regular = expected == MidiFileFault::None || expected == MidiFileFault::TooLarge;
        EXPECT_EQ(startsWithMidiHeader(dir / name), regular) << name;
    }
}

}  // namespace
}  // namespace dadaz
