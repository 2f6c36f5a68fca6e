#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/shortpath.h"
#include "songlist/songlist_run.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

using Status = SongListResult::Status;
const std::string kNul(1, '\0');

TEST(SongListRun, CheckingFormMovesInvalidTriplesAndEmptiesFourthLines) {
    LibraryFixture lib;
    lib.songs.add("100", {"Good", "A", "C", " ", "lyric"});
    lib.songs.add("200", {"No Cursor", "B", "D", ""}, true, false);
    lib.songs.add("300", {"No Midi", "C", "E", ""}, false, true);
    lib.songs.add("400", {"Also Good", "D", "F", ""});
    // The move-to folder already holds a file of that name: it stays where it is.
    writeBytes(lib.program + "/Invalid Files/300.CUR", "older");

    lib.expectClosing(lib.closingMessage("") + "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n     " +
                      lib.program + "/Invalid Files" + lib.drivesParagraph("C"));
    SongListOptions checking;
    checking.checkFiles = true;
    const SongListResult result = runSongList(lib.ctx, checking);
    ASSERT_EQ(result.status, Status::Written);

    EXPECT_EQ(songLines(lib.read("SongList.txt")),
              (std::vector<std::string>{"400  ;Also Good  ;D  ;F", "100  ;Good  ;A  ;C"}));
    const std::string moved = lib.program + "/Invalid Files/";
    EXPECT_EQ(readBytes(moved + "200.LYR"), lyricText({"No Cursor", "B", "D", ""}));
    EXPECT_EQ(readBytes(moved + "200.MID"), "MThd");
    EXPECT_EQ(readBytes(moved + "300.LYR"), lyricText({"No Midi", "C", "E", ""}));
    EXPECT_EQ(readBytes(moved + "300.CUR"), "older");
    EXPECT_EQ(readBytes(lib.program + "/CURSOR/3/300.CUR"), "cursor");
    EXPECT_EQ(readBytes(lib.program + "/LYRICS/2/200.LYR"), "<missing>");
    EXPECT_EQ(result.filesMoved, 3);
    // The blank fourth line is emptied, the lyric kept.
    EXPECT_EQ(readBytes(lib.program + "/LYRICS/1/100.LYR"), "Good\r\nA\r\nC\r\n\r\nlyric\r\n");
    EXPECT_EQ(result.fourthLinesEmptied, 1);
}

TEST(SongListRun, PlainFormListsSongsWithMissingPartnersAndMovesNothing) {
    LibraryFixture lib;
    lib.songs.add("200", {"No Cursor", "B", "D", "x"}, true, false);
    lib.songs.add("300", {"No Midi", "C", "E", ""}, false, true);
    lib.expectClosing();
    runSongList(lib.ctx);
    EXPECT_EQ(songLines(lib.read("SongList.txt")),
              (std::vector<std::string>{"200  ;No Cursor  ;B  ;D", "300  ;No Midi  ;C  ;E"}));
    EXPECT_EQ(readBytes(lib.program + "/LYRICS/2/200.LYR"),
              lyricText({"No Cursor", "B", "D", "x"}));
    EXPECT_EQ(lib.fs.countFiles(lib.program + "/Invalid Files"), 0u);
}

TEST(SongListRun, MidiOnlyRecordsHaveOnlyAMidiPath) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    for (const char* name : {"ABCDEFGH.MID", "ABCDEFGHI.MID", "short.Mid", "WAVE.WAV"}) {
        writeBytes(lib.program + "/SONG/" + name, "MThd");
    }
    lib.expectClosing();
    runSongList(lib.ctx);
    const std::string list = lib.read("List.vk2");
    ASSERT_EQ(list.size(), 3 * 256u);
    const std::string head = "ABCDEFGH:\xFE" + std::string(59, '\0');
    const std::string tail = std::string(41 + 61 + 63, '\0') + "\r\n";
    EXPECT_EQ(record(list, 1), head + "C:\\SONG\\ABCDEFGH.MID" + tail);
    EXPECT_EQ(record(lib.read("Tarn.vk2"), 1), head + "..\\SONG\\ABCDEFGH.MID" + tail);
    EXPECT_EQ(record(list, 2).substr(0, 9), "short   :");
}

TEST(SongListRun, NulAndSemicolonInLyricLinesBecomeBlankAndComma) {
    LibraryFixture lib;
    lib.songs.add("1", {});
    writeBytes(lib.program + "/LYRICS/1/1.LYR",
               "Nul" + kNul + "Mid;" + kNul + " (a;b)\r\nArt" + kNul + ";\r\nK" + kNul + "\r\n");
    lib.expectClosing(lib.closingMessage() +
                      "\n\nเปลี่ยนเครื่องหมาย ; ในชื่อเพลง ชื่อศิลปิน หรือคีย์เพลง เป็น , แล้ว 1 เพลง");
    runSongList(lib.ctx);
    EXPECT_EQ(songLines(lib.read("SongList.txt")),
              std::vector<std::string>{"1  ;Nul Mid,  ;Art ,  ;K "});
    EXPECT_EQ(record(lib.read("List.vk2"), 0).substr(9, 60),
              "Nul Mid,->Art ," + std::string(45, '\0'));
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
    const std::string title = "เลือกที่เก็บแฟ้มฐานข้อมูลเพลง";
    lib.prompt
        .expectInform(
            "ตำแหน่งที่ตั้งโปรแกรม DAD Azar Edizuda\n"
            "ไม่ได้อยู่ที่เดียวกับที่เก็บเพลงหรือที่เก็บโปรแกรมคาราโอเกะของท่าน\n\n"
            "กรุณาเลือกที่เก็บแฟ้มฐานข้อมูลเพลงให้เป็นที่เก็บโปรแกรมคาราโอเกะของท่านก่อน")
        .expectPickFolder(title, "")
        .expectPickFolder(title, player.path());
    lib.expectClosing("สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " +
                      player.path() + "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + lib.program +
                      lib.drivesParagraph("D", {elsewhere.path()}));
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(lib.prompt.lastStartFolder(), lib.program);
    EXPECT_EQ(result.databaseFolder, player.path());
    const std::string list = readBytes(player / "List.vk2");
    EXPECT_EQ(list.substr(69, 16), "D:\\MIDI\\1\\1.MID" + kNul);
    EXPECT_EQ(list.substr(191, 19), "D:\\CURSOR\\1\\1.CUR" + kNul + kNul);
    EXPECT_EQ(readBytes(player / "Tarn.vk2").substr(130, 17), "..\\LYRIC\\1\\1.LYR" + kNul);
    EXPECT_EQ(lib.read("List.vk2"), "<missing>");
}

TEST(SongListRun, DatabaseGoesToTheProgramFolderWhenTheMidiFolderIsInItInAnyCase) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    std::string upper = lib.program;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    lib.ctx.folders.midi = upper + "/song";
    lib.expectClosing();
    EXPECT_EQ(runSongList(lib.ctx).databaseFolder, lib.program);
    EXPECT_EQ(lib.read("List.vk2").size(), 256u);
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
    const SongListResult result = runSongList(lib.ctx, options);
    EXPECT_EQ(result.withoutDosPath, 2);
    EXPECT_EQ(lib.read("List.vk2"), "");
    EXPECT_EQ(songLines(lib.read("SongList.txt")).size(), 1u);
}

TEST(SongListRun, StoppedScanWritesNothingAndClearsItsFlags) {
    LibraryFixture lib;
    for (int i = 100; i < 200; ++i) lib.songs.add(std::to_string(i), {"T", "A", "K", ""});
    writeBytes(lib.program + "/SongList.txt", "old list");
    writeBytes(lib.program + "/List.vk2", "old list.vk2");
    lib.state.catalogueRequested = lib.state.duplicateSearchActive = lib.state.songsAdded = true;
    // The user presses Stop while the scan lets events through.
    lib.pump = [&] { lib.state.stopRequested = true; };
    EXPECT_EQ(runSongList(lib.ctx).status, Status::Stopped);
    EXPECT_EQ(lib.read("SongList.txt"), "old list");
    EXPECT_EQ(lib.read("List.vk2"), "old list.vk2");
    EXPECT_FALSE(lib.state.stopRequested);
    EXPECT_FALSE(lib.state.catalogueRequested);
    EXPECT_FALSE(lib.state.duplicateSearchActive);
    EXPECT_TRUE(lib.state.songsAdded);
    EXPECT_FALSE(lib.state.songListCurrent);
    EXPECT_EQ(lib.busy, (std::vector<std::string>{"enter Lister", "leave"}));
    EXPECT_EQ(lib.fs.countFiles(lib.program), 2u);  // nothing half written left behind
}

TEST(SongListRun, CompletedRunSetsAndClearsTheLibraryFlags) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    lib.state.songsAdded = lib.state.songsRenamed = lib.state.songsRemoved = true;
    lib.state.catalogueLoaded = true;
    lib.expectClosing(lib.closingMessage(), Answer::Yes);
    runSongList(lib.ctx);
    EXPECT_TRUE(lib.state.songListCurrent);
    EXPECT_FALSE(lib.state.libraryChanged());
    EXPECT_FALSE(lib.state.catalogueLoaded);
    ASSERT_EQ(lib.launcher.calls.size(), 1u);
    EXPECT_TRUE(lib.launcher.calls[0].document);
    EXPECT_EQ(lib.launcher.calls[0].program, lib.program + "/SongList.txt");
}

TEST(SongListRun, OwnListWritesOnlySongListAndSaysNothing) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/List.vk2", "old");
    lib.state.catalogueRequested = true;
    const SongListResult result = runSongList(lib.ctx);  // no question scripted
    EXPECT_EQ(result.status, Status::Written);
    EXPECT_EQ(songLines(lib.read("SongList.txt")), std::vector<std::string>{"1  ;Song  ;A  ;C"});
    EXPECT_EQ(lib.read("List.vk2"), "old");
    EXPECT_EQ(lib.read("Tarn.vk2"), "<missing>");
    EXPECT_TRUE(lib.state.catalogueRequested);  // cleared by whoever set it
}

TEST(SongListRun, MissingFoldersAreRefused) {
    LibraryFixture lib;
    lib.ctx.folders.cursor = lib.program + "/NOPE";
    writeBytes(lib.program + "/SongList.txt", "old");
    lib.expectCritical(
        "ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n\nกรุณาเลือกที่เก็บแฟ้มใหม่");
    EXPECT_EQ(runSongList(lib.ctx).status, Status::MissingFolders);
    EXPECT_EQ(lib.read("SongList.txt"), "old");
    EXPECT_EQ(lib.busy, std::vector<std::string>{"leave"});

    // A missing move-to folder is created only when the user agrees.
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        LibraryFixture fresh;
        const std::string moveTo = fresh.program + "/Invalid Files";
        ::rmdir(moveTo.c_str());
        fresh.songs.add("1", {"Song", "A", "C", ""});
        fresh.prompt.expectAsk(
            MessageIcon::Exclamation, MessageButtons::YesNo,
            "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\nท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     " + moveTo +
                "\n\nแล้วดำเนินการต่อ ใช่หรือไม่?",
            answer);
        if (answer == Answer::Yes) fresh.expectClosing();
        const SongListResult result = runSongList(fresh.ctx);
        EXPECT_EQ(result.status, answer == Answer::Yes ? Status::Written : Status::MoveToDeclined);
        EXPECT_EQ(result.createdMoveTo, answer == Answer::Yes ? moveTo : "");
        EXPECT_EQ(fresh.fs.isFolder(moveTo), answer == Answer::Yes);
    }
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

TEST(SongListRun, OldDatabaseFilesAreReplacedEvenWhenReadOnly) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/LIST.VK2", std::string(512, 'x'));
    lib.fs.setReadOnly(lib.program + "/LIST.VK2", true);
    writeBytes(lib.program + "/old.vk2", "stale");
    writeBytes(lib.program + "/keep.vk2x", "not a database file");
    lib.expectClosing();
    runSongList(lib.ctx);
    EXPECT_EQ(lib.read("LIST.VK2").size(), 256u);
    EXPECT_EQ(lib.read("Tarn.vk2").size(), 256u);
    EXPECT_EQ(lib.read("old.vk2"), "<missing>");
    EXPECT_EQ(lib.read("keep.vk2x"), "not a database file");
}

TEST(SongListRun, UnsafeOrOverlongNamesAreReportedNotMisfiled) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/LYRICS/1/12;34.LYR", lyricText({"Semicolon Code", "A", "C"}));
    writeBytes(lib.program + "/LYRICS/1/.hidden.LYR", lyricText({"Hidden", "A", "C"}));
    lib.songs.add("123456789", {"Nine", "A", "C", ""});
    // "C:\AAAAAAAA\...\FFFFFFFF\2\2.CUR" has 64 characters, one more than its field.
    const std::string deep = "/AAAAAAAA/BBBBBBBB/CCCCCCCC/DDDDDDDD/EEEEEEEE/FFFFFFFF";
    lib.ctx.folders.cursor = lib.program + deep;
    SongFiles{lib.program + "/SONG", lib.program + "/LYRICS", lib.program + deep}.add(
        "2", {"Deep", "A", "C", ""});
    lib.expectClosing(lib.closingMessage() +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 2 เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร "
                      "หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)\nไม่ได้นำเข้ารายการเพลง 1 แฟ้ม "
                      "(อ่านแฟ้มไม่ได้ หรือชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้)");
    runSongList(lib.ctx);
    EXPECT_EQ(songLines(lib.read("SongList.txt")),
              (std::vector<std::string>{"2  ;Deep  ;A  ;C", "123456789  ;Nine  ;A  ;C",
                                        "1  ;Song  ;A  ;C"}));
    const std::string list = lib.read("List.vk2");
    ASSERT_EQ(list.size(), 256u);
    EXPECT_EQ(list.substr(0, 9), "1       :");
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
