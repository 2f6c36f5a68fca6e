#include "platform/shortpath.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::TempDir;
using testing::writeBytes;

class ShortPathTest : public ::testing::Test {
  protected:
    void touch(const std::string& relative) { writeBytes(program / relative, "x"); }
    std::string shortOf(const std::string& relative) {
        return drives.shortPath(fs, program / relative);
    }
    // Touches every file first, so that each folder is read with all of them.
    void expectShortPaths(const std::vector<std::pair<std::string, std::string>>& cases) {
        for (const auto& [file, expected] : cases) touch(file);
        for (const auto& [file, expected] : cases) EXPECT_EQ(shortOf(file), expected) << file;
    }

    TempDir program;
    FileSystem fs;
    DosDriveTable drives{program.path()};
};

TEST_F(ShortPathTest, NamesFollowTheDosRulesLongOnesNumberedInListingOrder) {
    expectShortPaths({
        {"v/song/1/12345.mid", "C:\\V\\SONG\\1\\12345.MID"},  // valid names upper-cased
        {"Long name two.mid", "C:\\LONGNA~3.MID"},
        {"long name one.mid", "C:\\LONGNA~1.MID"},
        {"LONG NAME THREE.LYR", "C:\\LONGNA~2.LYR"},  // same stem start, counted together
        {"Volume 1/SONG/1/12345.MID", "C:\\VOLUME~1\\SONG\\1\\12345.MID"},
        {"song.midi", "C:\\SONG~1.MID"},
        {"my.song.mid", "C:\\MY~1.MID"},
        {"a+b.mid", "C:\\AB~1.MID"},
        {".hidden", "C:\\HIDDEN~1"},
        {"เพลงไทย.mid", "C:\\_~1.MID"},
        {"noext12345", "C:\\NOEXT1~1"},
        {"case/SONG/a.mid", "C:\\CASE\\SONG\\A.MID"},  // names differing only in case
        {"case/Song/b.mid", "C:\\CASE\\SONG~1\\B.MID"},
    });
    EXPECT_EQ(shortOf("V/SONG//./1/../1/12345.MID"), "C:\\V\\SONG\\1\\12345.MID");
    EXPECT_EQ(drives.shortPath(fs, program.path()), "C:\\");
    // Missing paths and paths outside every drive give nothing.
    EXPECT_EQ(shortOf("v/song/1/99999.mid"), "");
    EXPECT_EQ(drives.shortPath(fs, ""), "");
    // A sibling folder whose name merely starts like the program folder is not under it.
    writeBytes(program.path() + "x/A.MID", "x");
    EXPECT_EQ(drives.shortPath(fs, program.path() + "x/A.MID"), "");
    std::filesystem::remove_all(program.path() + "x");
}

TEST_F(ShortPathTest, NumbersSkipTakenNamesAndShortenFromTen) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"LONGNA~1.MID", "C:\\LONGNA~1.MID"},  // a real 8.3 name a long name would get
        {"longname_a.mid", "C:\\LONGNA~2.MID"},
        {"longname_b.mid", "C:\\LONGNA~3.MID"}};
    for (int i = 1; i <= 11; ++i) {
        cases.emplace_back(
            "sub/track number " + std::to_string(100 + i) + ".kar",
            (i < 10 ? "C:\\SUB\\TRACKN~" : "C:\\SUB\\TRACK~") + std::to_string(i) + ".KAR");
    }
    expectShortPaths(cases);
}

TEST_F(ShortPathTest, TheSettingKeepsTheTableAndDefaultsToTheProgramFolder) {
    const DosDriveTable table = DosDriveTable::fromSetting("d=/k/x\r\nbad\nC=/p 2", "/prog");
    EXPECT_EQ(table.setting(), "C=/p 2\nD=/k/x");
    EXPECT_EQ(DosDriveTable::fromSetting(table.setting(), "/prog").setting(), table.setting());
    EXPECT_EQ(DosDriveTable::fromSetting("", "/prog").setting(), "C=/prog");
    for (const char* bad : {"", "C", "C=", "1=/x", "C:/x", "CC=/x", "=/x"}) {
        EXPECT_FALSE(drives.mapFromSpec(bad)) << bad;
    }
}

TEST_F(ShortPathTest, ALibraryOutsideEveryDriveGetsTheNextFreeLetterAndTheDeepestDriveWins) {
    touch("SONG/1/1.MID");
    TempDir library;
    for (const char* file : {"SONG/1/1.MID", "Thai/LYRICS/1/1.LYR", "Thai/CURSOR/1/1.CUR"}) {
        writeBytes(library / file, "x");
    }
    EXPECT_EQ(drives.mapFolderHolding(fs, {program / "SONG", program / "SONG/1"}), 0);
    const std::vector<std::string> outside = {library / "SONG", library / "Thai/LYRICS",
                                              library / "Thai/CURSOR"};
    EXPECT_EQ(drives.mapFolderHolding(fs, outside), 'D');
    EXPECT_EQ(drives.drives().at('D'), library.path());
    EXPECT_EQ(drives.shortPath(fs, library / "Thai/CURSOR/1/1.CUR"), "D:\\THAI\\CURSOR\\1\\1.CUR");
    EXPECT_EQ(drives.mapFolderHolding(fs, outside), 0);  // held now

    EXPECT_TRUE(drives.mapFromSpec("e=" + program / "song"));
    EXPECT_EQ(shortOf("SONG/1/1.MID"), "E:\\1\\1.MID");
    drives.map('C', library.path());  // the program folder is no longer a drive
    drives.unmap('E');
    EXPECT_EQ(shortOf("SONG/1/1.MID"), "");
}

TEST_F(ShortPathTest, FilesAddedAfterAFolderWasReadAreFound) {
    touch("song/1/12345.mid");
    EXPECT_EQ(shortOf("song/1/12345.mid"), "C:\\SONG\\1\\12345.MID");
    ASSERT_TRUE(fs.writeFileAtomic(program / "song/1/New Song.mid", "x"));
    EXPECT_EQ(shortOf("song/1/New Song.mid"), "C:\\SONG\\1\\NEWSON~1.MID");
    // Copies of the table share what they learnt.
    DosDriveTable copy = drives;
    copy.forgetShortNames();
    EXPECT_EQ(drives.shortPath(fs, program / "song/1/New Song.mid"), "C:\\SONG\\1\\NEWSON~1.MID");
}

}  // namespace
}  // namespace dadaz
