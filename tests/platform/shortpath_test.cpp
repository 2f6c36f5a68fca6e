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

    TempDir program;
    FileSystem fs;
    DosDriveTable drives{program.path()};
};

TEST_F(ShortPathTest, ValidNamesAreUpperCasedUnderDriveC) {
    touch("song/1/12345.mid");
    touch("LYRICS/1/12345.Lyr");
    EXPECT_EQ(shortOf("song/1/12345.mid"), "C:\\SONG\\1\\12345.MID");
    EXPECT_EQ(shortOf("SONG/1/12345.MID"), "C:\\SONG\\1\\12345.MID");  // any spelling
    EXPECT_EQ(shortOf("lyrics/1/12345.lyr"), "C:\\LYRICS\\1\\12345.LYR");
    EXPECT_EQ(shortOf("song//./1/../1/12345.mid"), "C:\\SONG\\1\\12345.MID");
    EXPECT_EQ(shortOf("song"), "C:\\SONG");
    EXPECT_EQ(drives.shortPath(fs, program.path()), "C:\\");
}

TEST_F(ShortPathTest, MissingPathsAndPathsOutsideEveryDriveGiveNothing) {
    touch("song/1/12345.mid");
    EXPECT_EQ(shortOf("song/1/99999.mid"), "");
    EXPECT_EQ(shortOf("song/2/12345.mid"), "");
    EXPECT_EQ(drives.shortPath(fs, ""), "");

    TempDir elsewhere;
    writeBytes(elsewhere / "12345.mid", "x");
    EXPECT_EQ(drives.shortPath(fs, elsewhere / "12345.mid"), "");
    // A sibling folder whose name merely starts like the program folder is not under it.
    writeBytes(program.path() + "x/A.MID", "x");
    EXPECT_EQ(drives.shortPath(fs, program.path() + "x/A.MID"), "");
    std::filesystem::remove_all(program.path() + "x");
}

TEST_F(ShortPathTest, LongNamesAreNumberedInListingOrder) {
    touch("Long name two.mid");
    touch("long name one.mid");
    touch("LONG NAME THREE.LYR");  // same stem start, other extension: counted together
    EXPECT_EQ(shortOf("long name one.mid"), "C:\\LONGNA~1.MID");
    EXPECT_EQ(shortOf("LONG NAME THREE.LYR"), "C:\\LONGNA~2.LYR");
    EXPECT_EQ(shortOf("Long name two.mid"), "C:\\LONGNA~3.MID");
}

TEST_F(ShortPathTest, LongNameFormsFollowTheDosRules) {
    touch("Volume 1/SONG/1/12345.MID");
    touch("song.midi");
    touch("my.song.mid");
    touch("a+b.mid");
    touch(".hidden");
    touch("เพลงไทย.mid");
    touch("noext12345");
    EXPECT_EQ(shortOf("Volume 1/SONG/1/12345.MID"), "C:\\VOLUME~1\\SONG\\1\\12345.MID");
    EXPECT_EQ(shortOf("song.midi"), "C:\\SONG~1.MID");
    EXPECT_EQ(shortOf("my.song.mid"), "C:\\MY~1.MID");
    EXPECT_EQ(shortOf("a+b.mid"), "C:\\AB~1.MID");
    EXPECT_EQ(shortOf(".hidden"), "C:\\HIDDEN~1");
    EXPECT_EQ(shortOf("เพลงไทย.mid"), "C:\\_~1.MID");
    EXPECT_EQ(shortOf("noext12345"), "C:\\NOEXT1~1");
}

TEST_F(ShortPathTest, NumbersSkipTakenNamesAndShortenFromTen) {
    touch("LONGNA~1.MID");  // a real 8.3 name that a long name would otherwise get
    touch("longname_a.mid");
    touch("longname_b.mid");
    for (int i = 1; i <= 11; ++i) touch("sub/track number " + std::to_string(100 + i) + ".kar");
    EXPECT_EQ(shortOf("LONGNA~1.MID"), "C:\\LONGNA~1.MID");
    EXPECT_EQ(shortOf("longname_a.mid"), "C:\\LONGNA~2.MID");
    EXPECT_EQ(shortOf("longname_b.mid"), "C:\\LONGNA~3.MID");

    EXPECT_EQ(shortOf("sub/track number 101.kar"), "C:\\SUB\\TRACKN~1.KAR");
    EXPECT_EQ(shortOf("sub/track number 109.kar"), "C:\\SUB\\TRACKN~9.KAR");
    EXPECT_EQ(shortOf("sub/track number 110.kar"), "C:\\SUB\\TRACK~10.KAR");
    EXPECT_EQ(shortOf("sub/track number 111.kar"), "C:\\SUB\\TRACK~11.KAR");
}

TEST_F(ShortPathTest, NamesDifferingOnlyInCaseGetDistinctShortNames) {
    touch("SONG/a.mid");
    touch("Song/b.mid");
    EXPECT_EQ(shortOf("SONG/a.mid"), "C:\\SONG\\A.MID");
    EXPECT_EQ(shortOf("Song/b.mid"), "C:\\SONG~1\\B.MID");
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
    drives.map('E', "/no/such/folder");
    EXPECT_EQ(shortOf("song/1/12345.mid"), "");

    for (const char* bad : {"", "C", "C=", "1=/x", "C:/x", "CC=/x", "=/x"}) {
        EXPECT_FALSE(drives.mapFromSpec(bad)) << bad;
    }
}

TEST_F(ShortPathTest, FilesAddedAfterAFolderWasReadAreFound) {
    touch("song/1/12345.mid");
    EXPECT_EQ(shortOf("song/1/12345.mid"), "C:\\SONG\\1\\12345.MID");
    ASSERT_TRUE(fs.writeFileAtomic(program / "song/1/New Song.mid", "x"));
    EXPECT_EQ(shortOf("song/1/New Song.mid"), "C:\\SONG\\1\\NEWSON~1.MID");
    ASSERT_TRUE(fs.writeFileAtomic(program / "song/1/12346.mid", "x"));
    EXPECT_EQ(shortOf("song/1/12346.mid"), "C:\\SONG\\1\\12346.MID");

    // Copies of the table share what they learnt.
    DosDriveTable copy = drives;
    EXPECT_EQ(copy.shortPath(fs, program / "song/1/New Song.mid"), "C:\\SONG\\1\\NEWSON~1.MID");
    copy.forgetShortNames();
    EXPECT_EQ(drives.shortPath(fs, program / "song/1/New Song.mid"), "C:\\SONG\\1\\NEWSON~1.MID");
}

}  // namespace
}  // namespace dadaz
