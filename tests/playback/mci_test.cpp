#include "playback/mci.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "playback/recording_sink.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;
using testing::RecordingSink;
using testing::SinkLog;

std::string inQuotes(const std::string& path) {
    return "\"" + path + "\"";
}

// A silent device on a clock that moves only when told.
class MciTest : public ::testing::Test {
  protected:
    MciTest() : mci_(MciOptions::silent(&clock_)) {}

    std::string song(const std::string& name, const std::string& bytes) {
        std::string path = dir_ / name;
        testing::writeBytes(path, bytes);
        return path;
    }
    std::string reply(const std::string& command) {
        MciReply r = mci_.send(command);
        EXPECT_TRUE(r.ok()) << command << ": " << describeMciError(r.error);
        return r.text;
    }
    MciError error(const std::string& command) { return mci_.send(command).error; }

    testing::TempDir dir_;
    ManualPlaybackClock clock_;
    Mci mci_;
};

TEST_F(MciTest, OpensPlaysAndReportsLengthAndPositionInMilliseconds) {
    std::string path = song("my songs/song one.mid", songOfLength(65000));
    reply("Open " + inQuotes(path) + " alias MidiFile");
    reply("Play MidiFile");
    reply("Set MidiFile time format milliseconds");
    EXPECT_EQ(reply("Status MidiFile length"), "65000");
    EXPECT_EQ(reply("Status MidiFile position"), "0");
    clock_.advanceMs(1500);
    EXPECT_EQ(reply("Status MidiFile Position"), "1500");
    EXPECT_EQ(reply("Status MidiFile mode"), "playing");
    clock_.advanceMs(70000);
    EXPECT_EQ(reply("Status MidiFile position"), "65000");  // held at the length
    EXPECT_EQ(reply("Status MidiFile mode"), "stopped");
}

TEST_F(MciTest, PositionReachesALengthRoundedUp) {
    // 1666.67 us long: the length is 2 ms, and the position must become exactly that.
    std::string path = song("short.mid", header(0, 1, 3) + track(tempo(0, 1000) + endOfTrack(5)));
    reply("open " + path + " alias s");
    EXPECT_EQ(reply("status s length"), "2");
    reply("play s");
    clock_.advanceUs(1665);
    EXPECT_EQ(reply("status s position"), "1");
    clock_.advanceUs(1);
    EXPECT_EQ(reply("status s position"), "2");
}

TEST_F(MciTest, StopKeepsThePositionAndCloseForgetsTheDevice) {
    std::string path = song("a.mid", songOfLength(10000));
    reply("Open " + path + " alias MidiFile");
    reply("Play MidiFile");
    clock_.advanceMs(2500);
    reply("Stop MidiFile");
    clock_.advanceMs(3000);
    EXPECT_EQ(reply("Status MidiFile position"), "2500");
    EXPECT_EQ(reply("Status MidiFile mode"), "stopped");
    reply("Close MidiFile");
    EXPECT_EQ(error("Status MidiFile position"), MciError::InvalidDevice);
    EXPECT_EQ(error("Stop MidiFile"), MciError::InvalidDevice);
    // The alias is free again.
    reply("Open " + path + " alias MidiFile");
}

TEST_F(MciTest, KeywordsAndAliasesIgnoreCase) {
    std::string path = song("a.mid", songOfLength(3000));
    reply("OPEN " + path + " ALIAS MidiFile TYPE Sequencer");
    reply("pLaY midifile");
    reply("SET MIDIFILE TIME FORMAT MS");
    EXPECT_EQ(reply("sTaTuS mIdIfIlE LENGTH"), "3000");
    reply("CLOSE ALL");
    EXPECT_EQ(error("status MidiFile length"), MciError::InvalidDevice);
}

TEST_F(MciTest, ReportsErrorsWithoutActing) {
    std::string path = song("a.mid", songOfLength(3000));
    EXPECT_EQ(error(""), MciError::UnrecognizedCommand);
    EXPECT_EQ(error("Rewind MidiFile"), MciError::UnrecognizedCommand);
    EXPECT_EQ(error("Open"), MciError::MissingParameter);
    EXPECT_EQ(error("Open \"" + path + " alias x"), MciError::MissingParameter);
    EXPECT_EQ(error("Open " + path + " alias"), MciError::MissingParameter);
    EXPECT_EQ(error("Open " + path + " type waveaudio"), MciError::UnrecognizedKeyword);
    EXPECT_EQ(error("Open " + path + " alias x loudly"), MciError::UnrecognizedKeyword);
    EXPECT_EQ(error("Open " + dir_ / "none.mid" + " alias x"), MciError::CannotOpenFile);
    std::string damaged = song("damaged.mid", songOfLength(3000).substr(0, 30));
    EXPECT_EQ(error("Open " + damaged + " alias x"), MciError::CannotOpenFile);
    EXPECT_EQ(error("Play x"), MciError::CannotOpenFile);  // neither open nor a file

    reply("Open " + path + " alias x");
    EXPECT_EQ(error("Open " + path + " alias X"), MciError::DuplicateAlias);
    EXPECT_EQ(error("Set x time format smpte 25"), MciError::MissingParameter);
    EXPECT_EQ(error("Set x time format frames"), MciError::BadTimeFormat);
    EXPECT_EQ(error("Set x audio all off"), MciError::UnrecognizedKeyword);
    EXPECT_EQ(error("Status x volume"), MciError::UnrecognizedKeyword);
    EXPECT_EQ(error("Play x from 0"), MciError::UnrecognizedKeyword);
    EXPECT_EQ(reply("Status x mode"), "stopped");
}

TEST_F(MciTest, PlayByFileNameWithWaitReturnsAtTheLastEventAndCloses) {
    std::string path = song("wait me.mid", songOfLength(1234));
    std::int64_t before = clock_.nowUs();
    reply("Play " + inQuotes(path) + " wait");
    EXPECT_EQ(clock_.nowUs() - before, 1'234'000);
    EXPECT_EQ(error("Status " + inQuotes(path) + " length"), MciError::InvalidDevice);
}

TEST_F(MciTest, PlayByFileNameWithoutWaitIsClosedByStop) {
    std::string path = song("a.mid", songOfLength(5000));
    reply("Play " + path);
    EXPECT_EQ(reply("Status " + path + " mode"), "playing");
    reply("Stop " + path);
    EXPECT_EQ(error("Status " + path + " mode"), MciError::InvalidDevice);
}

TEST_F(MciTest, OnlyOneSongSoundsAtATime) {
    reply("Open " + song("a.mid", songOfLength(10000)) + " alias a");
    reply("Open " + song("b.mid", songOfLength(10000)) + " alias b");
    reply("Play a");
    clock_.advanceMs(1000);
    reply("Play b");
    clock_.advanceMs(2000);
    EXPECT_EQ(reply("Status a mode"), "stopped");
    EXPECT_EQ(reply("Status a position"), "1000");
    EXPECT_EQ(reply("Status b position"), "2000");
}

TEST(MciSoundTest, SendsEveryEventInOrderAndTheResetMessage) {
    testing::TempDir dir;
    auto log = std::make_shared<SinkLog>();
    ManualPlaybackClock clock;
    Mci mci(MciOptions::withSink(&clock, RecordingSink::factory(log)));
    testing::writeBytes(dir / "reset.mid", resetFileBytes());
    std::string body = event(0, {0xC1, 7}) + noteOn(0, 60, 1) + event(250, {0xE1, 0x00, 0x40}) +
                       noteOff(250, 60, 1) + endOfTrack(0);
    testing::writeBytes(dir / "song.mid", header(0, 1, 500) + track(body));

    ASSERT_TRUE(mci.send("Play " + dir / "reset.mid" + " wait").ok());
    ASSERT_TRUE(mci.send("Play " + dir / "song.mid" + " wait").ok());
    EXPECT_EQ(log->snapshot(), (std::vector<std::string>{"F0 41 10 42 12 40 00 7F 00 41", "C1 07",
                                                         "91 3C 64", "E1 00 40", "81 3C 00"}));
    EXPECT_EQ(log->opened, 1);  // the synthesizer is opened once
}

TEST(MciSoundTest, StopSilencesAndNothingOfTheStoppedSongFollows) {
    testing::TempDir dir;
    auto log = std::make_shared<SinkLog>();
    ManualPlaybackClock clock;
    Mci mci(MciOptions::withSink(&clock, RecordingSink::factory(log)));
    testing::writeBytes(dir / "long.mid",
                        header(0, 1, 500) + track(noteOn(0, 60) + noteOn(60000, 61) +
                                                  noteOff(1000, 61) + endOfTrack(0)));
    testing::writeBytes(dir / "short.mid",
                        header(0, 1, 500) + track(noteOn(10, 70) + endOfTrack(0)));
    ASSERT_TRUE(mci.send("Open " + dir / "long.mid" + " alias MidiFile").ok());
    ASSERT_TRUE(mci.send("Play MidiFile").ok());
    clock.advanceMs(30000);
    ASSERT_TRUE(mci.send("Stop MidiFile").ok());
    EXPECT_EQ(log->silences, 1);
    clock.advanceMs(60000);
    ASSERT_TRUE(mci.send("Play " + dir / "short.mid" + " wait").ok());
    auto messages = log->snapshot();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "90 3D 64"), 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "90 46 64");
}

TEST(MciSoundTest, ClosesCleanlyWhileASongPlays) {
    testing::TempDir dir;
    auto log = std::make_shared<SinkLog>();
    testing::writeBytes(dir / "long.mid", songOfLength(600000));
    {
        Mci mci(MciOptions::withSink(nullptr, RecordingSink::factory(log)));  // real time
        ASSERT_TRUE(mci.send("Open " + dir / "long.mid" + " alias MidiFile").ok());
        ASSERT_TRUE(mci.send("Play MidiFile").ok());
    }
    EXPECT_EQ(log->opened, 1);
}

TEST(MciSoundTest, FluidSynthPlaysOrKeepsTimeSilently) {
    std::string reason;
    EXPECT_FALSE(openFluidSynthSink("/nonexistent/none.sf2", &reason));
    EXPECT_NE(reason.find("not found"), std::string::npos);

    // On this machine's sound device if it has one, else silently: either way in real time.
    testing::TempDir dir;
    testing::writeBytes(dir / "reset.mid", resetFileBytes());
    testing::writeBytes(dir / "short.mid", songOfLength(50));
    Mci mci;
    EXPECT_TRUE(mci.send("Play " + dir / "reset.mid" + " wait").ok());
    ASSERT_TRUE(mci.send("Open " + dir / "short.mid" + " alias MidiFile").ok());
    EXPECT_TRUE(mci.send("Play MidiFile wait").ok());
    EXPECT_EQ(mci.send("Status MidiFile position").text, "50");
}

}  // namespace
}  // namespace dadaz
