#include "library/song_code.h"

#include <gtest/gtest.h>

namespace dadaz {
namespace {

TEST(SongCode, CodeIsTheNameLessItsLastFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"12345.LYR", "12345"}, {"00012.lyr", "00012"}, {"เพลง.MID", "เพลง"},  // whole characters
        {"abcกMID", "abc"},     {".LYR", ""},           {"A", ""},
    };
    for (const auto& [name, code] : cases) EXPECT_EQ(codeFromFileName(name), code) << name;
    EXPECT_TRUE(hasExtension("1.lyr", "LYR") && hasExtension("reset.Mid", "MID"));
    EXPECT_FALSE(hasExtension("1.LYX", "LYR") || hasExtension("ID", "MID"));
    EXPECT_EQ(firstCharacterFolder("12345"), "1");
    EXPECT_EQ(firstCharacterFolder("กข1"), "ก");
}

TEST(SongCode, CodesThatCouldLeaveTheirFolderAreRefused) {
    for (const char* good : {"12345", "A-1 b", "เพลง1"}) EXPECT_TRUE(isSafeCode(good)) << good;
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

}  // namespace
}  // namespace dadaz
