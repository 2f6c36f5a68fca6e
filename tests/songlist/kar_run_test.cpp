#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "songlist/kar_converter.h"
#include "songlist/songlist_buttons.h"
#include "songlist/songlist_run.h"
#include "songlist_fixture.h"
#include "support/answering_prompt.h"

namespace dadaz::testing {
namespace {

using Status = SongListResult::Status;

void writeScript(const std::string& path, const std::string& body) {
    writeBytes(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

// A converter that writes its three inputs, in order, into the output (so a KAR file shows
// the argument order), leaves a work file, and fails for codes starting with 9 after writing
// half an output.
const char* const kFakeConverter =
    "case \"$4\" in */9*) echo half > \"$4\"; exit 3;; esac\n"
    "sleep 0.1\n"
    "cat \"$1\" \"$2\" \"$3\" > \"$4\"\n"
    "echo work > \"$(dirname \"$0\")/temp.txt\"\n";

struct KarFixture : LibraryFixture {
    std::string out = program + "/out";
    KarFixture() {
        writeScript(program + "/makekar.EXE", kFakeConverter);
        state.makeKarAvailable = true;
        fs.createFolder(out);
    }
    SongListResult run(const std::string& preset = {}, Prompt* otherPrompt = nullptr) {
        SongListOptions options;
        options.checkFiles = true;
        options.karMode = true;
        options.karFolder = preset;
        RunContext runCtx{program,  ctx.folders, fs,   otherPrompt ? *otherPrompt : prompt,
                          progress, launcher,    state};
        return runSongList(runCtx, options);
    }
    std::string done(const std::string& folder) {
        return "สร้างแฟ้มคาราโอเกะ [*.KAR] เสร็จเรียบร้อยแล้ว...\n\nโดยได้บันทึกแฟ้มต่าง ๆ ไว้ที่ " + folder;
    }
};

TEST(KarRun, EveryValidSongIsConvertedAndWaitedForInBothLayouts) {
    for (const bool multi : {false, true}) {
        KarFixture lib;
        SongFiles songs = lib.songs;
        if (multi) {
            const std::string root = lib.program + "/KARAOKE";
            songs = {root + "/VOL1/SONG", root + "/VOL1/LYRICS", root + "/VOL1/CURSOR"};
            lib.ctx.folders = {root, root, root, lib.program + "/Invalid Files"};
        }
        songs.add("100", {"A", "B", "C", ""});
        songs.add("205", {"D", "E", "F", ""});
        songs.add("300", {"No Cursor", "E", "F", ""}, true, false);
        // Only "Kar" under the chosen folder is emptied.
        writeBytes(lib.out + "/Kar/7/700.KAR", "old");
        writeBytes(lib.out + "/keep.txt", "mine");
        lib.prompt.expectPickFolder("เลือกที่เก็บแฟ้มคาราโอเกะ (KAR)", lib.out)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       "โปรแกรมจะสร้างแฟ้มคาราโอเกะ (KAR) ไว้ที่...\n\n" + lib.out +
                           "/Kar\n\nท่านต้องการทำต่อหรือไม่?",
                       Answer::Yes)
            .expectInform(lib.done(lib.out + "/Kar"));
        const SongListResult result = lib.run();
        EXPECT_EQ(result.status, Status::KarFilesMade);
        EXPECT_EQ(result.karWritten, 2);
        EXPECT_TRUE(lib.prompt.finished());
        // Complete when the run returns, made from MIDI, lyric and cursor in that order.
        EXPECT_EQ(readBytes(lib.out + "/Kar/1/100.KAR"),
                  "MThd" + lyricText({"A", "B", "C", ""}) + "cursor");
        EXPECT_EQ(readBytes(lib.out + "/Kar/2/205.KAR"),
                  "MThd" + lyricText({"D", "E", "F", ""}) + "cursor");
        EXPECT_EQ(readBytes(lib.out + "/Kar/3/300.KAR"), "<missing>");
        EXPECT_EQ(readBytes(lib.program + "/Invalid Files/300.LYR"),
                  lyricText({"No Cursor", "E", "F", ""}));
        EXPECT_EQ(readBytes(lib.out + "/Kar/7/700.KAR"), "<missing>");
        EXPECT_EQ(readBytes(lib.out + "/keep.txt"), "mine");
        EXPECT_EQ(readBytes(lib.program + "/temp.txt"), "<missing>");
        EXPECT_EQ(lib.read("SongList.txt"), "<missing>");
        EXPECT_FALSE(lib.state.songListCurrent);
    }
}

TEST(KarRun, FailedConversionsAreCountedLoggedAndLeaveNoHalfFile) {
    KarFixture lib;
    AnsweringPrompt prompt;
    lib.songs.add("100", {"A", "B", "C", ""});
    lib.songs.add("901", {"D", "E", "F", ""});
    lib.songs.add("902", {"G", "H", "I", ""});
    // A lyric file that cannot be read (a file whose first read fails, even for root) makes
    // no KAR file either.
    lib.songs.add("803", {"J", "K", "L", ""});
    const std::string unreadable = lib.songs.lyricFolder + "/8/803.LYR";
    std::filesystem::remove(unreadable);
    std::filesystem::create_symlink("/proc/self/mem", unreadable);
    const SongListResult result = lib.run(lib.out, &prompt);
    EXPECT_EQ(result.karWritten, 1);
    EXPECT_EQ(result.karNotWritten, 3);
    EXPECT_EQ(readBytes(lib.out + "/Kar/9/901.KAR"), "<missing>");
    const auto logs = lib.fs.listFiles(lib.program + "/Log");
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = lib.program + "/Log/" + logs[0].name;
    EXPECT_EQ(readBytes(log), "803     " + lib.out + "/Kar/8/803.KAR\r\n901     " + lib.out +
                                  "/Kar/9/901.KAR\r\n902     " + lib.out + "/Kar/9/902.KAR\r\n");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "สร้างแฟ้มคาราโอเกะ [*.KAR] ได้ไม่ครบทุกเพลง!\n\nสร้างแล้ว 1 เพลง "
              "โดยได้บันทึกแฟ้มต่าง ๆ ไว้ที่ " +
                  lib.out + "/Kar\n\nสร้างแฟ้มคาราโอเกะไม่สำเร็จ 3 เพลง รายชื่อเพลงอยู่ในแฟ้ม\n     " + log);
}

// Two volumes holding one code would have two conversions write one KAR file at once: the
// first song's is made, the other is told as not made.
TEST(KarRun, OneCodeInTwoVolumesMakesOneFileAndTellsTheOther) {
    KarFixture lib;
    AnsweringPrompt prompt;
    const std::string root = lib.program + "/KARAOKE";
    lib.ctx.folders = {root, root, root, lib.program + "/Invalid Files"};
    for (const std::string volume : {"VOL1", "VOL2"}) {
        SongFiles songs{root + "/" + volume + "/SONG", root + "/" + volume + "/LYRICS",
                        root + "/" + volume + "/CURSOR"};
        songs.add("100", {volume, "B", "C", ""});
    }
    const SongListResult result = lib.run(lib.out, &prompt);
    EXPECT_EQ(result.karWritten, 1);
    EXPECT_EQ(result.karNotWritten, 1);
    EXPECT_EQ(readBytes(lib.out + "/Kar/1/100.KAR"),
              "MThd" + lyricText({"VOL1", "B", "C", ""}) + "cursor");
}

TEST(KarRun, TheKarFolderIsOnlyEmptiedWhenItIsAFolderAndTheUserAgrees) {
    {
        // Cancelled picker: the program folder; No: nothing deleted.
        KarFixture lib;
        lib.songs.add("100", {"A", "B", "C", ""});
        writeBytes(lib.program + "/Kar/1/old.KAR", "old");
        lib.prompt.expectPickFolder("เลือกที่เก็บแฟ้มคาราโอเกะ (KAR)", "")
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       "โปรแกรมจะสร้างแฟ้มคาราโอเกะ (KAR) ไว้ที่...\n\n" + lib.program +
                           "/Kar\n\nท่านต้องการทำต่อหรือไม่?",
                       Answer::No);
        EXPECT_EQ(lib.run().status, Status::KarNotStarted);
        EXPECT_EQ(readBytes(lib.program + "/Kar/1/old.KAR"), "old");
        EXPECT_EQ(readBytes(lib.program + "/Kar/1/100.KAR"), "<missing>");
    }
    {
        KarFixture lib;
        lib.songs.add("100", {"A", "B", "C", ""});
        writeBytes(lib.out + "/KAR", "a file of the user's");
        lib.expectCritical(
            "ไม่สามารถสร้างแฟ้มคาราโอเกะได้!\nเนื่องจากไม่สามารถใช้\n     " + lib.out +
            "/Kar\nเป็นโฟลเดอร์เก็บแฟ้มคาราโอเกะได้ (มีแฟ้มชื่อนี้อยู่แล้ว หรือลบ/สร้างโฟลเดอร์ไม่ได้)\n\n"
            "กรุณาเลือกที่เก็บแฟ้มคาราโอเกะใหม่");
        EXPECT_EQ(lib.run(lib.out).status, Status::KarNotStarted);
        EXPECT_EQ(readBytes(lib.out + "/KAR"), "a file of the user's");
    }
}

// PATH set for the length of a test.
class PathFor {
  public:
    explicit PathFor(const std::string& path)
        : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        ::setenv("PATH", path.c_str(), 1);
    }
    ~PathFor() { ::setenv("PATH", old_.c_str(), 1); }

  private:
    std::string old_;
};

TEST(KarRun, AWindowsConverterRunsThroughWineWithWinePathsOneArgumentEach) {
    KarFixture lib;
    TempDir bin;
    writeBytes(lib.program + "/makekar.EXE", "MZ not really");
    writeScript(bin / "winepath",
                "[ \"$1\" = -w ] || exit 1\nprintf 'Z:%s\\n' \"$2\" | tr / '\\\\'\n");
    writeScript(bin / "wine",
                "printf '%s\\n' \"$@\" > \"" + bin / "args" +
                    "\"\nprintf kar > \"$(printf %s \"$5\" | sed 's/^Z://' | tr '\\\\' /)\"\n");
    const PathFor path(bin.path() + ":/usr/bin:/bin");
    lib.songs.add("100", {"A", "B", "C", ""});
    lib.prompt.expectInform(lib.done(lib.out + "/Kar"));
    const SongListResult result = lib.run(lib.out);
    EXPECT_EQ(result.karWritten, 1);
    auto windows = [](std::string p) {
        for (char& c : p) c = c == '/' ? '\\' : c;
        return "Z:" + p;
    };
    EXPECT_EQ(readBytes(bin / "args"), lib.program + "/makekar.EXE\n" +
                                           windows(lib.program + "/SONG/1/100.MID") + "\n" +
                                           windows(lib.program + "/LYRICS/1/100.LYR") + "\n" +
                                           windows(lib.program + "/CURSOR/1/100.CUR") + "\n" +
                                           windows(lib.out + "/Kar/1/100.KAR") + "\n");
    EXPECT_EQ(readBytes(lib.out + "/Kar/1/100.KAR"), "kar");
}

TEST(KarRun, TheStartButtonOffersKarFilesOnlyWhenTheConverterCanRun) {
    struct Case {
        std::string converter;  // "" none
        bool offered;
    };
    for (const Case& c : {Case{"#!/bin/sh\n", true}, Case{"MZ", false}, Case{"", false}}) {
        KarFixture lib;
        const PathFor path("/nonexistent");  // no wine
        std::filesystem::remove(lib.program + "/makekar.EXE");
        if (!c.converter.empty()) {
            writeBytes(lib.program + "/MakeKar.exe", c.converter);
            ::chmod((lib.program + "/MakeKar.exe").c_str(), 0755);
        }
        lib.fs.forgetIndexes();
        if (c.offered)
            lib.prompt.expectAsk(
                MessageIcon::Question, MessageButtons::YesNoCancel,
                "ตัวเลือกการทำงาน\n\nYes :  สร้างแฟ้มคาราโอเกะ [*.KAR]\nNo :  สร้างรายการเพลง\n"
                "Cancel :  ยกเลิกการทำงาน",
                Answer::No);
        lib.prompt.expectAsk(
            MessageIcon::Question, MessageButtons::YesNoCancel,
            "ตัวเลือกการสร้างรายการเพลง 1\n\nYes :  สร้างรายการเพลงเพื่อใช้สำหรับโปรแกรมนี้เท่านั้น\n"
            "No :  สร้างรายการเพลงพร้อมทั้งฐานข้อมูลเพลงสำหรับโปรแกรม ZUZ Adediru ด้วย\n"
            "Cancel :  ยกเลิกการสร้างรายการเพลง",
            Answer::Cancel);
        EXPECT_FALSE(startSongListFromButton(lib.ctx).has_value());
        EXPECT_TRUE(lib.prompt.finished()) << c.converter;
    }
}

}  // namespace
}  // namespace dadaz::testing
