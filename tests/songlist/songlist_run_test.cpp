#include <gtest/gtest.h>
#include <unistd.h>

#include "songlist/songlist_run.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

using Status = SongListResult::Status;
const std::string kNul(1, '\0');

TEST(SongListRun, OnlyTheCheckingFormMovesInvalidTriplesAndEmptiesFourthLines) {
    for (const bool checking : {true, false}) {
        LibraryFixture lib;
        lib.songs.add("100", {"Good", "A", "C", " ", "lyric"});
        lib.songs.add("200", {"No Cursor", "B", "D", ""}, true, false);
        lib.songs.add("300", {"No Midi", "C", "E", ""}, false, true);
        lib.songs.add("400", {"Also Good", "D", "F", ""});
        // The move-to folder already holds a file of that name: it stays where it is, and
        // the user is told.
        const std::string moved = lib.program + "/Invalid Files/";
        writeBytes(moved + "300.CUR", "older");
        lib.expectClosing(
            checking
                ? lib.closingMessage("") + "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n     " +
                      moved.substr(0, moved.size() - 1) + lib.drivesParagraph("C", lib.program) +
                      "\n\nย้ายแฟ้มที่ไม่เกี่ยวข้องไม่สำเร็จ 1 แฟ้ม (แฟ้มของเพลงนั้นยังอยู่ที่เดิมทั้งหมด)"
                : lib.closingMessage(),
            Answer::No, checking ? MessageIcon::Exclamation : MessageIcon::Information);
        SongListOptions options;
        options.checkFiles = checking;
        const SongListResult result = runSongList(lib.ctx, options);
        std::vector<std::string> listed = {"400  ;Also Good  ;D  ;F", "100  ;Good  ;A  ;C"};
        if (!checking)
            listed.insert(listed.end(), {"200  ;No Cursor  ;B  ;D", "300  ;No Midi  ;C  ;E"});
        EXPECT_EQ(songLines(lib.read("SongList.txt")), listed);
        EXPECT_EQ(result.filesMoved, checking ? 3 : 0);
        // The blank fourth line is emptied, the lyric kept.
        EXPECT_EQ(readBytes(lib.program + "/LYRICS/1/100.LYR"),
                  checking ? "Good\r\nA\r\nC\r\n\r\nlyric\r\n"
                           : lyricText({"Good", "A", "C", " ", "lyric"}));
        if (!checking) continue;
        EXPECT_EQ(readBytes(moved + "200.LYR"), lyricText({"No Cursor", "B", "D", ""}));
        EXPECT_EQ(readBytes(moved + "200.MID"), "MThd");
        EXPECT_EQ(readBytes(moved + "300.LYR"), lyricText({"No Midi", "C", "E", ""}));
        EXPECT_EQ(readBytes(moved + "300.CUR"), "older");
        EXPECT_EQ(readBytes(lib.program + "/CURSOR/3/300.CUR"), "cursor");
    }
}

TEST(SongListRun, MidiOnlyRecordsHaveOnlyAMidiPath) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/SONG/ABCDEFGH.MID", "MThd");
    lib.expectClosing();
    runSongList(lib.ctx);
    const std::string list = lib.read("List.vk2");
    ASSERT_EQ(list.size(), 2 * 256u);
    const std::string head = "ABCDEFGH:\xFE" + std::string(59, '\0');
    const std::string tail = std::string(41 + 61 + 63, '\0') + "\r\n";
    EXPECT_EQ(record(list, 1), head + "C:\\SONG\\ABCDEFGH.MID" + tail);
    EXPECT_EQ(record(lib.read("Tarn.vk2"), 1), head + "..\\SONG\\ABCDEFGH.MID" + tail);
}

TEST(SongListRun, LibraryOutsideTheProgramFolderGetsTheNextDrive) {
    LibraryFixture lib;
    TempDir elsewhere;
    TempDir player;
    SongFiles songs{elsewhere / "MIDI", elsewhere / "LYRIC", elsewhere / "CURSOR"};
    songs.add("1", {"Song", "A", "C", ""});
    lib.ctx.folders = {elsewhere / "MIDI", elsewhere / "LYRIC", elsewhere / "CURSOR",
                       lib.program + "/Invalid Files"};
    // The database folder is asked for until one is chosen.
    lib.prompt.expectInform(
        "ตำแหน่งที่ตั้งโปรแกรม DAD Azar Edizuda\nไม่ได้อยู่ที่เดียวกับที่เก็บเพลงหรือที่เก็บโปรแกรมคาราโอเกะของท่าน\n\n"
        "กรุณาเลือกที่เก็บแฟ้มฐานข้อมูลเพลงให้เป็นที่เก็บโปรแกรมคาราโอเกะของท่านก่อน");
    for (const std::string& chosen : {std::string(), player.path()}) {
        lib.prompt.expectPickFolder("เลือกที่เก็บแฟ้มฐานข้อมูลเพลง", chosen);
    }
    lib.expectClosing("สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " +
                      player.path() + "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + lib.program +
                      lib.drivesParagraph("D", elsewhere.path()));
    runSongList(lib.ctx);
    EXPECT_EQ(lib.prompt.lastStartFolder(), lib.program);
    const std::string list = readBytes(player / "List.vk2");
    EXPECT_EQ(list.substr(69, 16) + list.substr(191, 19),
              "D:\\MIDI\\1\\1.MID" + kNul + "D:\\CURSOR\\1\\1.CUR" + kNul + kNul);
}

TEST(SongListRun, ExistingFilesOutsideEveryDriveAreReportedNotWrittenAsMissing) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/SONG/LOOSE.MID", "MThd");
    SongListOptions options;
    options.drives.emplace();
    for (char letter = 'C'; letter <= 'Z'; ++letter) options.drives->map(letter, "/no/such");
    lib.expectClosing(lib.closingMessage("") +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 2 เพลง (แฟ้มเพลงอยู่นอกไดรฟ์ DOS ทุกไดรฟ์ที่กำหนดไว้)");
    EXPECT_EQ(runSongList(lib.ctx, options).withoutDosPath, 2);
    EXPECT_EQ(lib.read("List.vk2"), "");
}

TEST(SongListRun, MissingFoldersAreRefused) {
    LibraryFixture lib;
    lib.ctx.folders.cursor = lib.program + "/NOPE";
    writeBytes(lib.program + "/SongList.txt", "old");
    lib.expectCritical(
        "ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n\nกรุณาเลือกที่เก็บแฟ้มใหม่");
    EXPECT_EQ(runSongList(lib.ctx).status, Status::MissingFolders);
    EXPECT_EQ(lib.read("SongList.txt"), "old");

    // A missing move-to folder the user will not have created ends the run.
    const std::string moveTo = lib.program + "/Invalid Files";
    ::rmdir(moveTo.c_str());
    lib.ctx.folders.cursor = lib.program + "/CURSOR";
    lib.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                         "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\nท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     " +
                             moveTo + "\n\nแล้วดำเนินการต่อ ใช่หรือไม่?",
                         Answer::No);
    EXPECT_EQ(runSongList(lib.ctx).status, Status::MoveToDeclined);
    EXPECT_FALSE(lib.fs.isFolder(moveTo));
}

TEST(SongListRun, ARunThatCanListNoSongReplacesNothing) {
    for (const bool volumeNameOutsideCodePage : {true, false}) {
        LibraryFixture lib;
        for (const char* name : {"SongList.txt", "List.vk2", "Tarn.vk2"}) {
            writeBytes(lib.program + "/" + name, "old");
        }
        if (volumeNameOutsideCodePage) {
            const std::string root = lib.program + "/josé";
            SongFiles{root + "/VOL1/SONG", root + "/VOL1/LYRICS", root + "/VOL1/CURSOR"}.add(
                "1", {"Song", "A", "C", ""});
            lib.ctx.folders = {root, root, root, lib.program + "/Invalid Files"};
            lib.expectCritical(
                "ไม่สามารถสร้างรายการเพลงได้!\nเนื่องจากชื่อโฟลเดอร์\n     " + root +
                "\nมีตัวอักษรที่ไม่มีในรหัสภาษาไทย (Code Page 874) จึงบันทึกลงรายการเพลงไม่ได้\n\n"
                "กรุณาเปลี่ยนชื่อโฟลเดอร์ แล้วสร้างรายการเพลงใหม่\n"
                "แฟ้ม SongList.txt, List.vk2 และ Tarn.vk2 เดิมยังคงอยู่ตามเดิม");
        } else {
            writeBytes(lib.program + "/LYRICS/1/12;34.LYR", lyricText({"Code", "A", "C"}));
            lib.expectCritical(
                "ไม่ได้สร้างรายการเพลงใหม่!\nพบแฟ้ม Lyric 1 แฟ้ม แต่นำเข้ารายการเพลงไม่ได้เลยแม้แต่เพลงเดียว\n\n"
                "แฟ้ม SongList.txt, List.vk2 และ Tarn.vk2 เดิมยังคงอยู่ตามเดิม\n\n"
                "ไม่ได้นำเข้ารายการเพลง 1 แฟ้ม (อ่านแฟ้มไม่ได้ หรือชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้)");
        }
        EXPECT_NE(runSongList(lib.ctx).status, Status::Written);
        for (const char* name : {"SongList.txt", "List.vk2", "Tarn.vk2"}) {
            EXPECT_EQ(lib.read(name), "old") << name;
        }
        EXPECT_FALSE(lib.state.songListCurrent);
    }
}

TEST(SongListRun, DatabasePairIsReplacedTogetherOrNotAtAll) {
    for (const std::string blocked : {"List.vk2", "Tarn.vk2", "SongList.txt"}) {
        LibraryFixture lib;
        lib.songs.add("1", {"Song", "A", "C", ""});
        lib.fs.createFolder(lib.program + "/" + blocked);  // cannot be replaced by a file
        for (const char* name : {"List.vk2", "Tarn.vk2", "Other.vk2"}) {
            if (name != blocked) writeBytes(lib.program + "/" + name, "old");
        }
        lib.expectCritical("ไม่สามารถบันทึกแฟ้ม " + blocked + " ไว้ที่\n     " + lib.program +
                           "\n\nแฟ้มเดิมยังคงอยู่ตามเดิม");
        EXPECT_EQ(runSongList(lib.ctx).status, Status::WriteFailed);
        for (const char* name : {"List.vk2", "Tarn.vk2", "Other.vk2"}) {
            if (name != blocked) {
                EXPECT_EQ(lib.read(name), "old") << name << " beside " << blocked;
            }
        }
        // No staged file is left behind.
        EXPECT_EQ(lib.fs.countFiles(lib.program), 3u);
        EXPECT_EQ(lib.state.songListCurrent, blocked != "SongList.txt");
    }
}

TEST(SongListRun, OldDatabaseFilesAreReplacedEvenWhenReadOnlyPathsTooLongLeftOut) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    // The MIDI folder lies in the program folder, spelled in another case: no question.
    lib.ctx.folders.midi = upperAscii(lib.program) + "/song";
    // "C:\AAAAAAAA\...\FFFFFFFF\2\2.CUR" has 64 characters, one more than its field.
    const std::string deep = "/AAAAAAAA/BBBBBBBB/CCCCCCCC/DDDDDDDD/EEEEEEEE/FFFFFFFF";
    lib.ctx.folders.cursor = lib.program + deep;
    SongFiles{lib.program + "/SONG", lib.program + "/LYRICS", lib.program + deep}.add(
        "2", {"Deep", "A", "C", ""});
    writeBytes(lib.program + "/LIST.VK2", std::string(512, 'x'));
    lib.fs.setReadOnly(lib.program + "/LIST.VK2", true);
    writeBytes(lib.program + "/old.vk2", "stale");
    writeBytes(lib.program + "/keep.vk2x", "not a database file");
    lib.expectClosing(lib.closingMessage() +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 1 เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร "
                      "หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)");
    runSongList(lib.ctx);
    EXPECT_EQ(songLines(lib.read("SongList.txt")).size(), 2u);
    EXPECT_EQ(lib.read("LIST.VK2").substr(0, 9) + lib.read("Tarn.vk2").substr(0, 9),
              "1       :1       :");
    EXPECT_EQ(lib.read("LIST.VK2").size() + lib.read("Tarn.vk2").size(), 512u);
    EXPECT_EQ(lib.read("old.vk2"), "<missing>");
    EXPECT_EQ(lib.read("keep.vk2x"), "not a database file");
}

TEST(SongListRun, ProgressCountsTheLyricFilesOnly) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    lib.songs.add("2", {"Song", "B", "C", ""});
    writeBytes(lib.program + "/LYRICS/2/notes.txt", "x");
    lib.expectClosing();
    runSongList(lib.ctx);
    const auto& bars = lib.progress.bars;
    EXPECT_NE(std::find(bars.begin(), bars.end(), "สร้างรายการเพลง 100 %"), bars.end());
    EXPECT_EQ(bars.back(), "บันทึกแฟ้มรายการเพลง 100 %");
    EXPECT_EQ(lib.progress.labels.back().rfind("2     เพลงที่ 2 จาก 2     ใช้เวลา ", 0), 0u);
}

}  // namespace
}  // namespace dadaz::testing
