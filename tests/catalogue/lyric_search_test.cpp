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
    writeBytes(dir / "LYRICS/a/abc1.lyr", cp("t\r\na\r\nC\r\n\r\nHELLO again\r\n"));
    load({songLine("1001", "Song One", "A"), songLine("1002", "Song Two", "B"),
          songLine("ABC1", "Song Three", "C"), songLine("3001", "No Lyric File", "D")});

    const auto hello = search("hello");
    // A lyric file is found whatever the case of its name.
    EXPECT_EQ(toUtf8(hello.lines), (std::vector<std::string>{songLine("1001", "Song One", "A"),
                                                             songLine("ABC1", "Song Three", "C")}));
    EXPECT_EQ(hello.resultLineText(), "ค้นหาพบ 2 จาก 4 เพลง");
    EXPECT_EQ(state.currentSong.code(), "3001");  // the last song looked at
    EXPECT_EQ(search("รัก เธอ เสมอ").lines.size(), 1u);
    // The lyric option searches the lyric whatever the query begins with.
    EXPECT_TRUE(search("+1001").lines.empty());
}

TEST_F(LyricSearchTest, MultiFolderLinesFindTheirVolumeAlsoWithTheEditedMark) {
    const std::string root = dir / "Karaoke";
    ctx.folders = Folders{root, root, root, dir / "Invalid"};
    writeBytes(root + "/Vol1/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nfind me\r\n"));
    writeBytes(root + "/Vol2/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nnot here\r\n"));
    writeBytes(dir / "Elsewhere/LYRICS/5/5001.LYR", cp("t\r\na\r\nC\r\n\r\nfind me\r\n"));
    const std::string vol1 = songLine("5001", "t", "a", "C  ;" + root + "/Vol1");
    std::vector<std::string> lines{vol1, songLine("5001", "t", "a", "C  ;" + root + "/Vol2"),
                                   vol1 + " [+]",
                                   // A volume outside the library builds no path, nor does
                                   // an unsafe code.
                                   songLine("5001", "t", "a", "C  ;" + dir / "Elsewhere"),
                                   songLine("../5001", "t", "a", "C  ;" + root + "/Vol1")};
    load(lines);
    EXPECT_EQ(toUtf8(search("FIND ME").lines), (std::vector<std::string>{vol1, vol1 + " [+]"}));
    // More volumes than the reader keeps folders open.
    for (int v = 0; v < 270; ++v) {
        const std::string volume = root + "/V" + std::to_string(v);
        writeBytes(volume + "/LYRICS/1/1000.LYR", cp(v % 3 ? "t\r\nno\r\n" : "t\r\nfind me\r\n"));
        lines.push_back(songLine("1000", "t", "a", "C  ;" + volume));
    }
    load(lines);
    EXPECT_EQ(search("find me").found, 2 + 90);
}

TEST_F(LyricSearchTest, SearchesEveryPageAndCancelKeepsOnlyMatchesAlreadyRead) {
    std::vector<std::string> lines;
    for (int i = 0; i < 32767 + 2; ++i)
        lines.push_back(songLine(std::to_string(100000 + i), "t", "a"));
    writeLyric("100001", {"t", "a", "C", "", "match"});
    writeLyric("100002", {"t", "a", "C", "", "a MATCH here"});
    writeLyric("132768", {"t", "a", "C", "", "match"});
    load(lines);
    EXPECT_EQ(toUtf8(search("Match").lines),
              (std::vector<std::string>{songLine("100001", "t", "a"), songLine("100002", "t", "a"),
                                        songLine("132768", "t", "a")}));
    // Cancel as the second page begins: the first page was read whole.
    int pagesBegun = 0;
    view.onResultLine = [&](const std::string& text) {
        if (text == "กรุณารอสักครู่..." && ++pagesBegun == 2) state.stopRequested = true;
    };
    const auto result = search("match");
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(state.stopRequested);
    EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 2 จาก 32,769 เพลง");
}

}  // namespace
}  // namespace dadaz::testing
