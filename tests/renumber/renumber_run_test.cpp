// Renumbering runs on small libraries: every file ends where it should with its own bytes,
// the questions and messages come in order, word for word.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "renumber/renumber_run.h"
#include "songlist/songlist_fixture.h"

namespace dadaz::testing {
namespace {

struct Question {
    MessageIcon icon;
    MessageButtons buttons;
    std::string text;
    Answer answer;
};

Question backup() {
    return {MessageIcon::Question, MessageButtons::YesNo,
            "ก่อนทำการเปลี่ยนชื่อแฟ้ม ท่านควรสำรองข้อมูลของท่านเก็บไว้ก่อน\n\nท่านต้องการดำเนินการต่อ?",
            Answer::Yes};
}
Question already(int digits, Answer answer = Answer::Yes) {
    return {
        MessageIcon::Question, MessageButtons::YesNo,
        "ตรวจพบแฟ้มที่มี " + std::to_string(digits) + " หลัก อยู่แล้ว\n\nท่านต้องการทำการเปลี่ยนชื่อแฟ้มต่อหรือไม่?",
        answer};
}
Question notice(const std::string& text) {
    return {MessageIcon::Information, MessageButtons::Ok, text, Answer::Ok};
}
Question critical(const std::string& text) {
    return {MessageIcon::Critical, MessageButtons::Ok, text, Answer::Ok};
}
// The final message; `extra` follows the counts.
Question finished(int midi, int lyric, int cursor, const std::string& extra = "") {
    return notice("เปลี่ยนชื่อแฟ้มเสร็จแล้ว...\n\nพบแฟ้ม MIDI : " + std::to_string(midi) +
                  " แฟ้ม\nพบแฟ้ม Lyric : " + std::to_string(lyric) +
                  " แฟ้ม\nพบแฟ้ม Cursor : " + std::to_string(cursor) + " แฟ้ม" + extra);
}

const char* const kKinds[] = {"SONG/%.MID", "LYRICS/%.LYR", "CURSOR/%.CUR"};

// A song file's path: `kind` with its code, in the folder named by `folder`'s first character.
std::string path(std::string kind, const std::string& code, const std::string& folder) {
    return kind.replace(kind.find('%'), 1, folder.substr(0, 1) + "/" + code);
}

// The three files of songs in first-character folders.
std::vector<std::string> triples(std::initializer_list<const char*> codes) {
    std::vector<std::string> files;
    for (const char* code : codes)
        for (const char* kind : kKinds) files.push_back(path(kind, code, code));
    return files;
}

// Where each original file ends: the songs' triples {old code, new code} in their folder, and
// the files that go aside to "Invalid Files".
std::map<std::string, std::string> renamed(
    std::initializer_list<std::pair<const char*, const char*>> codes,
    std::initializer_list<std::string> aside = {}) {
    std::map<std::string, std::string> moves;
    for (const auto& [from, to] : codes)
        for (const char* kind : kKinds) moves[path(kind, to, from)] = path(kind, from, from);
    for (const std::string& file : aside)
        moves["Invalid Files/" + file.substr(file.rfind('/') + 1)] = file;
    return moves;
}

struct Case {
    const char* name;
    RenumberSettings settings;
    std::vector<std::string> files;
    std::vector<Question> script;
    std::map<std::string, std::string> moved;  // final path <- original path; others stay
    RenumberResult::Status status = RenumberResult::Status::Completed;
    const char* lyricFolder = "LYRICS";
};

RenumberSettings digits(const char* count) {
    RenumberSettings settings;
    settings.digitText = count;
    settings.patternText = std::string(std::stoul(count), '0');
    return settings;
}
RenumberSettings pattern(const char* text, bool folderFirst = true) {
    RenumberSettings settings;
    settings.customPattern = true;
    settings.patternText = text;
    settings.digitText = std::to_string(std::string(text).size());
    settings.folderNameFirst = folderFirst;
    return settings;
}
RenumberSettings leave(const char* count, const char* kept) {
    RenumberSettings settings = digits(count);
    settings.leaveDigit = true;
    settings.leaveText = kept;
    return settings;
}
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class RenumberRunTest : public ::testing::TestWithParam<Case> {};

std::map<std::string, std::string> tree(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), root).string()] =
                readBytes(entry.path().string());
    }
    return files;
}

TEST_P(RenumberRunTest, FilesEndWhereTheyShouldWithTheirBytes) {
    const Case& c = GetParam();
    LibraryFixture lib;
    for (const std::string& file : c.files) writeBytes(lib.program + "/" + file, file);
    lib.ctx.folders.lyric = lib.program + "/" + c.lyricFolder;
    for (Question q : c.script) {
        if (const auto at = q.text.find("%MOVETO%"); at != std::string::npos)
            q.text.replace(at, 8, lib.ctx.folders.moveTo);
        lib.prompt.expectAsk(q.icon, q.buttons, q.text, q.answer);
    }

    EXPECT_EQ(runRenumber(lib.ctx, c.settings).status, c.status);
    EXPECT_TRUE(lib.prompt.finished()) << "questions left unasked";

    std::map<std::string, std::string> expected;
    for (const std::string& file : c.files) expected[file] = file;
    for (const auto& [to, from] : c.moved) expected.erase(from);
    for (const auto& [to, from] : c.moved) expected[to] = from;
    EXPECT_EQ(tree(lib.program), expected);
    EXPECT_EQ(lib.state.songsRenamed, c.status == RenumberResult::Status::Completed);
}

// "%MOVETO%" stands for the fixture's move-to folder, under its temporary program folder.
const std::string kMoved = "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่ %MOVETO%";

INSTANTIATE_TEST_SUITE_P(
    Cases, RenumberRunTest,
    ::testing::Values(
        // 1234 is out of the way first; the three take new codes in listing order, a file of
        // another kind goes aside.
        Case{"DigitCount4",
             digits("4"),
             triples({"15", "123", "1234"}) + std::vector<std::string>{"SONG/1/notes.TXT"},
             {backup(), already(4), finished(3, 3, 3, kMoved)},
             renamed({{"123", "1001"}, {"1234", "1002"}, {"15", "1003"}}, {"SONG/1/notes.TXT"})},
        // An incomplete song goes aside without using up a number.
        Case{"MissingMidi",
             digits("6"),
             std::vector<std::string>{"LYRICS/1/11.LYR", "CURSOR/1/11.CUR"} + triples({"13"}),
             {backup(), finished(1, 1, 1)},
             renamed({{"13", "100001"}}, {"LYRICS/1/11.LYR", "CURSOR/1/11.CUR"})},
        Case{"PatternFolderFirst",
             pattern("ABC000"),
             triples({"21", "22"}),
             {backup(), finished(2, 2, 2)},
             renamed({{"21", "2ABC001"}, {"22", "2ABC002"}})},
        Case{"PatternFolderAfter",
             pattern("ABC000", false),
             triples({"21", "22"}),
             {backup(), finished(2, 2, 2)},
             renamed({{"21", "ABC2001"}, {"22", "ABC2002"}})},
        Case{"InvalidPattern",
             pattern("A0B00"),
             triples({"21"}),
             {backup(),
              critical(
                  "ท่านกำหนดรูปแบบไม่ถูกต้อง!!!\n\nรูปแบบที่ถูกต้อง จะต้องไม่มีตัวเลขคั่นระหว่างตัวอักษร เช่น ABC00000 "
                  "เป็นต้น")},
             {},
             RenumberResult::Status::Refused},
        // A code shorter than the kept characters would make a code too short for the
        // checking pass, which would move the song out of the library: it keeps its code.
        Case{
            "LeaveTwo",
            leave("4", "2"),
            triples({"1298", "17", "1"}),
            {backup(), already(4),
             finished(2, 2, 2, "\n\nเพลงที่ไม่ได้เปลี่ยนรหัส เพราะมีแฟ้มอื่นใช้ชื่อใหม่อยู่แล้ว : 1 เพลง\n     1/1")},
            renamed({{"1298", "1201"}, {"17", "1702"}})},
        // A stale temporary name: the song keeps its code rather than lose one file's way.
        Case{"TemporaryNameTaken",
             digits("4"),
             triples({"1234", "15"}) + std::vector<std::string>{"CURSOR/1/1234TEMP.CUR"},
             {backup(), already(4),
              finished(2, 2, 2,
                       kMoved +
                           "\n\nเพลงที่ไม่ได้เปลี่ยนรหัส เพราะมีแฟ้มอื่นใช้ชื่อใหม่อยู่แล้ว : 1 เพลง\n     1/1234")},
             renamed({{"15", "1001"}}, {"CURSOR/1/1234TEMP.CUR"})},
        Case{"Capacity99",
             digits("3"),
             [] {
                 std::vector<std::string> files;
                 for (int i = 0; i < 100; ++i)
                     files.push_back("SONG/1/1" + std::to_string(i) + ".MID");
                 return files;
             }(),
             {backup(),
              critical("ไม่สามารถทำงานต่อได้!!!\n\nเนื่องจากจำนวนแฟ้มในแต่ละโฟล์เดอร์มากกว่าค่าจำนวนหลักที่ตั้งไว้ "
                       "คือ 99 แฟ้ม")},
             {},
             RenumberResult::Status::Refused},
        Case{"MoreThanEight",
             digits("9"),
             triples({"15"}),
             {backup(),
              {MessageIcon::Exclamation, MessageButtons::YesNo,
               "ท่านได้กำหนดหลักในการเปลี่ยนชื่อแฟ้ม มากกว่า 8 หลัก\n     ซึ่งจะทำให้โปรแกรมที่ทำงานในระบบ DOS "
               "เช่น VID, "
               "Tarn, Sunbird! ไม่สามารถอ่านแฟ้มได้\n\nท่านต้องการดำเนินการเปลีื่ยนชื่อแฟ้มต่อหรือไม่?",
               Answer::Yes},
              finished(1, 1, 1)},
             renamed({{"15", "100000001"}})},
        // Declined before anything moved: not even the file of another kind.
        Case{
            "AlreadyDigitsDeclined",
            digits("4"),
            triples({"1234", "15"}) + std::vector<std::string>{"SONG/1/notes.TXT"},
            {backup(), already(4, Answer::No),
             notice("ท่านสามารถเปลี่ยนชื่อแฟ้มเป็นจำนวนหลักอื่น ๆ ก่อน\nโดยที่ท่านสามารถกลับมาเปลี่ยนชื่อแฟ้มเป็น 4 หลัก "
                    "ต่อได้...")},
            {},
            RenumberResult::Status::Refused},
        // A new name taken by a file put there by hand: the songs keep their codes whole.
        Case{"NewNameTaken",
             pattern("ABC000"),
             triples({"21", "22"}) + std::vector<std::string>{"SONG/2/2ABC001.MID"},
             {backup(),
              finished(
                  1, 0, 0,
                  "\n\nเพลงที่ไม่ได้เปลี่ยนรหัส เพราะมีแฟ้มอื่นใช้ชื่อใหม่อยู่แล้ว : 2 เพลง\n     2/21\n     2/22")},
             {}},
        // The MIDI and Lyric folders given as one folder in another case: the MIDI pass would
        // move every lyric file away as a file of another kind.
        Case{"TwoKindsInOneFolder",
             digits("6"),
             triples({"15"}) + std::vector<std::string>{"SONG/1/15.LYR"},
             {backup(), critical("ไม่สามารถทำงานต่อได้!\nเนื่องจากที่เก็บแฟ้ม MIDI, Lyric และ Cursor "
                                 "จะต้องเป็นคนละโฟลเดอร์กัน\n\n"
                                 "กรุณาเลือกที่เก็บแฟ้มใหม่")},
             {},
             RenumberResult::Status::Refused,
             "song"}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dadaz::testing
