#include "catalogue/artist_list.h"
#include "catalogue/paging.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class ArtistListTest : public LoadedCatalogueTest {
  protected:
    std::vector<std::string> artists() { return toUtf8(search("%A").artists); }
};

TEST_F(ArtistListTest, NamesAreCutAtNotesShortOnesLeftOutAndRepeatsBeyondBlanksKept) {
    std::vector<std::string> lines;
    for (const char* artist : {"Bird", "Bird (live)", "AB", "Cat [remix]", "Cat", "Dog@home", " ",
                               "ABC", "เอ็ม", "บี", "Sun Ny", "SunNy", "Sunz"}) {
        lines.push_back(songLine(std::to_string(lines.size() + 1), "t", artist));
    }
    load(lines);
    EXPECT_EQ(artists(),
              (std::vector<std::string>{"ABC", "Bird", "Cat", "Dog", "Sun Ny", "Sunz", "เอ็ม"}));
    // A picked name also finds the songs listed with a note.
    EXPECT_EQ(search(cp874ToUtf8(artistPickQuery("Bird"))).found, 2);
}

TEST_F(ArtistListTest, EachPageStartsItsOwnRun) {
    load(std::vector<std::string>(32768, songLine("1", "t", "Same")));
    EXPECT_EQ(artists(), (std::vector<std::string>{"Same", "Same"}));
}

TEST_F(ArtistListTest, AnEditedSongIsMarkedOnceInTheCatalogue) {
    load({songLine("1", "Song", "A"), songLine("12", "Song", "A")});
    for (int twice = 0; twice < 2; ++twice) catalogue.markEdited(cp(songLine("1", "Song", "A")));
    EXPECT_EQ(toUtf8(catalogue.page(0).songs),
              (std::vector<std::string>{songLine("1", "Song", "A") + " [+]",
                                        songLine("12", "Song", "A")}));
}

TEST_F(ArtistListTest, PageTurnsShowEachPageWithItsCount) {
    load({songLine("1", "t", "a")});
    EXPECT_FALSE(browsePage(catalogue).controls.visible);
    load(numberedSongs(2 * 32767 + 5, 100000, "t", "a"));
    auto shown = browsePage(catalogue);
    EXPECT_EQ(shown.controls, (PageControls{true, false, true, "0/2"}));
    EXPECT_EQ(shown.resultLine, "ค้นหาพบ 32,767 จาก 65,539 เพลง");
    nextPage(catalogue);
    shown = nextPage(catalogue);
    EXPECT_EQ(shown.controls, (PageControls{true, true, false, "2/2"}));
    EXPECT_EQ(shown.lines.front(), cp(songLine("165534", "t", "a")));
    EXPECT_EQ(shown.resultLine, "ค้นหาพบ 5 จาก 65,539 เพลง");
    // Browsing shows the current page with the same controls.
    const auto browsed = search("");
    EXPECT_EQ(browsed.lines, shown.lines.copies());
    EXPECT_EQ(browsed.page, shown.controls);
    EXPECT_EQ(previousPage(catalogue).controls, (PageControls{true, true, true, "1/2"}));
    // A new load starts again at page 0.
    ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.currentPage(), 0);
}

}  // namespace
}  // namespace dadaz::testing
