#include "catalogue/catalogue_loader.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue/search_session.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class LoaderTest : public CatalogueTest {
  protected:
    LoadOutcome load() { return loadCatalogue(catalogue, ctx, view); }
    Catalogue catalogue;
};

TEST_F(LoaderTest, HeaderOnlyFileGivesAnEmptyCatalogueAndZeroOfZero) {
    writeSongList({});
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.totalSongs(), 0);
    EXPECT_EQ(catalogue.lastPage(), 0);
    EXPECT_TRUE(state.catalogueLoaded);
    for (const char* query : {"", "abc", "+1", "++a", "+++a"}) {
        const auto result = runSongSearch(catalogue, query, {}, ctx, view);
        EXPECT_EQ(result.resultLineText(), "ค้นหาพบ 0 จาก 0 เพลง") << query;
    }
}

TEST_F(LoaderTest, KeepsLinesAsReadAndIndexesTrimmedFieldsWithRecordIndexes) {
    writeSongList({songLine("10002", "Zebra", "Band"), songLine("10001", "Apple", "Cat Stevens")});
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    const auto& page = catalogue.page(0);
    ASSERT_EQ(page.songs.size(), 2u);
    EXPECT_EQ(page.songs[0], "10002  ;Zebra  ;Band  ;C");
    // Titles in file order, codes and artists sorted.
    EXPECT_EQ(page.names.text(0), "Zebra;0");
    EXPECT_EQ(page.names.text(1), "Apple;1");
    EXPECT_EQ(page.codes.text(0), "10001;1");
    EXPECT_EQ(page.codes.text(1), "10002;0");
    EXPECT_EQ(page.artists.text(0), "Band;0");
    EXPECT_EQ(page.artists.text(1), "Cat Stevens;1");
    EXPECT_TRUE(view.resultLineHidden);
    EXPECT_EQ(view.loads, 1);
    EXPECT_EQ(view.loadsEnded, 1);
}

TEST_F(LoaderTest, SplitsPagesAt32767RecordsWithPageLocalIndexes) {
    std::vector<std::string> lines;
    for (int i = 0; i < 32768; ++i) {
        lines.push_back(songLine(std::to_string(100000 + i), "T" + std::to_string(i), "A"));
    }
    writeSongList(lines);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.totalSongs(), 32768);
    ASSERT_EQ(catalogue.lastPage(), 1);
    EXPECT_EQ(catalogue.page(0).songs.size(), 32767u);
    EXPECT_EQ(catalogue.page(0).songs[32766], cp(songLine("132766", "T32766", "A")));
    const auto& page1 = catalogue.page(1);
    ASSERT_EQ(page1.songs.size(), 1u);
    EXPECT_EQ(page1.songs[0], cp(songLine("132767", "T32767", "A")));
    EXPECT_EQ(page1.codes.text(0), "132767;0");
    EXPECT_EQ(page1.names.text(0), "T32767;0");
    EXPECT_EQ(page1.artists.text(0), "A;0");
    // A search over both pages finds the record of page 1 through its own index.
    const auto found = runSongSearch(catalogue, "+132767", {}, ctx, view);
    ASSERT_EQ(found.lines.size(), 1u);
    EXPECT_EQ(found.lines[0], page1.songs[0]);
}

TEST_F(LoaderTest, ShortLinesLoadWithEmptyFieldsAndDoNotShiftLaterRecords) {
    writeSongList(
        {"12345", "23456  ;Only Title", "", songLine("34567", "Last", "Singer"), "45678;T;A"});
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    const auto& page = catalogue.page(0);
    ASSERT_EQ(page.songs.size(), 5u);
    EXPECT_EQ(catalogue.totalSongs(), 5);
    // Each line is one record in all four lists, in the same position.
    const auto last = runSongSearch(catalogue, "++Last", {}, ctx, view);
    ASSERT_EQ(last.lines.size(), 1u);
    EXPECT_EQ(last.lines[0], cp(songLine("34567", "Last", "Singer")));
    const auto bySinger = runSongSearch(catalogue, "+++Sing", {}, ctx, view);
    ASSERT_EQ(bySinger.lines.size(), 1u);
    EXPECT_EQ(bySinger.lines[0], last.lines[0]);
    const auto code = runSongSearch(catalogue, "+12345", {}, ctx, view);
    ASSERT_EQ(code.lines.size(), 1u);
    EXPECT_EQ(code.lines[0], "12345");
    const auto title = runSongSearch(catalogue, "++only", {}, ctx, view);
    ASSERT_EQ(title.lines.size(), 1u);
    EXPECT_EQ(title.lines[0], "23456  ;Only Title");
    const auto artistA = runSongSearch(catalogue, "+++A", {}, ctx, view);
    ASSERT_EQ(artistA.lines.size(), 1u);
    EXPECT_EQ(artistA.lines[0], "45678;T;A");
}

TEST_F(LoaderTest, CancelKeepsThePartialCatalogueAndTheNextEnterLoadsAgain) {
    std::vector<std::string> lines;
    for (int i = 0; i < 50; ++i) lines.push_back(songLine(std::to_string(1000 + i), "Song", "A"));
    writeSongList(lines);
    // The clock moves 20 ms per look, so events run before every line: cancel on the 11th.
    onPump = [this] {
        if (pumps == 11) state.stopRequested = true;
    };
    ASSERT_EQ(load(), LoadOutcome::Stopped);
    EXPECT_EQ(catalogue.totalSongs(), 10);
    EXPECT_FALSE(state.catalogueLoaded);
    EXPECT_FALSE(state.stopRequested);
    const auto partial = runSongSearch(catalogue, "++song", {}, ctx, view);
    EXPECT_EQ(partial.resultLineText(), "ค้นหาพบ 10 จาก 10 เพลง");

    onPump = nullptr;
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.totalSongs(), 50);
    EXPECT_TRUE(state.catalogueLoaded);
}

TEST_F(LoaderTest, ShowsTheRecordCountWhileReading) {
    writeSongList({songLine("1", "a", "b"), songLine("2", "c", "d")});
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    ASSERT_FALSE(view.resultLines.empty());
    EXPECT_EQ(view.resultLines.back(), "กำลังอ่านข้อมูล 2 Records.");
    EXPECT_EQ(catalogue_text::loadingLine(12345), "กำลังอ่านข้อมูล 12,345 Records.");
}

TEST_F(LoaderTest, EntersAndLeavesTheBusyStateAsLoadingSongDB) {
    std::vector<std::string> calls;
    ctx.enterBusy = [&](const std::string& name) { calls.push_back("enter " + name); };
    ctx.leaveBusy = [&] { calls.push_back("leave"); };
    writeSongList({songLine("1", "a", "b")});
    load();
    EXPECT_EQ(calls, (std::vector<std::string>{"enter LoadingSongDB", "leave"}));
}

}  // namespace
}  // namespace dadaz::testing
