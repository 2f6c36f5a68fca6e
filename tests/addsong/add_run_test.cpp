#include "addsong/add_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "songlist/songlist_fixture.h"

namespace dadaz {
namespace {

using testing::lyricText;
using testing::readBytes;
using testing::writeBytes;
namespace fs = std::filesystem;

const char* const kStart =
    "ก่อนทำการเพิ่มเพลง ท่านควรตรวจดูระบบแฟ้มก่อนว่า มีแฟ้มครบทั้ง 3 ชนิดหรือไม่\n"
    "ประกอบด้วย *.mid, *.lyr, *.cur อยู่รวมกันในโฟลเดอร์ที่ท่านเลือก\n\nท่านต้องการดำเนินการต่อหรือไม่?";
const char* const kOpenList = "\n\nท่านต้องการเปิดดูรายชื่อเพลงที่เพิ่มเข้าไปหรือไม่?";
const char* const kCodeExists =
    "ไม่สามารถทำงานต่อได้! เนื่องจาก พบรหัสแฟ้มที่จะเพิ่มเข้าไปมีอยู่แล้ว\n\nกรุณาทำการเปลี่ยนชื่อแฟ้มก่อน...";
const char* const kIncomplete =
    "ระบบแฟ้มเพลงอย่างน้อย 1 แฟ้ม ไม่สมบูรณ์ ซึ่งโปรแกรมจะข้ามการเพิ่มเพลง ๆ นั้นไป\n\n"
    "ท่านต้องการดำเนินการต่อหรือไม่?";
const char* const kTaken = "มีแฟ้มชื่อนี้ในที่เก็บเพลงอยู่แล้ว";

// A library in SONG, LYRICS and CURSOR of the program folder, new songs in "New Song", the
// add panel's settings (automatic target "1", pattern box "000000") and the first question
// answered Yes.
struct AddFixture : testing::LibraryFixture {
    std::string source = program + "/New Song";
    AddSongOptions options{.target = AddTarget::Automatic,
                           .sourceFolder = source,
                           .prefix = "1",
                           .patternBox = "000000",
                           .timeStamp = "071220261530"};
    int leaves = 0;

    AddFixture() {
        fs::create_directories(source);
        ctx.leaveBusy = [this] { ++leaves; };
        prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo, kStart, Answer::Yes);
    }
    // Library files: "LYRICS/1/1000001.LYR" and so on.
    void put(const std::string& path, const std::string& bytes = "old") {
        writeBytes(program + "/" + path, bytes);
    }
    void newSong(const std::string& code) {
        const auto name = [&](const char* kind) { return source + "/" + code + "." + kind; };
        writeBytes(name("lyr"), lyric(code));
        writeBytes(name("mid"), "MThd " + code);
        writeBytes(name("cur"), "cursor " + code);
    }
    std::string lyric(const std::string& code) const {
        return lyricText({"Title " + code, "Artist", "C", "", "la la"});
    }
    std::string at(const std::string& path) const { return readBytes(program + "/" + path); }
    std::string log() const { return at("Log/ADD071220261530.txt"); }
    void expectClosing(const std::string& text, MessageIcon icon = MessageIcon::Information,
                       Answer open = Answer::No) {
        prompt.expectAsk(icon, MessageButtons::YesNo, text + kOpenList, open);
    }
    void expectAdded(int count) {
        expectClosing("เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด " + std::to_string(count) + " เพลง");
    }
    AddSongResult run() {
        fs.forgetIndexes();  // the test wrote behind its back
        return runAddSong(ctx, options);
    }
};

TEST(AddSong, SuggestsTheFolderWithFewestFilesAndItsCodeLength) {
    AddFixture f;
    for (const char* name : {"0/1.MID", "0/2.MID", "1/100001.mid", "2/201.MID"}) {
        f.put(std::string("SONG/") + name);
    }
    fs::create_directories(f.program + "/SONG/3");  // the fewest files: no sample, no zeros
    const std::string midi = f.program + "/SONG";
    struct Case {
        AddTarget target;
        std::string manual;
        std::optional<std::string> prefix;
        std::string pattern;
    };
    const Case cases[] = {
        {AddTarget::Automatic, "", "3", ""},     {AddTarget::Manual, "1", "1", "00000"},
        {AddTarget::Manual, "2", "2", "00"},     {AddTarget::Manual, "7", "7", ""},
        {AddTarget::Manual, "../1", "../1", ""}, {AddTarget::KeepNames, "1", "?", ""},
    };
    for (const Case& c : cases) {
        const PatternSuggestion s = suggestPattern(f.fs, midi, c.target, c.manual);
        EXPECT_EQ(s.prefix, c.prefix) << c.manual;
        EXPECT_EQ(s.pattern, c.pattern) << c.manual;
    }
}

TEST(AddSong, ContinuesTheFolderNumberingWithListAndLog) {
    AddFixture f;
    for (int i = 1; i <= 150; ++i) f.songs.add(std::to_string(1000000 + i), {"Old", "A", "C", ""});
    f.newSong("123");
    f.expectClosing("เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 1 เพลง", MessageIcon::Information, Answer::Yes);
    const AddSongResult result = f.run();

    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(f.at("LYRICS/1/1000151.LYR"), f.lyric("123"));
    EXPECT_EQ(f.at("SONG/1/1000151.MID"), "MThd 123");
    EXPECT_EQ(f.at("CURSOR/1/1000151.CUR"), "cursor 123");
    const std::string line = "123 => 1000151  ;Title 123  ;Artist  ;C  ;1\r\n";
    EXPECT_EQ(f.log(), line);
    EXPECT_EQ(f.at("NewSong.txt"), utf8ToCp874("รายชื่อเพลงที่เพิ่มเข้าไปใหม่") + "\r\n\r\n" + line);
    EXPECT_EQ(f.progress.bars.back(), "เพิ่มเพลงใหม่ 100 %");
    EXPECT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_TRUE(f.state.songsAdded);
    EXPECT_FALSE(f.state.songListCurrent);
    EXPECT_EQ(f.leaves, 1);
}

// The code check compares the next number with ".LYR" exactly; a lower-case name escapes it
// but is still never replaced.
TEST(AddSong, TakenFirstCodeRefusesOrLeavesTheSongOut) {
    for (const char* name : {"1000151.LYR", "9990151.LYR", "1000151.lyr"}) {
        SCOPED_TRACE(name);
        AddFixture f;
        for (int i = 1; i <= 149; ++i) f.put("LYRICS/1/" + std::to_string(1000000 + i) + ".LYR");
        f.put(std::string("LYRICS/1/") + name, "keep");
        f.newSong("123");
        const bool checked = std::string(name).ends_with(".LYR");
        if (checked) {
            f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok, kCodeExists, Answer::Ok);
        } else {
            f.expectClosing(std::string("เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 0 เพลง\n\n") +
                                "เพลงที่ไม่ได้เพิ่ม 1 เพลง\n123.lyr => 1000151  ;" + kTaken,
                            MessageIcon::Exclamation);
        }
        const AddSongResult result = f.run();
        EXPECT_EQ(result.added, 0);
        EXPECT_EQ(f.at(std::string("LYRICS/1/") + name), "keep");
        EXPECT_FALSE(fs::exists(f.program + "/SONG/1/1000151.MID"));
        EXPECT_EQ(fs::exists(f.program + "/Log"), !checked);
        EXPECT_EQ(f.leaves, checked ? 0 : 1);
    }
}

TEST(AddSong, IncompleteSourceAsksAndAddsCompleteSongsOnly) {
    for (Answer answer : {Answer::Yes, Answer::No}) {
        AddFixture f;
        f.newSong("123");
        f.newSong("124");
        fs::remove(f.source + "/124.cur");
        f.put("New Song/125.lyr");  // 8 files: the bar counts 3 songs, finds 1
        f.put("New Song/readme.txt");
        f.put("New Song/notes.doc");
        f.options.patternBox = "0";  // too short: six more zeros
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo, kIncomplete, answer);
        if (answer == Answer::Yes) f.expectAdded(1);
        f.run();
        EXPECT_EQ(fs::exists(f.program + "/LYRICS/1/10000001.LYR"), answer == Answer::Yes);
        EXPECT_FALSE(fs::exists(f.program + "/LYRICS/1/10000002.LYR"));
        EXPECT_EQ(f.leaves, 1);
        if (answer == Answer::Yes) {
            EXPECT_EQ(f.progress.bars.back(), "เพิ่มเพลงใหม่ 33 %");
        }
    }
}

TEST(AddSong, KeepNamesGoesToTheFirstCharacterFolderAndNeverReplaces) {
    AddFixture f;
    f.options.target = AddTarget::KeepNames;
    f.options.prefix = "?";
    f.options.patternBox = "";
    f.newSong("55");
    f.newSong("56");
    f.songs.add("56", {"Old song", "Old", "D", ""});
    const std::string oldLyric = f.at("LYRICS/5/56.LYR");
    f.expectClosing(std::string("เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 1 เพลง\n\n") +
                        "เพลงที่ไม่ได้เพิ่ม 1 เพลง\n56.lyr  ;" + kTaken,
                    MessageIcon::Exclamation);
    f.run();
    EXPECT_EQ(f.at("LYRICS/5/55.lyr"), f.lyric("55"));
    EXPECT_EQ(f.at("SONG/5/55.mid"), "MThd 55");
    EXPECT_EQ(f.at("CURSOR/5/55.cur"), "cursor 55");
    EXPECT_EQ(f.at("LYRICS/5/56.LYR"), oldLyric);
    EXPECT_EQ(f.at("SONG/5/56.MID"), "MThd");
    EXPECT_EQ(cp874ToUtf8(f.at("NewSong.txt")),
              "รายชื่อเพลงที่เพิ่มเข้าไปใหม่\r\n\r\n55  ;Title 55  ;Artist  ;C  ;2\r\n\r\n"
              "เพลงที่ไม่ได้เพิ่ม 1 เพลง\r\n56.lyr  ;" +
                  std::string(kTaken) + "\r\n");
}

// A later number that is taken (here by a music file alone) leaves that song out; a song
// whose copy fails (its music file's temporary name is blocked) leaves no file behind.
TEST(AddSong, TakenOrFailingSongsAreLeftOutWhole) {
    AddFixture f;
    for (int i = 1; i <= 3; ++i) f.songs.add(std::to_string(1000000 + i), {"Old", "A", "C", ""});
    f.put("SONG/1/1000005.MID", "orphan");
    fs::create_directories(f.program + "/SONG/1/.dadaz-add-1000006.MID.tmp");
    for (const char* code : {"a", "b", "c"}) f.newSong(code);
    f.expectClosing(std::string("เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 1 เพลง\n\nเพลงที่ไม่ได้เพิ่ม 2 เพลง\n") +
                        "b.lyr => 1000005  ;" + kTaken + "\nc.lyr => 1000006  ;คัดลอกแฟ้มไม่สำเร็จ",
                    MessageIcon::Exclamation);
    const AddSongResult result = f.run();
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(f.at("LYRICS/1/1000004.LYR"), f.lyric("a"));
    EXPECT_EQ(f.at("SONG/1/1000005.MID"), "orphan");
    // Nothing else: no half song, no temporary file.
    for (const char* folder : {"LYRICS/1", "SONG/1", "CURSOR/1"}) {
        EXPECT_EQ(std::distance(fs::directory_iterator(f.program + "/" + folder), {}),
                  std::string(folder) == "SONG/1" ? 6 : 4)
            << folder;
    }
    EXPECT_EQ(f.log(), "a => 1000004  ;Title a  ;Artist  ;C  ;1\r\n");
}

// What a killed run left: its temporary copies go before the count, so they take no number;
// a journal line outside the library folders is not followed.
TEST(AddSong, LeftoversOfAKilledRunAreRemoved) {
    AddFixture f;
    f.songs.add("1000001", {"Old", "A", "C", ""});
    f.put("LYRICS/1/.dadaz-add-1000002.LYR.tmp", "half");
    f.put("SONG/1/.dadaz-Xy12.tmp", "half");
    f.put("Other/.dadaz-add-9.LYR.tmp", "not ours to judge");
    f.put(".dadaz-add-folders", f.program + "/LYRICS/1\n" + f.program + "/SONG/1\n" + f.program +
                                    "/Other\n" + f.program + "/LYRICS/../Other\n");
    f.newSong("a");
    f.expectAdded(1);
    f.run();
    EXPECT_EQ(f.at("LYRICS/1/1000002.LYR"), f.lyric("a"));
    EXPECT_FALSE(fs::exists(f.program + "/LYRICS/1/.dadaz-add-1000002.LYR.tmp"));
    EXPECT_FALSE(fs::exists(f.program + "/SONG/1/.dadaz-Xy12.tmp"));
    EXPECT_EQ(f.at("Other/.dadaz-add-9.LYR.tmp"), "not ours to judge");
    EXPECT_FALSE(fs::exists(f.program + "/.dadaz-add-folders"));
}

TEST(AddSong, RefusalsBeforeTheCopies) {
    struct Case {
        const char* what;
        std::function<void(AddFixture&)> setUp;
        MessageIcon icon;
        std::string message;
        int leaves;
    };
    const Case cases[] = {
        {"multi-folder",
         [](AddFixture& f) { f.ctx.folders.lyric = f.ctx.folders.cursor = f.ctx.folders.midi; },
         MessageIcon::Critical,
         "ไม่สามารถทำงานต่อได้! เนื่องจากเป็นระบบแฟ้มหลายโฟลเดอร์\n\nกรุณาเลือกที่เก็บแฟ้มใหม่", 0},
        {"no cursor folder", [](AddFixture& f) { fs::remove(f.program + "/CURSOR"); },
         MessageIcon::Critical,
         "ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n\nกรุณาเลือกที่เก็บแฟ้มใหม่", 1},
        {"empty source", [](AddFixture& f) { fs::remove_all(f.source); }, MessageIcon::Exclamation,
         "ไม่พบแฟ้มใด ๆ ในโฟลเดอร์ที่ท่านเลือกเลย...\n\nกรุณาตรวจสอบอีกครั้งว่าท่านได้เลือกโฟลเดอร์ถูกต้องหรือไม่", 1},
        {"two files", [](AddFixture& f) { fs::remove(f.source + "/a.cur"); },
         MessageIcon::Exclamation,
         "เพลงที่ท่านจะเพิ่ม มีระบบแฟ้มไม่สมบูรณ์...\nซึ่งระบบแฟ้มจะต้องมี 3 แฟ้มประกอบกัน เช่น 123.mid, "
         "123.lyr และ 123.cur เป็นต้น",
         1},
        {"no lyric", [](AddFixture& f) { fs::rename(f.source + "/a.lyr", f.source + "/a.txt"); },
         MessageIcon::Exclamation, "โปรแกรมไม่พบแฟ้มที่มีนามสกุล LYR หรือแฟ้ม Lyric เลย, กรุณาตรวจสอบด้วยครับ",
         1},
        {"empty prefix", [](AddFixture& f) { f.options.prefix = ""; }, MessageIcon::Critical,
         "ไม่สามารถทำงานต่อได้! เนื่องจากชื่ออักษรตัวแรกของแฟ้ม \"\" ใช้เป็นชื่อโฟลเดอร์ที่เก็บเพลงไม่ได้\n\n"
         "กรุณาเลือกโฟลเดอร์หรือกำหนดชื่ออักษรตัวแรกใหม่",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddFixture f;
        f.newSong("a");
        c.setUp(f);
        f.prompt.expectAsk(c.icon, MessageButtons::Ok, c.message, Answer::Ok);
        EXPECT_EQ(f.run().status, AddSongResult::Status::Refused);
        EXPECT_EQ(f.leaves, c.leaves);
        EXPECT_FALSE(fs::exists(f.program + "/Log"));
        EXPECT_FALSE(f.state.songsAdded);
    }
}

}  // namespace
}  // namespace dadaz
