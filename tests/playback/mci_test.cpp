#include "playback/mci.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "playback/recording_sink.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;
using testing::RecordingSink;
using testing::SinkLog;

// A device on a clock that moves only when told; silent, or sounding into a recorder.
class MciTest : public ::testing::Test {
  protected:
    std::string song(const std::string& name, const std::string& bytes) {
        testing::writeBytes(dir_ / name, bytes);
        return "\"" + dir_ / name + "\"";
    }
    std::string reply(const std::string& command) {
        MciReply r = mci_.send(command);
        EXPECT_TRUE(r.ok()) << command << ": " << describeMciError(r.error);
        return r.text;
    }
    MciError error(const std::string& command) { return mci_.send(command).error; }

    testing::TempDir dir_;
    ManualPlaybackClock clock_;
    std::shared_ptr<SinkLog> log_ = std::make_shared<SinkLog>();
    Mci mci_{MciOptions::withSink(&clock_, RecordingSink::factory(log_))};
};

TEST_F(MciTest, PlaysAndReportsLengthAndPositionInMilliseconds) {
    reply("OPEN " + song("my songs/a.mid", songOfLength(65000)) + " ALIAS MidiFile TYPE Sequencer");
    reply("pLaY midifile");
    reply("Set MidiFile time format milliseconds");
    EXPECT_EQ(reply("Status MidiFile length"), "65000");
    clock_.advanceMs(1500);
    EXPECT_EQ(reply("Status MidiFile Position"), "1500");
    EXPECT_EQ(reply("Status MidiFile mode"), "playing");
    reply("Stop MidiFile");
    clock_.advanceMs(3000);
    EXPECT_EQ(reply("Status MidiFile position"), "1500");  // kept while stopped
    reply("Play MidiFile");
    clock_.advanceMs(70000);
    EXPECT_EQ(reply("Status MidiFile position"), "65000");  // held at the length
    EXPECT_EQ(reply("Status MidiFile mode"), "stopped");
    reply("Close MidiFile");
    EXPECT_EQ(error("Status MidiFile position"), MciError::InvalidDevice);

    // 1666.67 us long: the length is 2 ms, and the position must reach exactly that.
    reply("open " + song("short.mid", header(0, 1, 3) + track(tempo(0, 1000) + endOfTrack(5))) +
          " alias s");
    reply("play s");
    clock_.advanceUs(1665);
    EXPECT_EQ(reply("status s position"), "1");
    clock_.advanceUs(1);
    EXPECT_EQ(reply("status s position"), "2");
}

TEST_F(MciTest, ReportsErrorsWithoutActing) {
    const std::string path = song("a.mid", songOfLength(3000));
    const std::string big = song("big.mid", songOfLength(1000) + "Xpad" + u32(kMaxMidiFileBytes) +
                                                std::string(kMaxMidiFileBytes, '\0'));
    ASSERT_EQ(::mkfifo((dir_ / "pipe.mid").c_str(), 0600), 0);
    reply("Open " + path + " alias x");
    const std::pair<std::string, MciError> cases[] = {
        {"", MciError::UnrecognizedCommand},
        {"Rewind x", MciError::UnrecognizedCommand},
        {"Open", MciError::MissingParameter},
        {"Open \"" + dir_ / "a.mid alias y", MciError::MissingParameter},
        {"Open " + path + " alias", MciError::MissingParameter},
        {"Open " + path + " type waveaudio", MciError::UnrecognizedKeyword},
        {"Open " + path + " alias y loudly", MciError::UnrecognizedKeyword},
        {"Open " + dir_ / "none.mid" + " alias y", MciError::CannotOpenFile},
        {"Open " + song("cut.mid", songOfLength(3000).substr(0, 30)), MciError::CannotOpenFile},
        {"Open " + dir_ / "pipe.mid", MciError::CannotOpenFile},
        {"Open " + big, MciError::FileTooLarge},
        {"Play y", MciError::CannotOpenFile},
        {"Open " + path + " alias X", MciError::DuplicateAlias},
        {"Set x time format smpte 25", MciError::MissingParameter},
        {"Set x time format frames", MciError::BadTimeFormat},
        {"Set x audio all off", MciError::UnrecognizedKeyword},
        {"Status x volume", MciError::UnrecognizedKeyword},
        {"Play x from 0", MciError::UnrecognizedKeyword},
    };
    for (const auto& [command, expected] : cases) EXPECT_EQ(error(command), expected) << command;
    EXPECT_EQ(reply("Status x mode"), "stopped");
    reply("CLOSE ALL");
    EXPECT_EQ(error("Status x mode"), MciError::InvalidDevice);
}

TEST_F(MciTest, PlayByFileNameWaitsAtMostTheLimitAndCloses) {
    const std::string reset = song("reset me.mid", resetFileBytes());
    const std::string shortSong = song("short.mid", songOfLength(1234));
    std::int64_t before = clock_.nowUs();
    reply("Play " + reset + " wait");
    reply("Play " + shortSong + " wait");
    EXPECT_EQ(clock_.nowUs() - before, 1'234'000);
    EXPECT_EQ(error("Status " + shortSong + " length"), MciError::InvalidDevice);

    // A "reset" of 261 s would freeze the window: it is cut off after 2 s.
    const std::string longSong =
        song("long.mid", header(0, 1, 500) + track(noteOn(0, 60) + noteOn(1999, 61) +
                                                   noteOn(2, 62) + endOfTrack(259000)));
    before = clock_.nowUs();
    reply("Play " + longSong + " wait");
    EXPECT_EQ(clock_.nowUs() - before, 2'000'000);
    EXPECT_EQ(error("Status " + longSong + " mode"), MciError::InvalidDevice);
    auto messages = log_->snapshot();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "90 3D 64"), 1);  // by the cut
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "90 3E 64"), 0);  // past it

    reply("Play " + shortSong);  // without wait: Stop closes it
    EXPECT_EQ(reply("Status " + shortSong + " mode"), "playing");
    reply("Stop " + shortSong);
    EXPECT_EQ(error("Status " + shortSong + " mode"), MciError::InvalidDevice);
}

TEST_F(MciTest, SendsEveryEventInOrderOneSongAtATime) {
    testing::writeBytes(dir_ / "reset.mid", resetFileBytes());
    reply("Play " + dir_ / "reset.mid" + " wait");
    reply("Play " +
          song("a.mid",
               header(0, 1, 500) + track(event(0, {0xC1, 7}) + noteOn(0, 60, 1) +
                                         event(250, {0xE1, 0x00, 0x40}) + noteOff(250, 60, 1))) +
          " wait");
    EXPECT_EQ(log_->snapshot(), (std::vector<std::string>{"F0 41 10 42 12 40 00 7F 00 41", "C1 07",
                                                          "91 3C 64", "E1 00 40", "81 3C 00"}));
    reply("Open " + song("b.mid", songOfLength(10000)) + " alias b");
    reply("Open " + song("c.mid", header(0, 1, 500) + track(noteOn(9000, 61))) + " alias c");
    reply("Play c");
    clock_.advanceMs(1000);
    const int silences = log_->silences;
    reply("Play b");  // stops and silences c, whose note must never follow
    EXPECT_EQ(log_->silences, silences + 1);
    clock_.advanceMs(2000);
    EXPECT_EQ(reply("Status c mode"), "stopped");
    EXPECT_EQ(reply("Status c position"), "1000");
    EXPECT_EQ(reply("Status b position"), "2000");
    reply("Stop b");
    clock_.advanceMs(60000);
    reply("Play " + song("d.mid", header(0, 1, 500) + track(noteOn(10, 70))) + " wait");
    auto messages = log_->snapshot();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "90 3D 64"), 0);
    EXPECT_EQ(messages.back(), "90 46 64");
    EXPECT_EQ(log_->opened, 1);  // the synthesizer is opened once
}

TEST_F(MciTest, WithoutSoundSongsKeepTimeAndEachPlayTriesAgain) {
    log_->failuresLeft = 2;
    const std::string path = song("a.mid", songOfLength(2500));
    reply("Open " + path + " alias a");
    EXPECT_EQ(mci_.soundProblem(), SoundProblem{});  // not tried before a play
    reply("Play a");
    clock_.advanceMs(1000);
    EXPECT_EQ(reply("Status a position"), "1000");
    EXPECT_EQ(mci_.soundProblem(), log_->problem);
    reply("Stop a");
    reply("Play a");
    EXPECT_EQ(mci_.soundProblem(), log_->problem);
    reply("Stop a");
    reply("Play a wait");
    EXPECT_EQ(mci_.soundProblem(), SoundProblem{});
    EXPECT_EQ(log_->opened, 1);
    EXPECT_EQ(log_->snapshot(), (std::vector<std::string>{"80 3C 00"}));  // the rest, sounding
}

TEST(MciSoundTest, ClosesCleanlyWhileASongPlaysInRealTime) {
    testing::TempDir dir;
    auto log = std::make_shared<SinkLog>();
    testing::writeBytes(dir / "long.mid", songOfLength(600000));
    {
        Mci mci(MciOptions::withSink(nullptr, RecordingSink::factory(log)));
        ASSERT_TRUE(mci.send("Open " + dir / "long.mid" + " alias MidiFile").ok());
        ASSERT_TRUE(mci.send("Play MidiFile").ok());
    }
    EXPECT_EQ(log->opened, 1);
}

TEST(MciSoundTest, FluidSynthFindsASoundFontPlaysOrSaysWhyNot) {
    testing::TempDir dir;
    testing::writeBytes(dir / "mine.sf2", "sfbk");
    std::filesystem::create_directory(dir / "folder.sf2");
    const auto candidates = soundFontCandidates(dir / "none.sf2");
    EXPECT_EQ(candidates.front(), dir / "none.sf2");  // FluidSynth's configured one first
    EXPECT_EQ(std::count(candidates.begin(), candidates.end(), dir / "none.sf2"), 1);
    EXPECT_EQ(findSoundFont({dir / "none.sf2", dir / "folder.sf2", dir / "mine.sf2"}),
              dir / "mine.sf2");
    SoundProblem problem;
    EXPECT_FALSE(openFluidSynthSink(dir / "none.sf2", &problem));
    EXPECT_EQ(problem, (SoundProblem{SoundProblem::Kind::SoundFontUnusable, dir / "none.sf2"}));

    // On this machine's sound device if it has one, else silently: either way in real time.
    testing::writeBytes(dir / "short.mid", songOfLength(50));
    Mci mci;
    ASSERT_TRUE(mci.send("Open " + dir / "short.mid" + " alias MidiFile").ok());
    EXPECT_TRUE(mci.send("Play MidiFile wait").ok());
    EXPECT_EQ(mci.send("Status MidiFile position").text, "50");
}

}  // namespace
}  // namespace dadaz
