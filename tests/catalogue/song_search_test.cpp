#include "catalogue/song_search.h"

#include <algorithm>

#include "catalogue/song_line.h"
#include "catalogue_fixture.h"
#include "platform/collation.h"

namespace dadaz::testing {
namespace {

using SearchTest = LoadedCatalogueTest;

TEST_F(SearchTest, PrefixSearchFindsEntriesThatAreNotNeighboursInTheIndex) {
    // In Thai collation a leading vowel sorts under the consonant after it, so the artists
    // beginning with "เ" lie apart in the sorted index, with others between them.
    load({songLine("1", "ก", "เบิร์ด ธงไชย"), songLine("2", "ข", "บี้"), songLine("3", "ค", "เอ็ม"),
          songLine("4", "ง", "อัสนี"), songLine("5", "จ", "เจ"), songLine("6", "ฉ", "ดา")});
    // In the index's order: under บ, จ, อ.
    EXPECT_EQ(found("+++เ"),
              (std::vector<std::string>{songLine("5", "จ", "เจ"), songLine("1", "ก", "เบิร์ด ธงไชย"),
                                        songLine("3", "ค", "เอ็ม")}));
    // Titles follow the file, where those with a Latin letter after a Thai one lie apart.
    load({songLine("1", "กA", "x"), songLine("2", "กข", "x"), songLine("3", "เก", "x"),
          songLine("4", "กa", "x"), songLine("5", "ขก", "x")});
    EXPECT_EQ(found("++กa"),
              (std::vector<std::string>{songLine("1", "กA", "x"), songLine("4", "กa", "x")}));
    EXPECT_EQ(found("++ก").size(), 3u);
}

TEST_F(SearchTest, CodesAndArtistsFollowThaiCollationOfTheWholeEntry) {
    // Keys that differ in case, tone marks, blanks, punctuation and digits; each comes twice,
    // so that records of one and of two digits decide between equal keys.
    const std::vector<std::string> keys = {
        "Amy", "amy", "AMY", "Amy B", "Amy-B", "Amy.B", "",  "9 Lives", "A10", "a2", "เอ็ม",
        "เอม", "เอ้ม", "ก",   "กA",    "ก a",   "ก่",     "ข", "100",     "10",  "09"};
    std::vector<std::string> lines, entries;
    for (std::size_t i = 0; i < 2 * keys.size(); ++i) {
        const std::string& key = keys[i % keys.size()];
        lines.push_back(key + ";t;" + key + ";C");
        entries.push_back(cp(key) + ";" + std::to_string(i));
    }
    load(lines);
    ThaiCollator collator;
    std::ranges::stable_sort(entries, [&](auto& a, auto& b) { return collator.less(a, b); });
    for (const PrefixIndex* index : {&catalogue.page(0).codes, &catalogue.page(0).artists}) {
        std::vector<std::string> listed;
        for (std::size_t i = 0; i < index->size(); ++i) listed.emplace_back(index->text(i));
        EXPECT_EQ(listed, entries);
    }
}

TEST_F(SearchTest, QueryLanguagePicksTheField) {
    load({songLine("501", "Abc", "Zed"), songLine("502", "Zed", "Abc"),
          songLine("601", "%ab", "%Artist")});
    EXPECT_EQ(found("+50"), (std::vector<std::string>{songLine("501", "Abc", "Zed"),
                                                      songLine("502", "Zed", "Abc")}));
    EXPECT_EQ(found("++zed"), (std::vector<std::string>{songLine("502", "Zed", "Abc")}));
    EXPECT_EQ(found("+++zed"), (std::vector<std::string>{songLine("501", "Abc", "Zed")}));
    // Plain: title matches, then artist matches.
    EXPECT_EQ(found("abc"), (std::vector<std::string>{songLine("501", "Abc", "Zed"),
                                                      songLine("502", "Zed", "Abc")}));
    // "%a" is a plain query; "%A" lists the artists instead of songs.
    EXPECT_EQ(found("%a"), (std::vector<std::string>{songLine("601", "%ab", "%Artist"),
                                                     songLine("601", "%ab", "%Artist")}));
    EXPECT_TRUE(search("%A").artistListShown && found("%A").empty());
}

TEST_F(SearchTest, EveryPartListsTitlesArtistsSeparatorThenOtherLinesPageByPage) {
    std::vector<std::string> lines{
        songLine("1", "Rain", "Sun"),       songLine("2", "Sun Rise", "Moon"),
        songLine("3", "Moon", "Sunny"),     songLine("4", "Hot Sun", "Band"),
        songLine("5", "Night", "SUN Band"), songLine("6", "sun low", "X"),
        songLine("7", "Cold", "Ice", "Sun")};
    const auto filler = numberedSongs(32762, 100000, "x", "y");
    lines.insert(lines.end(), filler.begin(), filler.end());
    lines.push_back(songLine("8", "x", "y", "Sun"));  // the first line of page 1
    load(lines);
    const auto result = search("Sun", {.searchAll = true});
    EXPECT_EQ(
        toUtf8(result.lines),
        (std::vector<std::string>{
            songLine("2", "Sun Rise", "Moon"), songLine("6", "sun low", "X"),
            // Artists in collation order: a blank sorts before the ";".
            songLine("5", "Night", "SUN Band"), songLine("1", "Rain", "Sun"),
            songLine("3", "Moon", "Sunny"), separatorLine(), songLine("4", "Hot Sun", "Band"),
            songLine("7", "Cold", "Ice", "Sun"), separatorLine(), songLine("8", "x", "y", "Sun")}));
    EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 8 จาก 32,770 เพลง");
    const auto none = search("nothing here", {.searchAll = true});
    EXPECT_EQ(none.lines, (std::vector<std::string>{separatorLine(), separatorLine()}));
    EXPECT_EQ(none.resultLineText(), "ค้นหาพบ 0 จาก 32,770 เพลง");
}

TEST_F(SearchTest, EmptyQueryBrowsesTheCurrentPageWithoutItsSeparatorLikeLines) {
    load({songLine("1", "a", "b"), "-----;odd;line;C", songLine("2", "c", "d")});
    const auto result = search("");
    EXPECT_EQ(result.lines, catalogue.page(0).songs);
    EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 2 จาก 3 เพลง");
    EXPECT_EQ(search("+").found, 2);
    EXPECT_FALSE(result.page.visible);
}

TEST_F(SearchTest, CancelKeepsWhatWasFoundSoFar) {
    load(numberedSongs(2000, 1000, "Hit", "A"));
    const auto all = search("++hit");
    onPump = [this, steps = 0]() mutable { state.stopRequested = ++steps == 2; };
    const auto result = search("++hit");
    EXPECT_TRUE(result.stopped);
    ASSERT_TRUE(result.found > 0 && result.found < 2000);
    EXPECT_EQ(result.lines.size(), static_cast<std::size_t>(result.found));
    EXPECT_TRUE(std::equal(result.lines.begin(), result.lines.end(), all.lines.begin()));
    EXPECT_FALSE(state.stopRequested);
}

TEST_F(SearchTest, ResultsStayWholeWhenTheCatalogueIsLoadedAnewOrCleared) {
    load({songLine("1", "Old Song", "A")});
    const auto titles = search("++old"), browsed = search("");
    load(numberedSongs(3000, 5000, "New", "B"));
    catalogue.clear();
    for (const auto* kept : {&titles, &browsed}) {
        EXPECT_EQ(toUtf8(kept->lines), std::vector{songLine("1", "Old Song", "A")});
    }
}

}  // namespace
}  // namespace dadaz::testing
