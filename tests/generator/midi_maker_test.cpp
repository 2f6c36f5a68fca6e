#include "generator/midi_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "playback/smf_reader.h"

namespace dadaz::gen {
namespace {

// The files are read back by the player's own reader, which its tests hold to the standard.
TEST(MidiMaker, FilesAreStandardMidiOfVariedShapeWithTheLengthOfTheirTempoMap) {
    std::set<int> trackCounts;
    std::set<std::size_t> sizes;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        MidiShape shape;
        const std::string bytes = makeMidiFile(seed, {}, &shape);
        std::string error;
        const auto song = parseMidiFile(bytes, &error);
        ASSERT_TRUE(song) << error;
        EXPECT_EQ(song->format, 1);
        EXPECT_EQ(song->trackCount, shape.tracks);
        // The length follows from both tempos: a lost tempo change would show here.
        EXPECT_NEAR(song->lengthUs / 1e6, shape.seconds, 0.01);
        EXPECT_TRUE(shape.seconds >= 3.0 && shape.seconds <= 21.5) << shape.seconds;
        EXPECT_TRUE(std::any_of(song->events.begin(), song->events.end(), [](const MidiEvent& e) {
            return (e.status & 0xF0) == 0x90 && e.data2 > 0;
        }));
        trackCounts.insert(shape.tracks);
        sizes.insert(bytes.size() / 1000);
    }
    EXPECT_EQ(trackCounts, (std::set<int>{3, 4, 5}));
    EXPECT_GE(sizes.size(), 4u) << "sizes should vary";
}

TEST(MidiMaker, SameSeedSameBytesAndAnExtraTextAddsAFewBytes) {
    EXPECT_EQ(makeMidiFile(42), makeMidiFile(42));
    EXPECT_NE(makeMidiFile(42), makeMidiFile(43));
    const std::string marked = makeMidiFile(42, "(c) copy 7");
    EXPECT_TRUE(parseMidiFile(marked));
    EXPECT_GT(marked.size(), makeMidiFile(42).size());
    EXPECT_LT(marked.size(), makeMidiFile(42).size() + 50);
    // Cursor files: two bytes for each byte of the lyric, and a few more.
    EXPECT_EQ(makeCursorFile(5, 300), makeCursorFile(5, 300));
    EXPECT_GE(makeCursorFile(5, 300).size(), 600u);
    EXPECT_LT(makeCursorFile(5, 100).size(), makeCursorFile(5, 1000).size());
}

}  // namespace
}  // namespace dadaz::gen
