#include "songlist/player_records.h"

#include <gtest/gtest.h>

#include "songlist/songlist_file.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

TEST(PlayerRecords, FieldsLieAtTheirOffsets) {
    std::string list;
    appendPlayerRecord(
        list, "123", "Title", "Artist",
        {"C:\\SONG\\1\\123.MID", "C:\\LYRICS\\1\\123.LYR", "C:\\CURSOR\\1\\123.CUR"});
    ASSERT_EQ(list.size(), 256u);
    EXPECT_EQ(list.substr(0, 9), "123     :");
    EXPECT_EQ(list.substr(9, 60), "Title->Artist" + std::string(47, '\0'));
    EXPECT_EQ(list.substr(69, 61), "C:\\SONG\\1\\123.MID" + std::string(44, '\0'));
    EXPECT_EQ(list.substr(130, 61), "C:\\LYRICS\\1\\123.LYR" + std::string(42, '\0'));
    EXPECT_EQ(list.substr(191, 63), "C:\\CURSOR\\1\\123.CUR" + std::string(44, '\0'));
    EXPECT_EQ(list.substr(254), "\r\n");

    std::string tarn = list;
    convertToTarnRecords(tarn);
    EXPECT_EQ(tarn.substr(0, 69), list.substr(0, 69));
    EXPECT_EQ(tarn.substr(69, 61), "..\\SONG\\1\\123.MID" + std::string(44, '\0'));
    EXPECT_EQ(tarn.substr(130, 2), "..");
    EXPECT_EQ(tarn.substr(191, 2), "..");
    EXPECT_EQ(tarn.substr(193), list.substr(193));
}

TEST(PlayerRecords, NameIsCutToSixtyCharacters) {
    const std::string title(40, 'T');
    const std::string artist(40, 'A');
    std::string list;
    appendPlayerRecord(list, "1", title, artist, {});
    EXPECT_EQ(list.substr(9, 60), title + "->" + std::string(18, 'A'));
    EXPECT_EQ(list.substr(69, 185), std::string(185, '\0'));
    EXPECT_EQ(list.size(), 256u);
}

TEST(PlayerRecords, OnlyFittingCodesAndPathsGetARecord) {
    EXPECT_TRUE(fitsPlayerRecord(
        "12345678", {std::string(61, 'x'), std::string(61, 'x'), std::string(63, 'x')}));
    EXPECT_FALSE(fitsPlayerRecord("123456789", {}));
    EXPECT_FALSE(fitsPlayerRecord("", {}));
    EXPECT_FALSE(fitsPlayerRecord("1", {std::string(62, 'x'), {}, {}}));
    EXPECT_FALSE(fitsPlayerRecord("1", {{}, std::string(62, 'x'), {}}));
    EXPECT_FALSE(fitsPlayerRecord("1", {{}, {}, std::string(64, 'x')}));
}

TEST(SongListFile, LinesOfBothLayouts) {
    SongEntry entry{" ", " ", "C#", "12", "/k/VOL1"};
    std::string out;
    appendSongListLine(out, entry, false);
    EXPECT_EQ(out, "12  ;   ;   ;C#\r\n");
    out.clear();
    appendSongListLine(out, entry, true);
    EXPECT_EQ(out, "12  ;   ;   ;C#  ;/k/VOL1\r\n");
    EXPECT_EQ(songListHeader(), cp874("'แฟ้มรายการเพลงนี้ ท่านสามารถนำไปเปิดด้วยโปรแกรม Excel "
                                      "เพื่อจัดพิมพ์เป็นหนังสือรายชื่อเพลงได้\r\n"
                                      "รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n"));
}

}  // namespace
}  // namespace dadaz::testing
