#include "catalogue/song_search.h"

#include "catalogue/catalogue_loader.h"
#include "catalogue/song_line.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class SearchTest : public CatalogueTest {
  protected:
    void load(const std::vector<std::string>& lines) {
        writeSongList(lines);
        ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    }
    SearchResult search(const std::string& query, SearchOptions options = {}) {
        return runSongSearch(catalogue, cp(query), options, ctx, view);
    }
    std::vector<std::string> found(const std::string& query, SearchOptions options = {}) {
        return toUtf8(search(query, options).lines);
    }
    Catalogue catalogue;
};

TEST_F(SearchTest, TitleSearchIgnoresCase) {
    load({songLine("1", "Love Song", "A"), songLine("2", "love me", "B"),
          songLine("3", "LOVELY", "C"), songLine("4", "Other", "D")});
    const auto small = found("++love");
    EXPECT_EQ(small, found("++LOVE"));
    EXPECT_EQ(small, found("++LoVe"));
    EXPECT_EQ(small, (std::vector<std::string>{songLine("1", "Love Song", "A"),
                                               songLine("2", "love me", "B"),
                                               songLine("3", "LOVELY", "C")}));
}

TEST_F(SearchTest, PrefixSearchFindsEntriesThatAreNotNeighboursInTheIndex) {
    // In Thai collation a leading vowel sorts under the consonant after it, so the artists
    // beginning with "เ" lie apart in the sorted index, with others between them.
    load({songLine("1", "ก", "เบิร์ด ธงไชย"), songLine("2", "ข", "บี้"), songLine("3", "ค", "เอ็ม"),
          songLine("4", "ง", "อัสนี"), songLine("5", "จ", "เจ"), songLine("6", "ฉ", "ดา")});
    const auto byVowel = found("+++เ");
    ASSERT_EQ(byVowel.size(), 3u);
    // In the index's order: under บ, จ, อ.
    EXPECT_EQ(byVowel[0], songLine("5", "จ", "เจ"));
    EXPECT_EQ(byVowel[1], songLine("1", "ก", "เบิร์ด ธงไชย"));
    EXPECT_EQ(byVowel[2], songLine("3", "ค", "เอ็ม"));
}

TEST_F(SearchTest, TitlePrefixSearchFindsMatchesSpreadThroughTheFileOrder) {
    // The song list is sorted by Thai collation; titles with a leading vowel and titles with a
    // Latin letter after a Thai one lie apart.
    load({songLine("1", "กA", "x"), songLine("2", "กข", "x"), songLine("3", "เก", "x"),
          songLine("4", "กa", "x"), songLine("5", "ขก", "x")});
    EXPECT_EQ(found("++กa"),
              (std::vector<std::string>{songLine("1", "กA", "x"), songLine("4", "กa", "x")}));
    EXPECT_EQ(found("++ก").size(), 3u);
}

TEST_F(SearchTest, QueryLanguagePicksTheField) {
    load({songLine("501", "Abc", "Zed"), songLine("502", "Zed", "Abc"),
          songLine("601", "Pop", "Rock")});
    EXPECT_EQ(found("+50"), (std::vector<std::string>{songLine("501", "Abc", "Zed"),
                                                      songLine("502", "Zed", "Abc")}));
    EXPECT_EQ(found("++zed"), (std::vector<std::string>{songLine("502", "Zed", "Abc")}));
    EXPECT_EQ(found("+++zed"), (std::vector<std::string>{songLine("501", "Abc", "Zed")}));
    // Plain: title matches, then artist matches; a song matching both is listed twice.
    EXPECT_EQ(found("abc"), (std::vector<std::string>{songLine("501", "Abc", "Zed"),
                                                      songLine("502", "Zed", "Abc")}));
    load({songLine("1", "Same", "Same")});
    EXPECT_EQ(found("sa").size(), 2u);
    // "+" alone lists every code.
    EXPECT_EQ(found("+").size(), 1u);
}

TEST_F(SearchTest, PercentSmallAIsAPlainQuery) {
    load({songLine("1", "%ab", "X"), songLine("2", "Song", "%Artist")});
    const auto small = search("%a");
    EXPECT_EQ(small.kind, QueryKind::Plain);
    EXPECT_FALSE(small.artistListShown);
    EXPECT_EQ(toUtf8(small.lines), (std::vector<std::string>{songLine("1", "%ab", "X"),
                                                             songLine("2", "Song", "%Artist")}));
    const auto list = search("%A");
    EXPECT_EQ(list.kind, QueryKind::ArtistList);
    EXPECT_TRUE(list.artistListShown);
    EXPECT_TRUE(list.lines.empty());
    EXPECT_EQ(view.artistLists, 1);
}

TEST_F(SearchTest, EveryPartListsTitlesArtistsSeparatorThenOtherLines) {
    load({songLine("1", "Rain", "Sun"), songLine("2", "Sun Rise", "Moon"),
          songLine("3", "Moon", "Sunny"), songLine("4", "Hot Sun", "Band"),
          songLine("5", "Night", "SUN Band"), songLine("6", "sun low", "X"),
          songLine("7", "Cold", "Ice", "Sun")});
    const auto result = search("Sun", {.searchAll = true});
    EXPECT_EQ(toUtf8(result.lines),
              (std::vector<std::string>{
                  songLine("2", "Sun Rise", "Moon"), songLine("6", "sun low", "X"),
                  // Artists in collation order: a blank sorts before the ";".
                  songLine("5", "Night", "SUN Band"), songLine("1", "Rain", "Sun"),
                  songLine("3", "Moon", "Sunny"), separatorLine(), songLine("4", "Hot Sun", "Band"),
                  songLine("7", "Cold", "Ice", "Sun")}));
    EXPECT_EQ(result.found, 7);
    EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 7 จาก 7 เพลง");
}

TEST_F(SearchTest, EveryPartRunsPageByPage) {
    std::vector<std::string> lines;
    for (int i = 0; i < 32767; ++i) lines.push_back(songLine(std::to_string(100000 + i), "x", "y"));
    lines[5] = songLine("100005", "Key A", "y");
    lines.push_back(songLine("200000", "Key B", "y"));
    lines.push_back(songLine("200001", "x", "y", "Key"));
    load(lines);
    const auto result = search("Key", {.searchAll = true});
    EXPECT_EQ(toUtf8(result.lines),
              (std::vector<std::string>{songLine("100005", "Key A", "y"), separatorLine(),
                                        songLine("200000", "Key B", "y"), separatorLine(),
                                        songLine("200001", "x", "y", "Key")}));
    EXPECT_EQ(result.found, 3);
}

TEST_F(SearchTest, NothingFoundReportsZeroOfTheWholeCatalogue) {
    std::vector<std::string> lines;
    for (int i = 0; i < 12345; ++i) {
        lines.push_back(songLine(std::to_string(10000 + i), "Title " + std::to_string(i), "A"));
    }
    load(lines);
    EXPECT_EQ(search("nothing here").resultLineText(), "ค้นหาพบ 0 จาก 12,345 เพลง");
    const auto all = search("nothing here", {.searchAll = true});
    EXPECT_EQ(all.lines, std::vector<std::string>{separatorLine()});
    EXPECT_EQ(all.resultLineText(), "ค้นหาพบ 0 จาก 12,345 เพลง");
}

TEST_F(SearchTest, EmptyQueryBrowsesTheCurrentPage) {
    load({songLine("1", "a", "b"), songLine("2", "c", "d")});
    const auto result = search("");
    EXPECT_EQ(result.kind, QueryKind::Browse);
    EXPECT_EQ(result.lines, catalogue.page(0).songs);
    EXPECT_FALSE(result.page.visible);
    EXPECT_EQ(view.searches.back(), true);
}

TEST_F(SearchTest, CancelKeepsWhatWasFoundSoFar) {
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i) lines.push_back(songLine(std::to_string(1000 + i), "Hit", "A"));
    load(lines);
    int steps = 0;
    onPump = [&] {
        if (++steps == 5) state.stopRequested = true;
    };
    const auto result = search("++hit");
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.lines.size(), 4u);
    EXPECT_EQ(result.found, 4);
    EXPECT_FALSE(state.stopRequested);
}

TEST_F(SearchTest, OptionsFollowTheTicksAndAPlusDisablesBoth) {
    EXPECT_EQ(optionStatesByTicks({}), (OptionStates{true, true}));
    EXPECT_EQ(optionStatesByTicks({.searchAll = true}), (OptionStates{true, false}));
    EXPECT_EQ(optionStatesByTicks({.searchLyric = true}), (OptionStates{false, true}));
    EXPECT_EQ(optionStatesOnKeyUp("+12", {}), (OptionStates{false, false}));
    EXPECT_EQ(optionStatesOnKeyUp("+12", {.searchAll = true}), (OptionStates{false, false}));
    EXPECT_EQ(optionStatesOnKeyUp("12+", {.searchAll = true}), (OptionStates{true, false}));
    EXPECT_EQ(artistPickQuery("Bird"), "+++Bird");
}

TEST_F(SearchTest, QueryKindsByTheirFirstCharacters) {
    EXPECT_EQ(parseQuery("", {}).kind, QueryKind::Browse);
    EXPECT_EQ(parseQuery("", {.searchLyric = true}).kind, QueryKind::Browse);
    EXPECT_EQ(parseQuery("+1", {.searchLyric = true}).kind, QueryKind::Lyric);
    EXPECT_EQ(parseQuery("+++a", {.searchAll = true}).key, "a");
    EXPECT_EQ(parseQuery("++a", {}).kind, QueryKind::TitlePrefix);
    EXPECT_EQ(parseQuery("%Abc", {}).kind, QueryKind::ArtistList);
    EXPECT_EQ(parseQuery("x%A", {}).kind, QueryKind::Plain);
}

}  // namespace
}  // namespace dadaz::testing
