#include "operations/favourites.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;

struct FavouritesTest : ::testing::Test {
    testing::TempDir dir;
    FileSystem fs;
    FavouritesFile favourites{fs, dir.path()};
    const std::string file = dir / "SelectSong.txt";
    const std::string line = utf8ToCp874("12345  ;Love Song  ;ศิลปิน  ;C");
};

TEST_F(FavouritesTest, TheFirstAddWritesTheHeaderThenAddsOnlyNewLines) {
    ASSERT_EQ(favourites.add(line), FavouriteAdd::Added);
    const std::string first = utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n") + line + "\r\n";
    EXPECT_EQ(readBytes(file), first);

    struct Case {
        std::string line;
        FavouriteAdd result;
    } cases[] = {
        {utf8ToCp874("12345  ;LOVE song  ;ศิลปิน  ;c"), FavouriteAdd::AlreadyChosen},
        {utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง"), FavouriteAdd::AlreadyChosen},
        {line + " [+]", FavouriteAdd::Added},
        {line + " [+]", FavouriteAdd::AlreadyChosen},
    };
    std::string expected = first;
    for (const Case& c : cases) {
        EXPECT_EQ(favourites.add(c.line), c.result) << cp874ToUtf8(c.line);
        if (c.result == FavouriteAdd::Added) expected += c.line + "\r\n";
        EXPECT_EQ(readBytes(file), expected);
    }
}

TEST_F(FavouritesTest, AnAddKeepsAListWrittenElsewhereAndReportsWhatItCannotWrite) {
    // A saved selection without header and without a last line end.
    writeBytes(dir / "selectsong.txt", "111;A;B;C\r\n222;D;E;F");
    ASSERT_EQ(favourites.add(line), FavouriteAdd::Added);
    EXPECT_EQ(readBytes(dir / "selectsong.txt"), "111;A;B;C\r\n222;D;E;F\r\n" + line + "\r\n");
    EXPECT_EQ(favourites.read(), (std::vector<std::string>{"111;A;B;C", "222;D;E;F", line}));

    ASSERT_TRUE(fs.setReadOnly(dir / "selectsong.txt", true));
    const std::string kept = readBytes(dir / "selectsong.txt");
    EXPECT_EQ(favourites.add("333;G;H;I"), FavouriteAdd::Failed);
    EXPECT_EQ(readBytes(dir / "selectsong.txt"), kept);
}

}  // namespace
}  // namespace dadaz
