#include "library/song_code.h"

#include <gtest/gtest.h>

namespace dadaz {
namespace {

TEST(SongCode, CodeIsTheNameLessItsLastFourCharacters) {
    EXPECT_EQ(codeFromFileName("12345.LYR"), "12345");
    EXPECT_EQ(codeFromFileName("00012.lyr"), "00012");
    // A Thai stem keeps whole characters (UTF-8 names on disk).
    EXPECT_EQ(codeFromFileName("เพลง.MID"), "เพลง");
    EXPECT_EQ(codeFromFileName("abcกMID"), "abc");
    EXPECT_EQ(codeFromFileName(".LYR"), "");
    EXPECT_EQ(codeFromFileName("A"), "");
}

TEST(SongCode, ExtensionTestUpperCasesTheLastThreeCharacters) {
    EXPECT_TRUE(hasExtension("1.lyr", "LYR"));
    EXPECT_TRUE(hasExtension("reset.Mid", "MID"));
    EXPECT_FALSE(hasExtension("1.LYX", "LYR"));
    EXPECT_FALSE(hasExtension("ID", "MID"));
}

TEST(SongCode, UnsafeCodesAreRefused) {
    EXPECT_TRUE(isSafeCode("12345"));
    EXPECT_TRUE(isSafeCode("A-1 b"));
    EXPECT_TRUE(isSafeCode("เพลง1"));
    for (const char* bad : {"", "1/2", "/", "\\", "1\\2", "..", "1..2", "../x", "*", "1?", "12*",
                            ".", ".hidden", "1\t2", "1\n", "\x7f"}) {
        EXPECT_FALSE(isSafeCode(bad)) << bad;
    }
    EXPECT_FALSE(
        isSafeCode(std::string("1\0"
                               "2",
                               3)));
}

TEST(SongCode, PlayerDatabaseHoldsEightCharacters) {
    EXPECT_TRUE(fitsPlayerDatabase("12345678"));
    EXPECT_FALSE(fitsPlayerDatabase("123456789"));
    EXPECT_FALSE(fitsPlayerDatabase(""));
    // Characters, not UTF-8 bytes: eight Thai characters are 24 bytes here, 8 in the file.
    EXPECT_TRUE(fitsPlayerDatabase("กขคงจฉชซ"));
    EXPECT_FALSE(fitsPlayerDatabase("กขคงจฉชซฌ"));
}

TEST(SongCode, FirstCharacterFolderIsAWholeCharacter) {
    EXPECT_EQ(firstCharacterFolder("12345"), "1");
    EXPECT_EQ(firstCharacterFolder("กข1"), "ก");
    EXPECT_EQ(firstCharacterFolder(""), "");
}

}  // namespace
}  // namespace dadaz
