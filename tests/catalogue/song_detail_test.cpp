#include "catalogue/song_detail.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue/song_line.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

using namespace dadaz::catalogue_text;

class DetailTest : public CatalogueTest {
  protected:
    SongDetail show(const std::string& line) {
        return showSongDetail(cp(line), SongPaths(fs, ctx.folders), fs, prompt);
    }
};

TEST_F(DetailTest, TitleCheckComparesTheFirstLineAsTheSongListWritesIt) {
    const struct {
        std::string firstLine, title;
        bool shown;
    } cases[] = {
        {"  LOVE SONG forever", "Love Song", true},  // longer, case ignored
        {"เพลงรัก (แสดงสด)", "เพลงรัก", true},         // a remark after the title
        {"Rock; Roll (live)", "Rock, Roll", true},   // the list holds "," for ";"
        {std::string("Nul\0Byte", 8), "Nul Byte", true},
        {"Love", "Love Song", false},  // shorter than the catalogue's title
        {"Other", "Love", false},
    };
    for (const auto& c : cases) {
        writeLyric("1001", {c.firstLine, "x"});
        if (!c.shown)
            prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kTitleMismatch,
                             Answer::No);
        const auto detail = show(songLine("1001", c.title, "x"));
        EXPECT_EQ(detail.outcome, c.shown ? DetailOutcome::Shown : DetailOutcome::TitleMismatch)
            << c.firstLine;
        EXPECT_EQ(detail.lyricLines.empty(), !c.shown);
        EXPECT_FALSE(detail.rebuildRequested);
    }
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kTitleMismatch, Answer::Yes);
    EXPECT_TRUE(show(songLine("1001", "Love", "x")).rebuildRequested);
    // A line whose lyric the editor saved is not compared.
    EXPECT_EQ(show(songLine("1001", "Love", "x") + " [+]").outcome, DetailOutcome::Shown);
}

TEST_F(DetailTest, MissingLyricOffersARebuildAndASeparatorShowsNothing) {
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::Yes);
    const auto detail = show(songLine("9999", "Gone", "x"));
    EXPECT_EQ(detail.outcome, DetailOutcome::LyricMissing);
    EXPECT_TRUE(detail.rebuildRequested);
    EXPECT_EQ(detail.song.code(), "9999");
    // A code that could leave the library builds no path: it is treated as missing.
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::No);
    EXPECT_EQ(show(songLine("../../etc", "x", "x")).outcome, DetailOutcome::LyricMissing);
    EXPECT_EQ(show(separatorLine()).outcome, DetailOutcome::Separator);
}

TEST_F(DetailTest, DoubleClickOpensTheMidiWithTmidiWhenPresent) {
    writeBytes(dir / "SONG/1/1001.mid", "MThd");
    writeBytes(dir / "TMIDI.EXE", "MZ");
    const SongPaths paths(fs, ctx.folders);
    ASSERT_TRUE(openSongMidi(cp(songLine("1001", "T", "x")), paths, fs, dir.path(), launcher));
    EXPECT_FALSE(openSongMidi(separatorLine(), paths, fs, dir.path(), launcher));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_FALSE(launcher.calls[0].document || launcher.calls[0].hidden);
    EXPECT_EQ(launcher.calls[0].program, dir / "TMIDI.EXE");
    // The MIDI file as it lies on disk, whatever the case of its extension.
    EXPECT_EQ(launcher.calls[0].args, std::vector<std::string>{dir / "SONG/1/1001.mid"});
}

}  // namespace
}  // namespace dadaz::testing
