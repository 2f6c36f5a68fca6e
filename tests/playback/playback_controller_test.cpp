#include "playback/playback_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "playback/mci.h"
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

const std::string kGsReset = "F0 41 10 42 12 40 00 7F 00 41";

bool isEmpty(const PlaybackView& v) {
    return !v.playSongEnabled && !v.stopSongEnabled && !v.playMidiEnabled && !v.stopMidiEnabled &&
           !v.timesVisible && !v.lengthText && !v.positionText;
}

class PlaybackControllerTest : public ::testing::Test {
  protected:
    PlaybackControllerTest()
        : mci_(MciOptions::withSink(&clock_, RecordingSink::factory(log_))),
          controller_(mci_, fs_) {}

    std::string song(const std::string& code, std::uint32_t lengthMs) {
        std::string path = midi_ + "/" + code.substr(0, 1) + "/" + code + ".MID";
        writeBytes(path, songOfLength(lengthMs));
        return path;
    }
    StopContext stopContext() const {
        StopContext context;
        context.songSearchMode = true;
        context.resetFile = midi_ + "/reset.mid";
        context.searchListCount = 10;
        return context;
    }
    long resetsPlayed() {
        auto messages = log_->snapshot();
        return std::count(messages.begin(), messages.end(), kGsReset);
    }

    testing::TempDir dir_;
    std::string midi_ = dir_ / "SONG";
    FileSystem fs_;
    ManualPlaybackClock clock_;
    std::shared_ptr<SinkLog> log_ = std::make_shared<SinkLog>();
    Mci mci_;
    PlaybackController controller_;
};

TEST(PlayTimeTest, MinutesAndTwoDigitSeconds) {
    EXPECT_EQ(formatPlayTime(65000), "1:05");
    EXPECT_EQ(formatPlayTime(0), "0:00");
    EXPECT_EQ(formatPlayTime(59999), "0:59");
    EXPECT_EQ(formatPlayTime(187000), "3:07");
    EXPECT_EQ(formatPlayTime(600000), "10:00");
    EXPECT_EQ(formatPlayTime(3725000), "62:05");
}

TEST_F(PlaybackControllerTest, PlaysASongAndShowsItsLength) {
    std::string path = song("10001", 65000);
    PlaybackView view = controller_.playSearchSong(path);
    EXPECT_EQ(view.lengthText, "1:05");
    EXPECT_EQ(view.timesVisible, true);
    EXPECT_EQ(view.stopSongEnabled, true);
    EXPECT_EQ(view.playSongEnabled, false);
    EXPECT_FALSE(view.playMidiEnabled || view.stopMidiEnabled || view.positionText);
    EXPECT_TRUE(controller_.playing());
    EXPECT_EQ(controller_.lengthMs(), 65000);
    EXPECT_EQ(controller_.filePath(), path);
    EXPECT_EQ(mci_.send("Status MidiFile mode").text, "playing");
}

TEST_F(PlaybackControllerTest, FindsTheFileWhateverTheCaseOfItsName) {
    std::string path = song("10001", 4000);
    std::string asked = midi_ + "/1/10001.mid";
    EXPECT_FALSE(isEmpty(controller_.playSearchSong(asked)));
    EXPECT_EQ(mci_.send("Status MidiFile length").text, "4000");
}

TEST_F(PlaybackControllerTest, FileWithoutTheMidiHeaderIsNotPlayedAndStaysUnchanged) {
    std::string path = midi_ + "/1/10002.MID";
    std::string bytes = "RIFF" + songOfLength(5000).substr(4);
    writeBytes(path, bytes);
    EXPECT_TRUE(isEmpty(controller_.playSearchSong(path)));
    EXPECT_TRUE(isEmpty(controller_.playDuplicateSong(path)));
    EXPECT_FALSE(controller_.playing());
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(mci_.send("Status MidiFile mode").error, MciError::InvalidDevice);

    // A missing file, and one with the header that is cut short, are not played either.
    EXPECT_TRUE(isEmpty(controller_.playSearchSong("")));
    EXPECT_TRUE(isEmpty(controller_.playSearchSong(midi_ + "/1/none.MID")));
    writeBytes(path, songOfLength(5000).substr(0, 25));
    EXPECT_TRUE(isEmpty(controller_.playSearchSong(path)));
    EXPECT_FALSE(controller_.playing());
    EXPECT_EQ(mci_.send("Status MidiFile mode").error, MciError::InvalidDevice);
}

TEST_F(PlaybackControllerTest, FirstStopWritesTheResetFileAndLaterStopsPlayIt) {
    std::string path = song("10001", 5000);
    const std::string reset = midi_ + "/reset.mid";
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    // The 70 bytes, byte for byte.
    const std::string expected =
        bytes({0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x78,
               0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 0x30, 0x00, 0xFF, 0x21, 0x01, 0x00, 0x00,
               0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7, 0x00, 0xFF,
               0x21, 0x01, 0x00, 0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59,
               0x02, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x2F, 0x00});
    ASSERT_EQ(expected.size(), 70u);
    EXPECT_EQ(readBytes(reset), expected);
    EXPECT_EQ(resetsPlayed(), 0);  // written, not played this time

    // The next stop plays the file that is there and leaves it as it is.
    const std::string own =
        header(0, 1, 96) +
        track(event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) + endOfTrack(0));
    writeBytes(reset, own);
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    auto messages = log_->snapshot();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "F0 7E 7F 09 01"), 1);
    EXPECT_EQ(readBytes(reset), own);

    writeBytes(reset, expected);
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    EXPECT_EQ(resetsPlayed(), 1);
}

TEST_F(PlaybackControllerTest, AResetFileNamedInAnotherCaseIsPlayedNotDoubled) {
    std::string path = song("10001", 5000);
    writeBytes(midi_ + "/RESET.MID", resetFileBytes());
    controller_.playSearchSong(path);
    controller_.stop(stopContext());
    EXPECT_EQ(resetsPlayed(), 1);
    EXPECT_FALSE(std::filesystem::exists(midi_ + "/reset.mid"));
}

TEST_F(PlaybackControllerTest, StopWhilePlayingClosesTheSongAndHidesTheTimes) {
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
    EXPECT_EQ(log_->silences, 1);
}

TEST_F(PlaybackControllerTest, DuplicateModePlaysWithoutTimes) {
    PlaybackView view = controller_.playDuplicateSong(song("10001", 5000));
    EXPECT_EQ(view.stopMidiEnabled, true);
    EXPECT_EQ(view.playMidiEnabled, false);
    EXPECT_FALSE(view.lengthText || view.timesVisible || view.playSongEnabled);
    StopContext context = stopContext();
    context.songSearchMode = false;
    view = controller_.stop(context);
    EXPECT_EQ(view.playMidiEnabled, true);
    EXPECT_EQ(view.stopMidiEnabled, false);
    EXPECT_EQ(view.stopSongEnabled, false);
    EXPECT_FALSE(view.playSongEnabled);
}

TEST_F(PlaybackControllerTest, StopWhileNothingPlaysOnlyUpdatesThePlayButton) {
    struct Case {
        bool searchMode, searchAll;
        std::size_t searchLines, duplicateLines;
        bool enabled;
    } cases[] = {
        {true, true, 4, 0, true},   {true, true, 3, 9, false}, {true, false, 1, 0, true},
        {true, false, 0, 9, false}, {false, true, 9, 1, true}, {false, false, 9, 0, false},
    };
    for (const Case& c : cases) {
        StopContext context = stopContext();
        context.songSearchMode = c.searchMode;
        context.searchAll = c.searchAll;
        context.searchListCount = c.searchLines;
        context.duplicateListCount = c.duplicateLines;
        PlaybackView view = controller_.stop(context);
        PlaybackView expected;
        (c.searchMode ? expected.playSongEnabled : expected.playMidiEnabled) = c.enabled;
        EXPECT_EQ(view.playSongEnabled, expected.playSongEnabled);
        EXPECT_EQ(view.playMidiEnabled, expected.playMidiEnabled);
        EXPECT_FALSE(view.stopSongEnabled || view.stopMidiEnabled || view.timesVisible ||
                     view.lengthText || view.positionText);
    }
    EXPECT_FALSE(std::filesystem::exists(midi_ + "/reset.mid"));
    EXPECT_EQ(log_->opened, 0);
}

TEST_F(PlaybackControllerTest, TickShowsTheRunningPosition) {
    controller_.playSearchSong(song("10001", 200000));
    TickInput input{10, 0, [](std::size_t) { return std::string("line"); }};
    clock_.advanceMs(187400);
    TickResult result = controller_.tick(input);
    EXPECT_EQ(result.positionText, "3:07");
    EXPECT_FALSE(result.select);
    EXPECT_FALSE(controller_.tick(input).select);
    controller_.stop(stopContext());
    EXPECT_FALSE(controller_.tick(input).positionText);
}

// The window's part of the clock: a result list whose selection stops the song and whose
// play button plays the selected line's song.
struct ResultListWindow {
    ResultListWindow(PlaybackController& c, StopContext s, std::vector<std::string> l)
        : controller(c), stopContext(std::move(s)), lines(std::move(l)) {}

    PlaybackController& controller;
    StopContext stopContext;
    std::vector<std::string> lines;  // song paths, or separators
    int selected = -1;
    std::vector<std::string> played;

    void select(int index) {
        controller.stop(stopContext);
        selected = index;
    }
    void play() {
        if (!isEmpty(controller.playSearchSong(lines[selected]))) played.push_back(lines[selected]);
    }
    TickInput input() {
        return {lines.size(), selected, [this](std::size_t i) { return lines[i]; }};
    }
    void tick() {
        TickResult result = controller.tick(input());
        if (result.select) select(static_cast<int>(*result.select));
        if (result.play) play();
    }
};

TEST_F(PlaybackControllerTest, ClockMovesToTheNextResultPastSeparatorsAndWraps) {
    ResultListWindow window(controller_, stopContext(), {});
    window.lines = {song("10001", 2000), "----- 2 -----", song("20001", 1000), song("30001", 1500)};
    window.select(0);
    window.play();
    window.tick();
    EXPECT_EQ(window.selected, 0);  // still playing
    clock_.advanceMs(2000);
    window.tick();  // the end: on to the separator, which does not play
    EXPECT_EQ(window.selected, 1);
    EXPECT_FALSE(controller_.playing());
    window.tick();  // past it
    EXPECT_EQ(window.selected, 2);
    clock_.advanceMs(1000);
    window.tick();
    clock_.advanceMs(1500);
    window.tick();  // after the last line comes the first
    EXPECT_EQ(window.selected, 0);
    EXPECT_EQ(window.played, (std::vector<std::string>{window.lines[0], window.lines[2],
                                                       window.lines[3], window.lines[0]}));
}

TEST_F(PlaybackControllerTest, ClockLeavesShortListsDuplicateSongsAndUserStopsAlone) {
    ResultListWindow window(controller_, stopContext(), {song("10001", 1000), song("20001", 1000)});
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
}

TEST_F(PlaybackControllerTest, ResultWindowResetsThenPlaysByFileName) {
    std::string path = song("10001", 3000);
    const std::string reset = midi_ + "/reset.mid";
    ResultWindowPlayer player(mci_, fs_);
    EXPECT_TRUE(player.play(reset, path));  // no reset file yet: not written here
    EXPECT_FALSE(std::filesystem::exists(reset));
    EXPECT_EQ(mci_.send("Status \"" + path + "\" mode").text, "playing");
    player.stop();
    EXPECT_EQ(mci_.send("Status \"" + path + "\" mode").error, MciError::InvalidDevice);

    writeBytes(reset, resetFileBytes());
    EXPECT_TRUE(player.play(reset, path));
    EXPECT_EQ(resetsPlayed(), 1);
    player.stop();
    writeBytes(path, "MTh");
    EXPECT_FALSE(player.play(reset, path));
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
