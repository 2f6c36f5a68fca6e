#include "playback/playback_controller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "playback/mci.h"
#include "playback/playback_messages.h"
#include "playback/recording_sink.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using namespace testing::smf;
using testing::readBytes;
using testing::writeBytes;

bool isEmpty(const PlaybackView& v) {
    return !v.playSongEnabled && !v.stopSongEnabled && !v.playMidiEnabled && !v.stopMidiEnabled &&
           !v.timesVisible && !v.lengthText && !v.positionText && !v.message;
}

// Songs sound into a recorder on a clock that moves only when told.
class PlaybackControllerTest : public ::testing::Test {
  protected:
    std::string song(const std::string& code, std::uint32_t lengthMs) {
        std::string path = midi_ + "/" + code.substr(0, 1) + "/" + code + ".MID";
        writeBytes(path, songOfLength(lengthMs));
        return path;
    }
    StopContext stopContext(bool songSearchMode = true) const {
        return {songSearchMode, midi_ + "/reset.mid", 10, false, 0};
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
    std::shared_ptr<testing::SinkLog> log_ = std::make_shared<testing::SinkLog>();
    Mci mci_{MciOptions::withSink(&clock_, testing::RecordingSink::factory(log_))};
    PlaybackController controller_{mci_, fs_};
};

TEST(PlayTimeTest, MinutesAndTwoDigitSeconds) {
    for (auto [ms, text] : {std::pair<int, const char*>{65000, "1:05"},
                            {0, "0:00"},
                            {59999, "0:59"},
                            {187000, "3:07"},
                            {3725000, "62:05"}}) {
        EXPECT_EQ(formatPlayTime(ms), text);
    }
}

TEST_F(PlaybackControllerTest, PlaysASongAndShowsItsLengthWhateverTheCaseOfItsName) {
    song("10001", 65000);
    PlaybackView view = controller_.playSearchSong(midi_ + "/1/10001.mid");
    EXPECT_EQ(view.lengthText, "1:05");
    EXPECT_EQ(view.timesVisible, true);
    EXPECT_EQ(view.stopSongEnabled, true);
    EXPECT_EQ(view.playSongEnabled, false);
    EXPECT_FALSE(view.playMidiEnabled || view.stopMidiEnabled || view.positionText || view.message);
    EXPECT_TRUE(controller_.playing());
    EXPECT_EQ(controller_.lengthMs(), 65000);
    EXPECT_EQ(mci_.send("Status MidiFile mode").text, "playing");
}

TEST_F(PlaybackControllerTest, RefusedFilesAreNotPlayedAndStayAsTheyAre) {
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
        if (name == "BIG") {
            ASSERT_TRUE(view.message) << name;
            EXPECT_EQ(view.message->icon, MessageIcon::Critical);
            EXPECT_EQ(view.message->text, playback_text::fileTooLarge(path));
            view.message.reset();
        }
        EXPECT_TRUE(isEmpty(view)) << name;
        EXPECT_FALSE(controller_.playDuplicateSong(path).stopMidiEnabled) << name;
        EXPECT_FALSE(controller_.playing()) << name;
    }
    EXPECT_TRUE(isEmpty(controller_.playSearchSong("")));
    EXPECT_EQ(readBytes(midi_ + "/1/RIFF.MID"), noHeader);
    EXPECT_EQ(readBytes(midi_ + "/1/BIG.MID"), tooLarge);
    EXPECT_EQ(mci_.send("Status MidiFile mode").error, MciError::InvalidDevice);
}

TEST_F(PlaybackControllerTest, SaysOnceThatSongsPlaySilentlyAndTriesAgainAtEachPlay) {
    log_->failuresLeft = 2;
    const std::string path = song("10001", 5000);
    PlaybackView view = controller_.playSearchSong(path);
    EXPECT_TRUE(controller_.playing());  // silently, keeping time
    ASSERT_TRUE(view.message);
    EXPECT_EQ(view.message->icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.message->text, playback_text::soundProblem(log_->problem));
    EXPECT_NE(view.message->text.find("pulseaudio, pipewire, alsa"), std::string::npos);
    controller_.stop(stopContext());
    EXPECT_FALSE(controller_.playSearchSong(path).message);  // told once, tried again
    EXPECT_EQ(log_->opened, 0);
    controller_.stop(stopContext());  // the reset's play finds the device
    EXPECT_EQ(log_->opened, 1);
    EXPECT_EQ(resetsPlayed(), 1);
}

TEST_F(PlaybackControllerTest, StopWritesTheResetFileOnceThenPlaysWhatIsThereForAtMostTwoSeconds) {
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

TEST_F(PlaybackControllerTest, StopSetsTheButtonsOfTheModeThatPlayed) {
    controller_.playSearchSong(song("10001", 5000));
    PlaybackView view = controller_.stop(stopContext());
    EXPECT_EQ(view.playSongEnabled, true);
    EXPECT_EQ(view.stopSongEnabled, false);
    EXPECT_EQ(view.stopMidiEnabled, false);
    EXPECT_EQ(view.timesVisible, false);
    EXPECT_EQ(view.lengthText, "");
    EXPECT_EQ(view.positionText, "");
    EXPECT_FALSE(controller_.playing());
    EXPECT_EQ(mci_.send("Status MidiFile mode").error, MciError::InvalidDevice);

    view = controller_.playDuplicateSong(song("10001", 5000));
    EXPECT_EQ(view.stopMidiEnabled, true);
    EXPECT_EQ(view.playMidiEnabled, false);
    EXPECT_FALSE(view.lengthText || view.timesVisible || view.playSongEnabled);
    view = controller_.stop(stopContext(false));
    EXPECT_EQ(view.playMidiEnabled, true);
    EXPECT_FALSE(view.playSongEnabled);

    // With nothing playing only the play button of the mode follows its list.
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

// The window's part of the clock: a result list whose song selection stops the song, and a
// play button that plays the selected line.
struct ResultListWindow {
    PlaybackController& controller;
    StopContext stopContext;
    std::vector<std::string> lines;  // song paths, or separators
    int selected = -1;
    std::vector<int> played;

    void select(int index) {
        if (!isSeparatorLine(lines[index])) controller.stop(stopContext);
        selected = index;
    }
    void play() {
        if (!isEmpty(controller.playSearchSong(lines[selected]))) played.push_back(selected);
    }
    std::optional<std::string> tick() {
        TickResult result = controller.tick(
            {lines.size(), selected, [this](std::size_t i) { return lines[i]; }, stopContext});
        if (result.select) select(static_cast<int>(*result.select));
        if (result.play) play();
        return result.positionText;
    }
};

TEST_F(PlaybackControllerTest, ClockShowsThePositionThenMovesOnPastSeparatorsAndWraps) {
    ResultListWindow window{controller_, stopContext(), {}, -1, {}};
    window.lines = {song("10001", 200000), "----- 2 -----", song("20001", 1000),
                    song("30001", 1500)};
    window.select(0);
    window.play();
    clock_.advanceMs(187400);
    EXPECT_EQ(window.tick(), "3:07");
    clock_.advanceMs(12600);
    window.tick();  // the end: on to the separator, which does not play
    EXPECT_EQ(window.selected, 1);
    EXPECT_FALSE(controller_.playing());
    EXPECT_TRUE(std::filesystem::exists(reset_));  // the finished song was released
    window.tick();                                 // past it
    clock_.advanceMs(1000);
    window.tick();
    clock_.advanceMs(1500);
    window.tick();  // after the last line comes the first
    EXPECT_EQ(window.played, (std::vector<int>{0, 2, 3, 0}));
}

TEST_F(PlaybackControllerTest, ClockLeavesShortListsDuplicateSongsAndStoppedSongsAlone) {
    ResultListWindow window{controller_, stopContext(), {song("1", 1000), song("2", 1000)}, -1, {}};
    window.select(0);
    window.play();
    clock_.advanceMs(1000);
    window.tick();
    EXPECT_EQ(window.selected, 0);  // two lines only

    window.lines.push_back(song("30001", 1000));
    window.select(0);
    controller_.playDuplicateSong(window.lines[0]);
    clock_.advanceMs(1000);
    window.tick();
    EXPECT_EQ(window.selected, 0);  // started in duplicate mode

    window.select(0);
    window.play();
    clock_.advanceMs(1000);
    controller_.stop(window.stopContext);  // the user stops at the very end
    window.tick();
    EXPECT_EQ(window.selected, 0);

    // A stop or a mode change after the clock landed on a separator cancels the move past it.
    window.lines = {window.lines[0], "-----", window.lines[1], window.lines[2]};
    for (bool searchMode : {true, false}) {
        window.select(0);
        window.play();
        clock_.advanceMs(1000);
        window.tick();
        ASSERT_EQ(window.selected, 1);
        controller_.stop(stopContext(searchMode));
        window.tick();
        EXPECT_EQ(window.selected, 1);
        EXPECT_FALSE(controller_.playing());
    }
    EXPECT_EQ(window.played, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(PlaybackControllerTest, ResultWindowResetsThenPlaysByFileName) {
    const std::string path = song("10001", 3000);
    ResultWindowPlayer player(mci_, fs_);
    EXPECT_TRUE(player.play(reset_, path));  // no reset file yet: not written here
    EXPECT_FALSE(std::filesystem::exists(reset_));
    EXPECT_EQ(mci_.send("Status \"" + path + "\" mode").text, "playing");
    player.stop();
    EXPECT_EQ(mci_.send("Status \"" + path + "\" mode").error, MciError::InvalidDevice);
    writeBytes(reset_, resetFileBytes());
    EXPECT_TRUE(player.play(reset_, path));
    EXPECT_EQ(resetsPlayed(), 1);
    player.stop();
    writeBytes(path, "MTh");
    EXPECT_FALSE(player.play(reset_, path));
}

TEST(ResetFilePathTest, FollowsTheLayout) {
    testing::TempDir dir;
    FileSystem fs;
    std::filesystem::create_directories(dir / "Library/Vol1/LYRICS");
    Folders separate{dir / "SONG", dir / "LYRICS", dir / "CURSOR", dir / "Invalid"};
    EXPECT_EQ(resetFilePath(SongPaths(fs, separate), ""), dir / "SONG/reset.mid");
    EXPECT_EQ(resetFilePath(SongPaths(fs, Folders{}), ""), "");
    const std::string root = dir / "Library";
    SongPaths multi(fs, Folders{root, root, root, dir / "Invalid"});
    EXPECT_EQ(resetFilePath(multi, root + "/Vol1"), root + "/Vol1/SONG/reset.mid");
    EXPECT_EQ(resetFilePath(multi, ""), "");
    EXPECT_EQ(resetFilePath(multi, root + "/../Vol1"), "");
}

}  // namespace
}  // namespace dadaz
