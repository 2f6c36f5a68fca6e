#include <gtest/gtest.h>
#include <sys/stat.h>

#include "songlist/songlist_run.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

using Status = SongListResult::Status;

TEST(SongListRun, CheckingFormMovesInvalidTriplesAndEmptiesFourthLines) {
    LibraryFixture lib;
    lib.songs.add("100", {"Good", "A", "C", " ", "lyric"});
    lib.songs.add("200", {"No Cursor", "B", "D", ""}, true, false);
    lib.songs.add("300", {"No Midi", "C", "E", ""}, false, true);
    lib.songs.add("400", {"Also Good", "D", "F", ""});
    // The move-to folder already holds a file of that name: it stays where it is.
    writeBytes(lib.program + "/Invalid Files/300.CUR", "older");

    lib.expectClosing(lib.closingMessage() + "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n     " + lib.program +
                      "/Invalid Files");
    SongListOptions options;
    options.checkFiles = true;
    const SongListResult result = runSongList(lib.ctx, options);
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
    EXPECT_EQ(readBytes(lib.program + "/SONG/2/200.MID"), "<missing>");
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

    const std::string list = record(lib.read("List.vk2"), 0);
    const std::string tarn = record(lib.read("Tarn.vk2"), 0);
    EXPECT_EQ(list.substr(191), std::string(63, '\0') + "\r\n");
    EXPECT_EQ(tarn.substr(191), ".." + std::string(61, '\0') + "\r\n");
    const std::string noMidi = record(lib.read("List.vk2"), 1);
    EXPECT_EQ(noMidi.substr(69, 61), std::string(61, '\0'));
    EXPECT_EQ(record(lib.read("Tarn.vk2"), 1).substr(69, 61), ".." + std::string(59, '\0'));
}

TEST(SongListRun, LooseMidiFilesWithEightCharactersGetRecords) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/SONG/ABCDEFGH.MID", "MThd");
    writeBytes(lib.program + "/SONG/ABCDEFGHI.MID", "MThd");
    writeBytes(lib.program + "/SONG/short.Mid", "MThd");
    writeBytes(lib.program + "/SONG/WAVE.WAV", "RIFF");
    lib.expectClosing();
    runSongList(lib.ctx);
    const std::string list = lib.read("List.vk2");
    ASSERT_EQ(list.size(), 3 * 256u);
    const std::string nameField = "\xFE" + std::string(59, '\0');
    EXPECT_EQ(record(list, 1).substr(0, 69), "ABCDEFGH:" + nameField);
    EXPECT_EQ(record(list, 1).substr(69, 61), "C:\\SONG\\ABCDEFGH.MID" + std::string(41, '\0'));
    EXPECT_EQ(record(list, 1).substr(130), std::string(124, '\0') + "\r\n");
    EXPECT_EQ(record(list, 2).substr(0, 9), "short   :");
    const std::string tarn = record(lib.read("Tarn.vk2"), 1);
    EXPECT_EQ(tarn.substr(69, 61), "..\\SONG\\ABCDEFGH.MID" + std::string(41, '\0'));
    EXPECT_EQ(tarn.substr(130),
              ".." + std::string(59, '\0') + ".." + std::string(61, '\0') + "\r\n");
}

TEST(SongListRun, DatabaseGoesToTheProgramFolderWhenTheMidiFolderIsInItInAnyCase) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    // The folder box spelled in another case than the disk.
    std::string upper = lib.program;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    lib.ctx.folders.midi = upper + "/song";
    lib.expectClosing();
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.databaseFolder, lib.program);
    EXPECT_EQ(lib.read("List.vk2").size(), 256u);
}

TEST(SongListRun, DatabaseFolderElsewhereIsAskedForUntilChosen) {
    LibraryFixture lib;
    TempDir elsewhere;
    TempDir player;
    SongFiles songs{elsewhere / "MIDI", elsewhere / "LYRIC", elsewhere / "CURSOR"};
    songs.add("1", {"Song", "A", "C", ""});
    lib.ctx.folders.midi = elsewhere / "MIDI";
    lib.ctx.folders.lyric = elsewhere / "LYRIC";
    lib.ctx.folders.cursor = elsewhere / "CURSOR";
    const std::string title = "เลือกที่เก็บแฟ้มฐานข้อมูลเพลง";
    lib.prompt
        .expectInform(
            "ตำแหน่งที่ตั้งโปรแกรม DAD Azar Edizuda\n"
            "ไม่ได้อยู่ที่เดียวกับที่เก็บเพลงหรือที่เก็บโปรแกรมคาราโอเกะของท่าน\n\n"
            "กรุณาเลือกที่เก็บแฟ้มฐานข้อมูลเพลงให้เป็นที่เก็บโปรแกรมคาราโอเกะของท่านก่อน")
        .expectPickFolder(title, "")
        .expectPickFolder(title, "")
        .expectPickFolder(title, player.path());
    lib.expectClosing("สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " +
                      player.path() + "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + lib.program);
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(lib.prompt.lastStartFolder(), lib.program);
    EXPECT_EQ(result.databaseFolder, player.path());
    EXPECT_EQ(readBytes(player / "List.vk2").size(), 256u);
    EXPECT_EQ(readBytes(player / "Tarn.vk2").size(), 256u);
    EXPECT_EQ(lib.read("List.vk2"), "<missing>");
    EXPECT_EQ(songLines(lib.read("SongList.txt")).size(), 1u);
}

TEST(SongListRun, StoppedScanWritesNothingAndClearsItsFlags) {
    LibraryFixture lib;
    for (int i = 100; i < 200; ++i) lib.songs.add(std::to_string(i), {"T", "A", "K", ""});
    writeBytes(lib.program + "/SongList.txt", "old list");
    writeBytes(lib.program + "/List.vk2", "old list.vk2");
    lib.state.catalogueRequested = true;
    lib.state.duplicateSearchActive = true;
    lib.state.songsAdded = true;
    // The user presses Stop while the scan lets events through.
    lib.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                         "ท่านต้องการยกเลิกการสร้างรายการเพลง", Answer::Yes);
    lib.pump = [&] {
        if (!lib.prompt.finished()) {
            if (lib.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                               "ท่านต้องการยกเลิกการสร้างรายการเพลง") == Answer::Yes) {
                lib.state.stopRequested = true;
                lib.state.duplicateSearchActive = false;
            }
        }
    };
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.status, Status::Stopped);
    EXPECT_EQ(lib.read("SongList.txt"), "old list");
    EXPECT_EQ(lib.read("List.vk2"), "old list.vk2");
    EXPECT_EQ(lib.read("Tarn.vk2"), "<missing>");
    EXPECT_FALSE(lib.state.stopRequested);
    EXPECT_FALSE(lib.state.catalogueRequested);
    EXPECT_FALSE(lib.state.duplicateSearchActive);
    EXPECT_TRUE(lib.state.songsAdded);
    EXPECT_FALSE(lib.state.songListCurrent);
    EXPECT_EQ(lib.busy, (std::vector<std::string>{"enter Lister", "leave"}));
    // No file is left behind half written.
    EXPECT_EQ(lib.fs.countFiles(lib.program), 2u);
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
    EXPECT_EQ(lib.busy, (std::vector<std::string>{"enter Lister", "leave"}));
}

TEST(SongListRun, OwnListWritesOnlySongListAndSaysNothing) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    writeBytes(lib.program + "/List.vk2", "old");
    lib.state.catalogueRequested = true;
    const SongListResult result = runSongList(lib.ctx);  // no question scripted
    EXPECT_EQ(result.status, Status::Written);
    EXPECT_FALSE(result.databaseWritten);
    EXPECT_EQ(songLines(lib.read("SongList.txt")), std::vector<std::string>{"1  ;Song  ;A  ;C"});
    EXPECT_EQ(lib.read("List.vk2"), "old");
    EXPECT_EQ(lib.read("Tarn.vk2"), "<missing>");
    EXPECT_TRUE(lib.state.catalogueRequested);  // cleared by whoever set it
    EXPECT_TRUE(lib.state.songListCurrent);
}

TEST(SongListRun, MissingSongFolderIsRefused) {
    LibraryFixture lib;
    lib.ctx.folders.cursor = lib.program + "/NOPE";
    writeBytes(lib.program + "/SongList.txt", "old");
    lib.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                         "ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor"
                         "\n\nกรุณาเลือกที่เก็บแฟ้มใหม่",
                         Answer::Ok);
    EXPECT_EQ(runSongList(lib.ctx).status, Status::MissingFolders);
    EXPECT_EQ(lib.read("SongList.txt"), "old");
    EXPECT_EQ(lib.busy, std::vector<std::string>{"leave"});
}

TEST(SongListRun, MissingMoveToFolderIsCreatedOnlyWhenTheUserAgrees) {
    const std::string question =
        "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\n"
        "ท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     ";
    {
        LibraryFixture lib;
        lib.ctx.folders.moveTo = lib.program + "/Elsewhere";
        lib.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                             question + lib.program + "/Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?",
                             Answer::No);
        EXPECT_EQ(runSongList(lib.ctx).status, Status::MoveToDeclined);
        EXPECT_EQ(lib.read("SongList.txt"), "<missing>");
    }
    {
        LibraryFixture lib;
        ::rmdir((lib.program + "/Invalid Files").c_str());
        lib.songs.add("1", {"Song", "A", "C", ""});
        lib.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                             question + lib.program + "/Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?",
                             Answer::Yes);
        lib.expectClosing();
        const SongListResult result = runSongList(lib.ctx);
        EXPECT_EQ(result.status, Status::Written);
        EXPECT_EQ(result.createdMoveTo, lib.program + "/Invalid Files");
        EXPECT_TRUE(lib.fs.isFolder(lib.program + "/Invalid Files"));
    }
}

TEST(SongListRun, FailedDatabaseWriteKeepsTheOldFiles) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    lib.fs.createFolder(lib.program + "/List.vk2");  // cannot be replaced by a file
    writeBytes(lib.program + "/Tarn.vk2", "old tarn");
    writeBytes(lib.program + "/Other.vk2", "other");
    lib.prompt.expectAsk(
        MessageIcon::Critical, MessageButtons::Ok,
        "ไม่สามารถบันทึกแฟ้ม List.vk2 ไว้ที่\n     " + lib.program + "\n\nแฟ้มเดิมยังคงอยู่ตามเดิม", Answer::Ok);
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(result.status, Status::WriteFailed);
    EXPECT_EQ(lib.read("Tarn.vk2"), "old tarn");
    EXPECT_EQ(lib.read("Other.vk2"), "other");
    EXPECT_EQ(songLines(lib.read("SongList.txt")).size(), 1u);
}

TEST(SongListRun, FailedSongListWriteChangesNothing) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    lib.fs.createFolder(lib.program + "/SongList.txt");
    writeBytes(lib.program + "/List.vk2", "old");
    lib.prompt.expectAsk(
        MessageIcon::Critical, MessageButtons::Ok,
        "ไม่สามารถบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + lib.program + "\n\nแฟ้มเดิมยังคงอยู่ตามเดิม",
        Answer::Ok);
    EXPECT_EQ(runSongList(lib.ctx).status, Status::WriteFailed);
    EXPECT_EQ(lib.read("List.vk2"), "old");
    EXPECT_FALSE(lib.state.songListCurrent);
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
    lib.expectClosing(lib.closingMessage() +
                      "\n\nไม่ได้บันทึกลงฐานข้อมูลเพลง 1 เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร "
                      "หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)\nไม่ได้นำเข้ารายการเพลง 1 แฟ้ม "
                      "(อ่านแฟ้มไม่ได้ หรือชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้)");
    const SongListResult result = runSongList(lib.ctx);
    EXPECT_EQ(songLines(lib.read("SongList.txt")),
              (std::vector<std::string>{"123456789  ;Nine  ;A  ;C", "1  ;Song  ;A  ;C"}));
    EXPECT_EQ(lib.read("List.vk2").size(), 256u);
    EXPECT_EQ(result.notListed, 1);
    EXPECT_EQ(result.withoutPlayerRecord, 1);
}

TEST(SongListRun, ProgressShowsTheRunTextsAndTheLabel) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    lib.songs.add("2", {"Song", "B", "C", ""});
    writeBytes(lib.program + "/LYRICS/2/notes.txt", "x");
    lib.expectClosing();
    runSongList(lib.ctx);
    ASSERT_FALSE(lib.progress.bars.empty());
    EXPECT_NE(std::find(lib.progress.bars.begin(), lib.progress.bars.end(), "สร้างรายการเพลง 66 %"),
              lib.progress.bars.end());
    EXPECT_EQ(lib.progress.bars.back(), "บันทึกแฟ้มรายการเพลง 100 %");
    EXPECT_NE(std::find(lib.progress.labels.begin(), lib.progress.labels.end(),
                        "2     เพลงที่ 2 จาก 3     ใช้เวลา 0:00:00"),
              lib.progress.labels.end());
}

}  // namespace
}  // namespace dadaz::testing
