// Whole output files of small libraries in both layouts, compared byte for byte with files
// checked by hand. DADAZ_UPDATE_GOLDEN=1 rewrites them (check the difference before
// committing).

#include <gtest/gtest.h>

#include <algorithm>
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
    const auto at =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin();
    EXPECT_TRUE(actual == expected) << goldenFile << ": first difference at byte " << at
                                    << " (record " << at / 256 << ", offset " << at % 256 << ")";
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
    s.add("7", {});
    writeBytes(lib.program + "/LYRICS/7/7.LYR", utf8ToCp874("มาลัย\rนักร้อง\r\nG\r\rlyric"));
    // NUL bytes become blanks before the title is cut and trimmed; ";" becomes ",".
    s.add("8", {});
    writeBytes(lib.program + "/LYRICS/8/8.LYR",
               std::string("Nul\0Mid;\0 (a;b)\r\nArt\0;\r\nK\0\r\n", 28));
    for (const char* name : {"12;34.LYR", ".hidden.LYR", "readme.txt"}) {
        writeBytes(lib.program + "/LYRICS/1/" + name, lyricText({"Not Listed", "A", "C"}));
    }
    writeBytes(lib.program + "/LYRICS/loose.LYR", lyricText({"Loose", "x", "y"}));
    for (const char* name : {"LOOSE123.MID", "LOOSE1234.MID", "reset.mid", "notes.txt"}) {
        writeBytes(lib.program + "/SONG/" + name, "MThd");
    }

    lib.expectClosing(lib.closingMessage() +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 1 เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร "
                      "หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)\n"
                      "เปลี่ยนเครื่องหมาย ; ในชื่อเพลง ชื่อศิลปิน หรือคีย์เพลง เป็น , แล้ว 2 เพลง\n"
                      "ไม่ได้นำเข้ารายการเพลง 1 แฟ้ม (อ่านแฟ้มไม่ได้ หรือชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้)");
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.status, SongListResult::Status::Written);
    EXPECT_EQ(result.listedSongs, 9);
    EXPECT_EQ(result.countedFiles, 12);
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
