#include "operations/favourites.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;

TEST(FavouritesTest, EachLineIsAddedOnceAfterTheHeaderAndTheListIsNeverLost) {
    testing::TempDir dir;
    FileSystem fs;
    FavouritesFile favourites{fs, dir.path()};
    const std::string file = dir / "SelectSong.txt";
    const std::string line = utf8ToCp874("12345  ;Love Song  ;ศิลปิน  ;C");
    std::string expected = utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n");
    const std::pair<std::string, FavouriteAdd> adds[] = {
        {line, FavouriteAdd::Added},
        {utf8ToCp874("12345  ;LOVE song  ;ศิลปิน  ;c"), FavouriteAdd::AlreadyChosen},
        {utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง"), FavouriteAdd::AlreadyChosen},
        {line + " [+]", FavouriteAdd::Added},
    };
    for (const auto& [added, result] : adds) {
        EXPECT_EQ(favourites.add(added), result) << cp874ToUtf8(added);
        if (result == FavouriteAdd::Added) expected += added + "\r\n";
        EXPECT_EQ(readBytes(file), expected);
    }

    // A selection saved without header and last line end keeps its lines.
    testing::writeBytes(file, "111;A;B;C\r\n222;D;E;F");
    EXPECT_EQ(favourites.add(line), FavouriteAdd::Added);
    expected = "111;A;B;C\r\n222;D;E;F\r\n" + line + "\r\n";
    EXPECT_EQ(readBytes(file), expected);
    ASSERT_TRUE(fs.setReadOnly(file, true));
    EXPECT_EQ(favourites.add("333;G;H;I"), FavouriteAdd::Failed);
    EXPECT_EQ(readBytes(file), expected);
}

}  // namespace
}  // namespace dadaz
