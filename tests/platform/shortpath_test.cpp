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
    // Touches every file, then expects each short path (in the same call, so the folders'
    // listings hold all of them).
    void expectShortPaths(const std::vector<std::pair<std::string, std::string>>& cases) {
        for (const auto& [file, expected] : cases) touch(file);
        for (const auto& [file, expected] : cases) EXPECT_EQ(shortOf(file), expected) << file;
    }

    TempDir program;
    FileSystem fs;
    DosDriveTable drives{program.path()};
};

TEST_F(ShortPathTest, ValidNamesAreUpperCasedUnderDriveC) {
    touch("song/1/12345.mid");
    EXPECT_EQ(shortOf("SONG/1/12345.MID"), "C:\\SONG\\1\\12345.MID");  // any spelling
    EXPECT_EQ(shortOf("song//./1/../1/12345.mid"), "C:\\SONG\\1\\12345.MID");
    EXPECT_EQ(shortOf("song"), "C:\\SONG");
    EXPECT_EQ(drives.shortPath(fs, program.path()), "C:\\");
    // Missing paths and paths outside every drive give nothing.
    EXPECT_EQ(shortOf("song/1/99999.mid"), "");
    EXPECT_EQ(drives.shortPath(fs, ""), "");
    // A sibling folder whose name merely starts like the program folder is not under it.
    writeBytes(program.path() + "x/A.MID", "x");
    EXPECT_EQ(drives.shortPath(fs, program.path() + "x/A.MID"), "");
    std::filesystem::remove_all(program.path() + "x");
}

TEST_F(ShortPathTest, LongNamesFollowTheDosRulesNumberedInListingOrder) {
    expectShortPaths({
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

TEST_F(ShortPathTest, OtherDrivesAndTheDeepestMappedFolderWin) {
    touch("song/1/12345.mid");
    TempDir karaoke;
    writeBytes(karaoke / "lib/Song.Mid", "x");
    EXPECT_TRUE(drives.mapFromSpec("d=" + karaoke.path()));
    EXPECT_EQ(drives.shortPath(fs, karaoke / "lib/song.mid"), "D:\\LIB\\SONG.MID");
    drives.map('E', program / "song");
    EXPECT_EQ(shortOf("song/1/12345.mid"), "E:\\1\\12345.MID");
    drives.map('C', karaoke.path());  // the program folder is no longer a drive
    drives.unmap('E');
    EXPECT_EQ(shortOf("song/1/12345.mid"), "");
    for (const char* bad : {"", "C", "C=", "1=/x", "C:/x", "CC=/x", "=/x"}) {
        EXPECT_FALSE(drives.mapFromSpec(bad)) << bad;
    }
}

TEST_F(ShortPathTest, TheSettingKeepsTheTableAndDefaultsToTheProgramFolder) {
    const DosDriveTable table = DosDriveTable::fromSetting("d=/k/x\nbad\nC=/p 2", "/prog");
    EXPECT_EQ(table.setting(), "C=/p 2\nD=/k/x");
    EXPECT_EQ(DosDriveTable::fromSetting(table.setting(), "/prog").setting(), table.setting());
    EXPECT_EQ(DosDriveTable::fromSetting("", "/prog").setting(), "C=/prog");
    EXPECT_EQ(DosDriveTable::fromSetting("junk", "/prog").setting(), "C=/prog");
}

TEST_F(ShortPathTest, ALibraryOutsideEveryDriveGetsTheNextFreeLetter) {
    touch("SONG/1/1.MID");
    TempDir library;
    writeBytes(library / "SONG/1/1.MID", "x");
    writeBytes(library / "Thai/LYRICS/1/1.LYR", "x");
    writeBytes(library / "Thai/CURSOR/1/1.CUR", "x");
    const std::vector<std::string> inside = {program / "SONG", program.path(), program / "SONG/1"};
    EXPECT_EQ(drives.mapFolderHolding(fs, inside), 0);
    EXPECT_EQ(drives.setting(), "C=" + program.path());

    const std::vector<std::string> outside = {library / "SONG", library / "Thai/LYRICS",
                                              library / "Thai/CURSOR"};
    EXPECT_EQ(drives.mapFolderHolding(fs, outside), 'D');
    EXPECT_EQ(drives.drives().at('D'), library.path());
    EXPECT_EQ(drives.shortPath(fs, library / "Thai/CURSOR/1/1.CUR"), "D:\\THAI\\CURSOR\\1\\1.CUR");
    EXPECT_EQ(drives.mapFolderHolding(fs, outside), 0);  // held now

    drives.unmap('D');
    drives.map('E', "/no/such");
    EXPECT_EQ(drives.mapFolderHolding(fs, {library / "SONG", library / "Thai/LYRICS"}), 'D');
    EXPECT_EQ(drives.drives().at('D'), library.path());
    EXPECT_EQ(drives.shortPath(fs, program / "SONG/1/1.MID"), "C:\\SONG\\1\\1.MID");
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
