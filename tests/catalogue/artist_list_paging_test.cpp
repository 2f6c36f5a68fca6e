#include "catalogue/artist_list.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/paging.h"
#include "catalogue/song_search.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class ArtistListTest : public CatalogueTest {
  protected:
    void load(const std::vector<std::string>& lines) {
        writeSongList(lines);
        ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    }
    std::vector<std::string> artists() {
        auto result = runSongSearch(catalogue, "%A", {}, ctx, view);
        EXPECT_TRUE(result.artistListShown);
        return toUtf8(result.artists);
    }
    Catalogue catalogue;
};

TEST_F(ArtistListTest, NotesAfterTheNameGiveOneEntryAndShortNamesNone) {
    load({songLine("1", "a", "Bird"), songLine("2", "b", "Bird (live)"), songLine("3", "c", "AB"),
          songLine("4", "d", "Cat [remix]"), songLine("5", "e", "Cat"),
          songLine("6", "f", "Dog@home"), songLine("7", "g", " "), songLine("8", "h", "ABC"),
          songLine("9", "i", "เอ็ม"), songLine("10", "j", "บี")});
    EXPECT_EQ(artists(), (std::vector<std::string>{"ABC", "Bird", "Cat", "Dog", "เอ็ม"}));
}

TEST_F(ArtistListTest, APickedNameFindsTheSongsWithAndWithoutTheNote) {
    load({songLine("1", "a", "Bird"), songLine("2", "b", "Bird (live)")});
    const auto names = artists();
    ASSERT_EQ(names.size(), 1u);
    const auto pick = runSongSearch(catalogue, cp(artistPickQuery(names[0])), {}, ctx, view);
    EXPECT_EQ(pick.found, 2);
}

TEST_F(ArtistListTest, NamesRepeatOnlyWhenTheyDifferBeyondBlanks) {
    load({songLine("1", "a", "Sun Ny"), songLine("2", "b", "SunNy"), songLine("3", "c", "Sunz")});
    EXPECT_EQ(artists(), (std::vector<std::string>{"Sun Ny", "Sunz"}));
}

TEST_F(ArtistListTest, EachPageStartsItsOwnRun) {
    std::vector<std::string> lines(32768, songLine("1", "t", "Same"));
    load(lines);
    EXPECT_EQ(artists(), (std::vector<std::string>{"Same", "Same"}));
}

TEST_F(ArtistListTest, AnEditedSongIsMarkedOnceInTheCatalogue) {
    load({songLine("1", "Song", "A"), songLine("12", "Song", "A")});
    const std::string line = cp(songLine("1", "Song", "A"));
    catalogue.markEdited(line);
    catalogue.markEdited(line);
    EXPECT_EQ(toUtf8(catalogue.page(0).songs),
              (std::vector<std::string>{songLine("1", "Song", "A") + " [+]",
                                        songLine("12", "Song", "A")}));
}

TEST(PagingTest, OnePageHidesThePageControls) {
    EXPECT_EQ(pageControls(0, 0), PageControls{});
}

TEST(PagingTest, ThreePagesLabelFromZeroAndHoldTheButtonsInRange) {
    const auto first = pageControls(0, 2);
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.label, "0/2");
    EXPECT_FALSE(first.previousEnabled);
    EXPECT_TRUE(first.nextEnabled);
    const auto middle = pageControls(1, 2);
    EXPECT_TRUE(middle.previousEnabled);
    EXPECT_TRUE(middle.nextEnabled);
    const auto last = pageControls(2, 2);
    EXPECT_EQ(last.label, "2/2");
    EXPECT_TRUE(last.previousEnabled);
    EXPECT_FALSE(last.nextEnabled);
    EXPECT_EQ(pageControls(0, 1).label, "0/1");
}

TEST_F(ArtistListTest, PageTurnsShowEachPageWithItsCount) {
    std::vector<std::string> lines;
    for (int i = 0; i < 2 * 32767 + 5; ++i) {
        lines.push_back(songLine(std::to_string(100000 + i), "t", "a"));
    }
    load(lines);
    ASSERT_EQ(catalogue.lastPage(), 2);
    auto shown = browsePage(catalogue);
    EXPECT_EQ(shown.controls.label, "0/2");
    EXPECT_EQ(shown.resultLine, "ค้นหาพบ 32,767 จาก 65,539 เพลง");
    shown = nextPage(catalogue);
    shown = nextPage(catalogue);
    EXPECT_EQ(shown.controls.label, "2/2");
    EXPECT_FALSE(shown.controls.nextEnabled);
    ASSERT_EQ(shown.lines->size(), 5u);
    EXPECT_EQ(shown.lines->front(), cp(songLine("165534", "t", "a")));
    EXPECT_EQ(shown.resultLine, "ค้นหาพบ 5 จาก 65,539 เพลง");
    // Browsing shows the current page with the same controls.
    const auto browsed = runSongSearch(catalogue, "", {}, ctx, view);
    EXPECT_EQ(browsed.lines, *shown.lines);
    EXPECT_EQ(browsed.page, shown.controls);
    shown = previousPage(catalogue);
    EXPECT_EQ(shown.controls.label, "1/2");
    // A new load starts again at page 0.
    ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.currentPage(), 0);
}

}  // namespace
}  // namespace dadaz::testing
