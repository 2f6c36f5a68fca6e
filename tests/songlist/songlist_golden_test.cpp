// Whole output files of small libraries in both layouts, compared byte for byte with files
// checked by hand. DADAZ_UPDATE_GOLDEN=1 rewrites them (check the difference before
// committing).

#include <gtest/gtest.h>

#include <cstdlib>

#include "songlist/songlist_run.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

const std::string kGolden = std::string(DADAZ_TEST_DATA) + "/songlist/";

// Paths under the temporary program folder differ from run to run.
std::string withoutFolder(std::string bytes, const std::string& folder) {
    for (std::size_t at = bytes.find(folder); at != std::string::npos;
         at = bytes.find(folder, at)) {
        bytes.replace(at, folder.size(), "@PROGRAM@");
    }
    return bytes;
}

void compareWithGolden(const std::string& actual, const std::string& goldenFile) {
    const std::string path = kGolden + goldenFile;
    if (std::getenv("DADAZ_UPDATE_GOLDEN")) writeBytes(path, actual);
    const std::string expected = readBytes(path);
    ASSERT_NE(expected, "<missing>") << path;
    EXPECT_EQ(actual.size(), expected.size()) << goldenFile;
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << goldenFile << ": first difference at byte " << i << " (record "
                          << i / 256 << ", offset " << i % 256 << ")";
            break;
        }
    }
}

TEST(SongListGolden, SeparateFolderLayout) {
    LibraryFixture lib;
    const SongFiles& s = lib.songs;
    s.add("101", {"Love Song (Remix)", "  Artist A", "C", "", "la la"});
    s.add("205", {"ไก่ย่าง", "ศิลปิน ไทย", "Am", ""});  // leading vowel
    s.add("300", {"(Intro) Love Song", "", "D", ""});
    s.add("12345678", {"Zoo;Keeper", "Band", "E;F", ""});
    s.add("123456789", {"Long Code", "Nine", "G", ""});  // listed, no record
    s.add("40", {"Missing Cursor", "Someone", "A", ""}, true, false);
    s.add("555", {"A title of exactly forty characters long",
                  "An artist name that has forty characters", "Bb", ""});
    writeBytes(lib.program + "/LYRICS/7/7.LYR", cp874("มาลัย\rนักร้อง\r\nG\r\rlyric"));
    writeBytes(lib.program + "/SONG/7/7.MID", "MThd");
    writeBytes(lib.program + "/CURSOR/7/7.CUR", "c");
    writeBytes(lib.program + "/LYRICS/1/readme.txt", "not a lyric");
    writeBytes(lib.program + "/LYRICS/loose.LYR", lyricText({"Loose", "x", "y"}));
    writeBytes(lib.program + "/SONG/LOOSE123.MID", "MThd");
    writeBytes(lib.program + "/SONG/LOOSE1234.MID", "MThd");
    writeBytes(lib.program + "/SONG/reset.mid", "MThd");
    writeBytes(lib.program + "/SONG/notes.txt", "x");

    lib.expectClosing(lib.closingMessage() +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 1 เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร "
                      "หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)\n"
                      "เปลี่ยนเครื่องหมาย ; ในชื่อเพลง ชื่อศิลปิน หรือคีย์เพลง เป็น , แล้ว 1 เพลง");
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.status, SongListResult::Status::Written);
    EXPECT_EQ(result.listedSongs, 8);
    EXPECT_EQ(result.countedFiles, 9);
    EXPECT_TRUE(lib.prompt.finished());

    compareWithGolden(lib.read("SongList.txt"), "separate/SongList.txt");
    compareWithGolden(lib.read("List.vk2"), "separate/List.vk2");
    compareWithGolden(lib.read("Tarn.vk2"), "separate/Tarn.vk2");
}

TEST(SongListGolden, MultiFolderLayout) {
    LibraryFixture lib;
    const std::string root = lib.program + "/KARAOKE";
    SongFiles vol1{root + "/VOL1/SONG", root + "/VOL1/LYRICS", root + "/VOL1/CURSOR"};
    SongFiles vol2{root + "/Vol2/song", root + "/Vol2/lyrics", root + "/Vol2/cursor"};
    vol1.add("100", {"Same Code", "Volume One", "C", ""});
    vol1.add("2001", {"ตาวัน", "ก", "D", ""});
    vol2.add("100", {"Same Code", "Volume Two", "C", ""});
    vol2.add("777", {"เสือ", "ข", "E", ""}, true, false);
    SongFiles extras{root + "/Extras/SONG", root + "/Extras/LYRICS_OLD", root + "/Extras/CURSOR"};
    extras.add("900", {"Not A Volume", "x", "y", ""});
    writeBytes(root + "/ROOTMID.MID", "MThd");
    lib.ctx.folders = {root, root, root, lib.program + "/Invalid Files"};

    lib.expectClosing();
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.status, SongListResult::Status::Written);
    EXPECT_TRUE(result.multiFolder);
    EXPECT_EQ(result.listedSongs, 4);

    compareWithGolden(withoutFolder(lib.read("SongList.txt"), lib.program), "multi/SongList.txt");
    compareWithGolden(lib.read("List.vk2"), "multi/List.vk2");
    compareWithGolden(lib.read("Tarn.vk2"), "multi/Tarn.vk2");
}

}  // namespace
}  // namespace dadaz::testing
