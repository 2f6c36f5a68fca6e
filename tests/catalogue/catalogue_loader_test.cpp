#include "catalogue/catalogue_loader.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

class LoaderTest : public LoadedCatalogueTest {
  protected:
    LoadOutcome loadFile() { return loadCatalogue(catalogue, ctx, view); }
};

TEST_F(LoaderTest, AHeaderOnlyFileGivesZeroOfZero) {
    load({});
    for (const char* query : {"", "abc", "+1", "++a", "+++a"}) {
        EXPECT_EQ(search(query).resultLineText(), "ค้นหาพบ 0 จาก 0 เพลง") << query;
    }
}

TEST_F(LoaderTest, KeepsLinesAsReadAndIndexesTrimmedFieldsWithRecordIndexes) {
    std::vector<std::string> calls;
    ctx.enterBusy = [&](const std::string& name) { calls.push_back("enter " + name); };
    ctx.leaveBusy = [&] { calls.push_back("leave"); };
    load({songLine("10002", "Zebra", "Band"), songLine("10001", "Apple", "Cat Stevens")});
    const auto& page = catalogue.page(0);
    EXPECT_EQ(page.songs, (std::vector<std::string>{"10002  ;Zebra  ;Band  ;C",
                                                    "10001  ;Apple  ;Cat Stevens  ;C"}));
    // Titles in file order, codes and artists sorted.
    const std::vector<std::string> entries{page.names.text(0),   page.names.text(1),
                                           page.codes.text(0),   page.codes.text(1),
                                           page.artists.text(0), page.artists.text(1)};
    EXPECT_EQ(entries, (std::vector<std::string>{"Zebra;0", "Apple;1", "10001;1", "10002;0",
                                                 "Band;0", "Cat Stevens;1"}));
    EXPECT_EQ(view.resultLines.back(), "กำลังอ่านข้อมูล 2 Records.");
    EXPECT_TRUE(view.resultLineHidden);
    EXPECT_EQ(calls, (std::vector<std::string>{"enter LoadingSongDB", "leave"}));
}

TEST_F(LoaderTest, SplitsPagesAt32767RecordsWithPageLocalIndexes) {
    load(numberedSongs(32768, 100000, "T", "A"));
    ASSERT_EQ(catalogue.lastPage(), 1);
    EXPECT_EQ(catalogue.page(0).songs.back(), cp(songLine("132766", "T", "A")));
    const auto& page1 = catalogue.page(1);
    EXPECT_EQ(page1.songs, std::vector<std::string>{cp(songLine("132767", "T", "A"))});
    EXPECT_EQ(page1.codes.text(0), "132767;0");
    // A search over both pages finds the record of page 1 through its own index.
    EXPECT_EQ(found("+132767"), std::vector<std::string>{songLine("132767", "T", "A")});
}

TEST_F(LoaderTest, ShortLinesLoadWithEmptyFieldsAndDoNotShiftLaterRecords) {
    const std::string last = songLine("34567", "Last", "Singer");
    load({"12345", "23456  ;Only Title", "", last, "45678;T;A"});
    EXPECT_EQ(catalogue.totalSongs(), 5);
    // Each line is one record in all four lists, in the same position.
    const std::pair<const char*, std::string> table[] = {{"++Last", last},
                                                         {"+++Sing", last},
                                                         {"+12345", "12345"},
                                                         {"++only", "23456  ;Only Title"},
                                                         {"+++A", "45678;T;A"}};
    for (const auto& [query, line] : table) EXPECT_EQ(found(query), std::vector{line}) << query;
}

TEST_F(LoaderTest, ReadsEveryKindOfLineEndWhereverTheFileIsCut) {
    // Header lines of 8 bytes, then short CR LF lines: the reads of a long file end between
    // a CR and its LF. Then a line longer than any read, a lone CR and a last line without
    // an end.
    std::string bytes = "ab\r\ncd\r\n";
    for (int i = 0; i < 100000; ++i) bytes += "x\r\n";
    writeBytes(dir / "SongList.txt", bytes + std::string(300000, 'y') + "\rz\nlast");
    ASSERT_EQ(loadFile(), LoadOutcome::Loaded);
    ASSERT_EQ(catalogue.totalSongs(), 100003);
    long shortLines = 0;
    for (int p = 0; p <= catalogue.lastPage(); ++p) {
        shortLines += std::ranges::count(catalogue.page(p).songs, std::string("x"));
    }
    EXPECT_EQ(shortLines, 100000);
    const auto& tail = catalogue.page(3).songs;
    EXPECT_EQ(std::vector(tail.end() - 3, tail.end()),
              (std::vector<std::string>{std::string(300000, 'y'), "z", "last"}));
}

TEST_F(LoaderTest, APipeInTheListsPlaceIsUnreadableAndLeavesNothing) {
    load(numberedSongs(10, 1000, "Song", "A"));
    std::filesystem::remove(dir / "SongList.txt");
    ASSERT_EQ(::mkfifo((dir / "SongList.txt").c_str(), 0600), 0);
    fs.forgetIndexes();
    EXPECT_EQ(loadFile(), LoadOutcome::Unreadable);
    EXPECT_TRUE(catalogue.empty() && !state.catalogueLoaded);
}

TEST_F(LoaderTest, CancelWhileReadingKeepsWhatWasReadAndTheNextLoadReadsAll) {
    writeSongList(numberedSongs(50, 1000, "Song", "A"));
    // The clock moves 20 ms per look, so events run before every line: cancel on the 11th.
    onPump = [this] { state.stopRequested = pumps == 11; };
    ASSERT_EQ(loadFile(), LoadOutcome::Stopped);
    EXPECT_FALSE(state.catalogueLoaded || state.stopRequested);
    EXPECT_EQ(found("++song").size(), 10u);
    onPump = nullptr;
    ASSERT_EQ(loadFile(), LoadOutcome::Loaded);
    EXPECT_EQ(catalogue.totalSongs(), 50);
}

TEST_F(LoaderTest, CancelOrClearWhileTheIndexesAreBuiltStopsThemAndKeepsNothing) {
    // Every line is read while the indexes of the first page are still being built.
    writeSongList(numberedSongs(40000, 100000, "Song", "A"));
    for (const bool clear : {false, true}) {
        onPump = [&] {
            if (catalogue.totalSongs() < 40000) return;
            state.stopRequested = true;
            if (clear) catalogue.clear();  // as the window does when it closes
        };
        EXPECT_EQ(loadFile(), LoadOutcome::Stopped) << clear;
        EXPECT_TRUE(catalogue.empty());
        EXPECT_FALSE(state.catalogueLoaded || state.stopRequested);
    }
    onPump = nullptr;
    ASSERT_EQ(loadFile(), LoadOutcome::Loaded);
    EXPECT_EQ(found("+139999"), std::vector<std::string>{songLine("139999", "Song", "A")});
}

}  // namespace
}  // namespace dadaz::testing
