#include "catalogue/lyric_search.h"

#include "catalogue/catalogue_loader.h"
#include "catalogue/song_search.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class LyricSearchTest : public CatalogueTest {
  protected:
    void load(const std::vector<std::string>& lines) {
        writeSongList(lines);
        ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    }
    SearchResult search(const std::string& query) {
        return runSongSearch(catalogue, cp(query), {.searchLyric = true}, ctx, view);
    }
    Catalogue catalogue;
};

TEST_F(LyricSearchTest, FindsWordsIgnoringCaseAndPhrasesTypedWithBlanks) {
    writeLyric("1001", {"Song One", "A", "C", "", "ฉันรักเธอเสมอ", "Hello World"});
    writeLyric("1002", {"Song Two", "B", "C", "", "nothing to see"});
    writeLyric("2001", {"Song Three", "C", "C", "", "HELLO again"});
    load({songLine("1001", "Song One", "A"), songLine("1002", "Song Two", "B"),
          songLine("2001", "Song Three", "C"), songLine("3001", "No Lyric File", "D")});

    const auto hello = search("hello");
    EXPECT_EQ(hello.kind, QueryKind::Lyric);
    EXPECT_EQ(toUtf8(hello.lines), (std::vector<std::string>{songLine("1001", "Song One", "A"),
                                                             songLine("2001", "Song Three", "C")}));
    EXPECT_EQ(hello.resultLineText(), "ค้นหาพบ 2 จาก 4 เพลง");
    // The last song looked at becomes the current song code.
    EXPECT_EQ(hello.currentSongCode, "3001");

    const auto phrase = search("รัก เธอ เสมอ");
    EXPECT_EQ(toUtf8(phrase.lines), (std::vector<std::string>{songLine("1001", "Song One", "A")}));
    EXPECT_TRUE(search("absent").lines.empty());
    // The lyric option searches the lyric whatever the query begins with.
    EXPECT_TRUE(search("+1001").lines.empty());
    EXPECT_NE(std::find(view.resultLines.begin(), view.resultLines.end(), "กรุณารอสักครู่..."),
              view.resultLines.end());
}

TEST_F(LyricSearchTest, FindsLyricFilesWhateverTheCaseOfTheirNames) {
    writeBytes(dir / "Lyrics/a/abc1.lyr", cp("t\r\na\r\nC\r\n\r\nword\r\n"));
    writeBytes(dir / "Lyrics/B/BCD2.Lyr", cp("t\r\na\r\nC\r\n\r\nword\r\n"));
    ctx.folders.lyric = dir / "LYRICS";
    load({songLine("ABC1", "t", "a"), songLine("bcd2", "t", "a")});
    EXPECT_EQ(search("word").found, 2);
}

TEST_F(LyricSearchTest, SearchesEveryPageInOrder) {
    std::vector<std::string> lines;
    for (int i = 0; i < 32767 + 3; ++i) {
        lines.push_back(songLine(std::to_string(100000 + i), "t", "a"));
    }
    writeLyric("100003", {"t", "a", "C", "", "needle"});
    writeLyric("132768", {"t", "a", "C", "", "a NEEDLE here"});
    load(lines);
    const auto result = search("Needle");
    EXPECT_EQ(toUtf8(result.lines), (std::vector<std::string>{songLine("100003", "t", "a"),
                                                              songLine("132768", "t", "a")}));
}

TEST_F(LyricSearchTest, MultiFolderLinesFindTheirVolumeAlsoWithTheEditedMark) {
    const std::string root = dir / "Karaoke";
    ctx.folders = Folders{root, root, root, dir / "Invalid"};
    writeBytes(root + "/Vol1/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nfind me\r\n"));
    writeBytes(root + "/Vol2/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nnot here\r\n"));
    writeBytes(dir / "Elsewhere/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nfind me\r\n"));
    load({songLine("5001", "t", "a", "C  ;" + root + "/Vol1"),
          songLine("5001", "t", "a", "C  ;" + root + "/Vol2"),
          songLine("5001", "t", "a", "C  ;" + root + "/Vol1") + " [+]",
          // A volume outside the library builds no path, nor does an unsafe code.
          songLine("5001", "t", "a", "C  ;" + dir / "Elsewhere"),
          songLine("../5001", "t", "a", "C  ;" + root + "/Vol1")});
    const auto result = search("FIND ME");
    EXPECT_EQ(
        toUtf8(result.lines),
        (std::vector<std::string>{songLine("5001", "t", "a", "C  ;" + root + "/Vol1"),
                                  songLine("5001", "t", "a", "C  ;" + root + "/Vol1") + " [+]"}));
}

TEST_F(LyricSearchTest, ReadsLibrariesOfManyVolumes) {
    const std::string root = dir / "Karaoke";
    ctx.folders = Folders{root, root, root, dir / "Invalid"};
    std::vector<std::string> lines;
    for (int v = 0; v < 270; ++v) {
        const std::string volume = root + "/V" + std::to_string(v);
        writeBytes(volume + "/LYRICS/1/1000.LYR", cp(v % 3 ? "t\r\nno\r\n" : "t\r\nyes\r\n"));
        lines.push_back(songLine("1000", "t", "a", "C  ;" + volume));
    }
    load(lines);
    EXPECT_EQ(search("yes").found, 90);
}

TEST_F(LyricSearchTest, CancelListsOnlyMatchesAlreadyRead) {
    std::vector<std::string> lines;
    for (int i = 0; i < 32767 + 2; ++i) {
        lines.push_back(songLine(std::to_string(100000 + i), "t", "a"));
    }
    for (const char* code : {"100001", "100002", "132767", "132768"}) {
        writeLyric(code, {"t", "a", "C", "", "match"});
    }
    load(lines);
    // Cancel as the second page begins: the first page was read whole.
    int pagesBegun = 0;
    view.onResultLine = [&](const std::string& text) {
        if (text == "กรุณารอสักครู่..." && ++pagesBegun == 2) state.stopRequested = true;
    };
    const auto result = search("match");
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(state.stopRequested);
    EXPECT_EQ(toUtf8(result.lines), (std::vector<std::string>{songLine("100001", "t", "a"),
                                                              songLine("100002", "t", "a")}));
    EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 2 จาก 32,769 เพลง");
}

TEST(LyricQueryTest, FindsTheQueryElseItWithoutBlanks) {
    const LyricQuery query(utf8ToCp874("รัก เธอ"));
    const std::string lyric = utf8ToCp874("ABC\r\nฉันรักเธอ\r\n");
    // Positions count characters: one byte of code page 874 each.
    EXPECT_EQ(query.find(lyric), (std::pair<std::size_t, std::size_t>{8, 6}));
    EXPECT_EQ(LyricQuery("abc").find(lyric), (std::pair<std::size_t, std::size_t>{0, 3}));
    EXPECT_EQ(LyricQuery("B C").find("xx b c bc"), (std::pair<std::size_t, std::size_t>{3, 3}));
    EXPECT_EQ(LyricQuery("zz").find(lyric), (std::pair<std::size_t, std::size_t>{0, 0}));
}

}  // namespace
}  // namespace dadaz::testing
