#include "catalogue/song_detail.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue/song_line.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

using namespace dadaz::catalogue_text;

class DetailTest : public CatalogueTest {
  protected:
    SongDetail show(const std::string& line, const std::string& highlight = {}) {
        const SongPaths paths(fs, ctx.folders);
        return showSongDetail(cp(line), paths, fs, prompt, cp(highlight));
    }
};

TEST_F(DetailTest, ShowsTheLyricItsLinesAndTheMidiPath) {
    writeLyric("1001", {"Love Song (Remix)", "Singer", "C", "", "la la"});
    writeBytes(dir / "SONG/1/1001.mid", "MThd");
    const auto detail = show(songLine("1001", "Love Song", "Singer"));
    ASSERT_EQ(detail.outcome, DetailOutcome::Shown);
    EXPECT_EQ(detail.code, "1001");
    EXPECT_EQ(toUtf8(detail.lyricLines),
              (std::vector<std::string>{"Love Song (Remix)", "Singer", "C", "", "la la"}));
    EXPECT_EQ(cp874ToUtf8(detail.lyricText), "Love Song (Remix)\r\nSinger\r\nC\r\n\r\nla la\r\n");
    // The file as it lies on disk, whatever the case of its extension.
    EXPECT_EQ(detail.midiPath, dir / "SONG/1/1001.mid");
    EXPECT_EQ(detail.highlight.second, 0u);
}

TEST_F(DetailTest, TitleCheckAcceptsARemarkOrALongerFirstLineAndIgnoresCase) {
    writeLyric("1001", {"  LOVE SONG forever", "x"});
    EXPECT_EQ(show(songLine("1001", "Love Song", "x")).outcome, DetailOutcome::Shown);
    writeLyric("1002", {"เพลงรัก (แสดงสด)", "x"});
    EXPECT_EQ(show(songLine("1002", "เพลงรัก", "x")).outcome, DetailOutcome::Shown);
}

TEST_F(DetailTest, TitleMismatchOffersARebuild) {
    writeLyric("1001", {"Love", "x"});
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kTitleMismatch, Answer::No);
    const auto no = show(songLine("1001", "Love Song", "x"));
    EXPECT_EQ(no.outcome, DetailOutcome::TitleMismatch);
    EXPECT_FALSE(no.rebuildRequested);
    EXPECT_TRUE(no.lyricLines.empty());

    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kTitleMismatch, Answer::Yes);
    EXPECT_TRUE(show(songLine("1001", "Other", "x")).rebuildRequested);
}

TEST_F(DetailTest, EditedLinesSkipTheTitleCheck) {
    writeLyric("1001", {"New Title", "x"});
    const auto detail = show(songLine("1001", "Old Title", "x") + " [+]");
    EXPECT_EQ(detail.outcome, DetailOutcome::Shown);
    EXPECT_EQ(detail.code, "1001");
}

TEST_F(DetailTest, MissingLyricOffersARebuild) {
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::Yes);
    const auto detail = show(songLine("9999", "Gone", "x"));
    EXPECT_EQ(detail.outcome, DetailOutcome::LyricMissing);
    EXPECT_TRUE(detail.rebuildRequested);
    EXPECT_EQ(detail.code, "9999");
    // A code that could leave the library builds no path: it is treated as missing.
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::No);
    EXPECT_EQ(show(songLine("../../etc", "x", "x")).outcome, DetailOutcome::LyricMissing);
}

TEST_F(DetailTest, SeparatorsShowNothing) {
    const auto detail = show(separatorLine());
    EXPECT_EQ(detail.outcome, DetailOutcome::Separator);
    EXPECT_TRUE(detail.code.empty());
}

TEST_F(DetailTest, HighlightsTheQueryOrItWithoutBlanks) {
    writeLyric("1001", {"T", "x", "C", "", "ฉันรักเธอ Always"});
    const std::string line = songLine("1001", "T", "x");
    // "T\r\nx\r\nC\r\n\r\n" is 11 characters.
    EXPECT_EQ(show(line, "รัก เธอ").highlight, (std::pair<std::size_t, std::size_t>{14, 6}));
    EXPECT_EQ(show(line, "always").highlight, (std::pair<std::size_t, std::size_t>{21, 6}));
    EXPECT_EQ(show(line, "never").highlight.second, 0u);
}

TEST_F(DetailTest, MultiFolderSongsUseTheirVolume) {
    const std::string root = dir / "Lib";
    ctx.folders = Folders{root, root, root, dir / "Invalid"};
    writeBytes(root + "/V1/LYRICS/7/7001.LYR", cp("T\r\nx\r\n"));
    writeBytes(root + "/V1/SONG/7/7001.MID", "MThd");
    const auto detail = show(songLine("7001", "T", "x", "C  ;" + root + "/V1") + " [+]");
    ASSERT_EQ(detail.outcome, DetailOutcome::Shown);
    EXPECT_EQ(detail.volume, root + "/V1");
    EXPECT_EQ(detail.midiPath, root + "/V1/SONG/7/7001.MID");
}

TEST_F(DetailTest, DoubleClickOpensTheMidiWithTmidiWhenPresent) {
    writeBytes(dir / "SONG/1/1001.MID", "MThd");
    const SongPaths paths(fs, ctx.folders);
    const std::string line = cp(songLine("1001", "T", "x"));
    ASSERT_TRUE(openSongMidi(line, paths, fs, dir.path(), launcher));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_TRUE(launcher.calls[0].document);
    EXPECT_EQ(launcher.calls[0].program, dir / "SONG/1/1001.MID");

    writeBytes(dir / "TMIDI.EXE", "MZ");
    fs.forgetIndexes();
    ASSERT_TRUE(openSongMidi(line, paths, fs, dir.path(), launcher));
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_FALSE(launcher.calls[1].document);
    EXPECT_FALSE(launcher.calls[1].hidden);
    EXPECT_EQ(launcher.calls[1].program, dir / "TMIDI.EXE");
    EXPECT_EQ(launcher.calls[1].args, std::vector<std::string>{dir / "SONG/1/1001.MID"});

    EXPECT_FALSE(openSongMidi(separatorLine(), paths, fs, dir.path(), launcher));
    EXPECT_EQ(launcher.calls.size(), 2u);
}

TEST(SongLineTest, SplitsTrimsAndToleratesMissingFields) {
    auto f = splitSongLine("  12  ; Title  ;Artist  ;Key");
    EXPECT_EQ(f.code, "12");
    EXPECT_EQ(f.title, "Title");
    EXPECT_EQ(f.artist, "Artist");
    f = splitSongLine("12 ;T");
    EXPECT_EQ(f.code, "12");
    EXPECT_EQ(f.title, "T");
    EXPECT_EQ(f.artist, "");
    f = splitSongLine("  ");
    EXPECT_EQ(f.code, "");
    EXPECT_EQ(volumeOfLine("1;t;a;k;/lib/V1 [+]"), "/lib/V1");
    EXPECT_EQ(volumeOfLine("1;t;a;k;/lib/V1"), "/lib/V1");
    EXPECT_TRUE(isSeparatorLine(separatorLine()));
    EXPECT_EQ(separatorLine().size(), 100u);
    EXPECT_FALSE(isSeparatorLine("----x"));
}

}  // namespace
}  // namespace dadaz::testing
