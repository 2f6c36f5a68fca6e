// The device (Mci) and the playback of the main window (PlaybackController) on one fixture.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "playback/mci.h"
#include "playback/playback_controller.h"
#include "playback/playback_messages.h"
#include "playback/recording_sink.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;
using testing::readBytes;
using testing::RecordingSink;
using testing::SinkLog;
using testing::writeBytes;

bool isEmpty(const PlaybackView& v) {
    return !v.playSongEnabled && !v.stopSongEnabled && !v.playMidiEnabled && !v.stopMidiEnabled &&
           !v.timesVisible && !v.lengthText && !v.positionText && !v.message;
}

// Songs sound into a recorder on a clock that moves only when told.
class PlaybackTest : public ::testing::Test {
  protected:
    // A file in the test folder; returns its path quoted for a command.
    std::string file(const std::string& name, const std::string& bytes) {
        writeBytes(dir_ / name, bytes);
        return "\"" + dir_ / name + "\"";
    }
    // A song of `lengthMs` in the MIDI folder, under its code.
    std::string song(const std::string& code, std::uint32_t lengthMs) {
        std::string path = midi_ + "/" + code.substr(0, 1) + "/" + code + ".MID";
        writeBytes(path, songOfLength(lengthMs));
        return path;
    }
    std::string reply(const std::string& command) {
        MciReply r = mci_.send(command);
        EXPECT_TRUE(r.ok()) << command << ": " << describeMciError(r.error);
        return r.text;
    }
    MciError error(const std::string& command) { return mci_.send(command).error; }
    StopContext stopContext(bool songSearchMode = true) const {
        return {songSearchMode, reset_, 10, false, 0};
    }
    long played(const std::string& message) {
        auto messages = log_->snapshot();
        return std::count(messages.begin(), messages.end(), message);
    }
    long resetsPlayed() { return played("F0 41 10 42 12 40 00 7F 00 41"); }

    testing::TempDir dir_;
    std::string midi_ = dir_ / "SONG";
    std::string reset_ = midi_ + "/reset.mid";
    FileSystem fs_;
    ManualPlaybackClock clock_;
    std::shared_ptr<SinkLog> log_ = std::make_shared<SinkLog>();
    Mci mci_{MciOptions::withSink(&clock_, RecordingSink::factory(log_))};
    PlaybackController controller_{mci_, fs_};
};

TEST_F(PlaybackTest, PlaysAndReportsLengthAndPositionInMilliseconds) {
    reply("OPEN " + file("my songs/a.mid", songOfLength(65000)) + " ALIAS MidiFile TYPE Sequencer");
    reply("pLaY midifile");
    EXPECT_EQ(reply("Status MidiFile length"), "65000");
    clock_.advanceMs(1500);
    EXPECT_EQ(reply("Status MidiFile Position"), "1500");
    clock_.advanceMs(70000);
    EXPECT_EQ(reply("Status MidiFile position"), "65000");  // held at the length

    // 1666.67 us long: the length is 2 ms, and the position must reach exactly that.
    reply("open " + file("short.mid", header(0, 1, 3) + track(tempo(0, 1000) + endOfTrack(5))) +
          " alias s");
    reply("play s");
    clock_.advanceUs(1665);
    EXPECT_EQ(reply("status s position"), "1");
    clock_.advanceUs(1);
    EXPECT_EQ(reply("status s position"), "2");
}

TEST_F(PlaybackTest, ReportsErrorsWithoutActing) {
    const std::string path = file("a.mid", songOfLength(3000));
    reply("Open " + path + " alias x");
    const std::pair<std::string, MciError> cases[] = {
        {"Open \"" + dir_ / "a.mid alias y", MciError::MissingParameter},
        {"Open " + path + " alias y loudly", MciError::UnrecognizedKeyword},
        {"Open " + file("cut.mid", songOfLength(3000).substr(0, 30)), MciError::CannotOpenFile},
        {"Play y", MciError::CannotOpenFile},
        {"Open " + path + " alias X", MciError::DuplicateAlias},
        {"Set x time format frames", MciError::BadTimeFormat},
    };
    for (const auto& [command, expected] : cases) EXPECT_EQ(error(command), expected) << command;
    EXPECT_EQ(reply("Status x mode"), "stopped");
}

TEST_F(PlaybackTest, PlayByFileNameWaitsAtMostTheLimitAndCloses) {
    const std::string shortSong = file("short one.mid", songOfLength(1234));
    std::int64_t before = clock_.nowUs();
    reply("Play " + shortSong + " wait");
    EXPECT_EQ(clock_.nowUs() - before, 1'234'000);

    // A "reset" of 261 s would freeze the window: it is cut off after 2 s.
    const std::string longSong =
        file("long.mid", header(0, 1, 500) + track(noteOn(0, 60) + noteOn(1999, 61) +
                                                   noteOn(2, 62) + endOfTrack(259000)));
    before = clock_.nowUs();
    reply("Play " + longSong + " wait");
    EXPECT_EQ(clock_.nowUs() - before, 2'000'000);
    EXPECT_EQ(error("Status " + longSong + " mode"), MciError::InvalidDevice);
    EXPECT_EQ(played("90 3D 64"), 1);  // by the cut
    EXPECT_EQ(played("90 3E 64"), 0);  // past it
}

TEST_F(PlaybackTest, SendsEveryEventInOrderOneSongAtATime) {
    // Meta events and a SysEx escape are read past; running status holds across them.
    const std::string body =
        event(0, {0xFF, 0x03, 0x01, 'S'}) + event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) +
        event(0, {0xF7, 0x02, 0xF3, 0x01}) + event(0, {0xC1, 7}) + noteOn(0, 60, 1) +
        event(250, {0xFF, 0x01, 0x01, 'a'}) + event(0, {61, 90}) + event(250, {0xE1, 0x00, 0x40}) +
        event(0, {0xC1, 8}) + event(0, {9});
    reply("Play " + file("a.mid", header(0, 1, 500) + track(body)) + " wait");
    EXPECT_EQ(log_->snapshot(),
              (std::vector<std::string>{"F0 7E 7F 09 01", "C1 07", "91 3C 64", "91 3D 5A",
                                        "E1 00 40", "C1 08", "C1 09"}));
    reply("Open " + file("b.mid", songOfLength(10000)) + " alias b");
    reply("Open " + file("c.mid", header(0, 1, 500) + track(noteOn(9000, 61))) + " alias c");
    reply("Play c");
    clock_.advanceMs(1000);
    const int silences = log_->silences;
    reply("Play b");  // stops and silences c, whose note must never follow
    EXPECT_EQ(log_->silences, silences + 1);
    clock_.advanceMs(2000);
    EXPECT_EQ(reply("Status c position"), "1000");
    reply("Stop b");
    clock_.advanceMs(60000);
    reply("Play " + file("d.mid", header(0, 1, 500) + track(noteOn(10, 70))) + " wait");
    EXPECT_EQ(played("90 3D 64"), 0);
    EXPECT_EQ(log_->snapshot().back(), "90 46 64");
    EXPECT_EQ(log_->opened, 1);  // the synthesizer is opened once
}

TEST_F(PlaybackTest, StopBringsBackThePlayButtonsOfTheModes) {
    // Stopped by the change to another mode, the song's own play button comes back too.
    controller_.playSearchSong(song("10001", 5000));
    PlaybackView view = controller_.stop(stopContext(false));
    EXPECT_TRUE(*view.playSongEnabled && *view.playMidiEnabled && !*view.stopSongEnabled);
    EXPECT_TRUE(!*view.timesVisible && view.lengthText == "" && view.positionText == "");
    EXPECT_EQ(mci_.send("Status MidiFile mode").error, MciError::InvalidDevice);

    // With nothing playing only the mode's own play button follows its list.
    const std::tuple<bool, bool, std::size_t, std::size_t, bool> cases[] = {
        {true, true, 4, 0, true},   {true, true, 3, 9, false}, {true, false, 1, 0, true},
        {true, false, 0, 9, false}, {false, true, 9, 1, true}, {false, false, 9, 0, false},
    };
    for (const auto& [searchMode, searchAll, searchLines, duplicateLines, enabled] : cases) {
        view = controller_.stop({searchMode, reset_, searchLines, searchAll, duplicateLines});
        EXPECT_EQ(searchMode ? view.playSongEnabled : view.playMidiEnabled, enabled);
        EXPECT_FALSE(searchMode ? view.playMidiEnabled : view.playSongEnabled);
        EXPECT_FALSE(view.stopSongEnabled || view.stopMidiEnabled || view.timesVisible);
    }
}

TEST_F(PlaybackTest, RefusedFilesAreNotPlayedAndStayAsTheyAre) {
    const std::string noHeader = "RIFF" + songOfLength(5000).substr(4);
    const std::string tooLarge =
        songOfLength(5000) + "Xpad" + u32(kMaxMidiFileBytes) + std::string(kMaxMidiFileBytes, 0);
    writeBytes(midi_ + "/1/RIFF.MID", noHeader);
    writeBytes(midi_ + "/1/CUT.MID", songOfLength(5000).substr(0, 25));
    writeBytes(midi_ + "/1/BIG.MID", tooLarge);
    ASSERT_EQ(::mkfifo((midi_ + "/1/PIPE.MID").c_str(), 0600), 0);
    for (const std::string name : {"RIFF", "CUT", "BIG", "PIPE", "NONE"}) {
        const std::string path = midi_ + "/1/" + name + ".MID";
        PlaybackView view = controller_.playSearchSong(path);
        EXPECT_EQ(view.message.has_value(), name == "BIG");  // the window test reads it
        view.message.reset();
        EXPECT_TRUE(isEmpty(view)) << name;
        EXPECT_FALSE(controller_.playDuplicateSong(path).stopMidiEnabled) << name;
    }
    EXPECT_TRUE(isEmpty(controller_.playSearchSong("")));
    EXPECT_EQ(readBytes(midi_ + "/1/RIFF.MID"), noHeader);
    EXPECT_EQ(readBytes(midi_ + "/1/BIG.MID"), tooLarge);
}

TEST_F(PlaybackTest, SaysOnceThatSongsPlaySilentlyAndTriesAgainAtEachPlay) {
    log_->failuresLeft = 2;
    const std::string path = song("10001", 5000);
    PlaybackView view = controller_.playSearchSong(path);
    clock_.advanceMs(1000);
    EXPECT_EQ(controller_.tick({}).positionText, "0:01");  // silently, keeping time
    ASSERT_TRUE(view.message);
    EXPECT_EQ(view.message->icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.message->text, playback_text::soundProblem(log_->problem));
    controller_.stop(stopContext());
    EXPECT_FALSE(controller_.playSearchSong(path).message);  // told once, tried again
    EXPECT_EQ(log_->opened, 0);
    controller_.stop(stopContext());  // the reset's play finds the device
    EXPECT_EQ(log_->opened, 1);
    EXPECT_EQ(resetsPlayed(), 1);
}

TEST_F(PlaybackTest, StopWritesTheResetFileOnceThenPlaysWhatIsThereForAtMostTwoSeconds) {
    const std::string path = song("10001", 5000);
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    const std::string expected =
        bytes({0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x78,
               0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 0x30, 0x00, 0xFF, 0x21, 0x01, 0x00, 0x00,
               0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7, 0x00, 0xFF,
               0x21, 0x01, 0x00, 0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59,
               0x02, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(readBytes(reset_), expected);
    EXPECT_EQ(resetsPlayed(), 0);  // written, not played this time
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    EXPECT_EQ(resetsPlayed(), 1);

    // Whatever lies there is played and left as it is; a long one is cut off after 2 s.
    std::filesystem::remove(reset_);
    fs_.forgetIndexes();
    const std::string own = header(0, 1, 500) + track(noteOn(0, 1) + noteOn(261000, 2));
    writeBytes(midi_ + "/RESET.MID", own);
    controller_.playSearchSong(path);
    const std::int64_t before = clock_.nowUs();
    controller_.stop(stopContext());
    EXPECT_EQ(clock_.nowUs() - before, 2'000'000);
    EXPECT_EQ(played("90 01 64"), 1);
    EXPECT_EQ(readBytes(midi_ + "/RESET.MID"), own);
    EXPECT_FALSE(std::filesystem::exists(reset_));  // not doubled in another case
}

// A stop or mode change while on a separator: the next song must not start in a left panel.
TEST_F(PlaybackTest, AStopCancelsTheMovePastASeparator) {
    const std::vector<std::string> lines = {song("1", 1000), "-----", song("2", 1000)};
    for (bool searchMode : {true, false}) {
        TickInput input{3, 0, [&](std::size_t i) { return lines[i]; }, stopContext()};
        controller_.playSearchSong(lines[0]);
        clock_.advanceMs(1000);
        const TickResult landed = controller_.tick(input);
        EXPECT_TRUE(landed.select == 1u && !landed.play && !controller_.playing());
        input.selectedIndex = 1;
        controller_.stop(stopContext(searchMode));
        const TickResult next = controller_.tick(input);
        EXPECT_FALSE(next.select || next.play);
    }
}

TEST_F(PlaybackTest, ResultWindowResetsThenPlaysByFileName) {
    const std::string path = song("10001", 3000);
    writeBytes(reset_, resetFileBytes());
    ResultWindowPlayer player(mci_, fs_);
    EXPECT_TRUE(player.play(reset_, path));
    EXPECT_EQ(resetsPlayed(), 1);
    player.stop();
    EXPECT_EQ(mci_.send("Status \"" + path + "\" mode").error, MciError::InvalidDevice);
    writeBytes(path, "MTh");
    EXPECT_FALSE(player.play(reset_, path));
}

TEST_F(PlaybackTest, ResetFileLiesOnlyInTheLibrary) {
    std::filesystem::create_directories(dir_ / "Library/Vol1/LYRICS");
    EXPECT_EQ(resetFilePath(SongPaths(fs_, Folders{}), ""), "");
    const std::string root = dir_ / "Library";
    SongPaths multi(fs_, Folders{root, root, root, dir_ / "Invalid"});
    EXPECT_EQ(resetFilePath(multi, ""), "");
    EXPECT_EQ(resetFilePath(multi, root + "/../Vol1"), "");
}

TEST_F(PlaybackTest, FluidSynthFindsASoundFontPlaysOrSaysWhyNot) {
    writeBytes(dir_ / "mine.sf2", "sfbk");
    std::filesystem::create_directory(dir_ / "folder.sf2");
    const std::string none = dir_ / "none.sf2";
    EXPECT_EQ(soundFontCandidates(none)[0], none);  // FluidSynth's configured one first
    EXPECT_EQ(findSoundFont({none, dir_ / "folder.sf2", dir_ / "mine.sf2"}), dir_ / "mine.sf2");
    SoundProblem problem;
    EXPECT_FALSE(openFluidSynthSink(none, &problem));
    EXPECT_EQ(problem, (SoundProblem{SoundProblem::Kind::SoundFontUnusable, none}));

    // On this machine's sound device if it has one, else silently: either way in real time.
    Mci mci;
    ASSERT_TRUE(mci.send("Open " + file("short.mid", songOfLength(50)) + " alias MidiFile").ok());
    EXPECT_TRUE(mci.send("Play MidiFile wait").ok());
    EXPECT_EQ(mci.send("Status MidiFile position").text, "50");
}

}  // namespace
}  // namespace dadaz
