#include <filesystem>

#include "app/features.h"
#include "catalogue/song_line.h"
#include "gui/window_fixture.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;

namespace {

const char* const kPickerTitle = "เลือกที่เก็บเพลงที่จะส่งออก";

// A generated library listed in the search mode; every song line shown.
struct ExportFixture : dadaz::testing::WindowFixture {
    ExportFixture() {
        makeLibrary({.songs = 30, .newSongs = 0, .extras = false});
        attachFeatures(*window);
        showActive();
        listAllSongs();
        std::filesystem::create_directories(out);
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    std::string code(int row) {
        return std::string(splitSongLine(panel()->lstSongSearch->lines().at(row)).code);
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        SongLineList* list = panel()->lstSongSearch;
        list->scrollTo(list->lineModel()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->lineModel()->index(row)).center());
    }
    void exportNow() { QTest::mouseClick(panel()->btnExportSong, Qt::LeftButton); }
    std::string done() {
        return "เพลงที่ท่านเลือก ได้ถูกส่งออกไปยังโฟลเดอร์ \n     " + out + "\n           เรียบร้อยแล้ว...";
    }
    bool has(const std::string& path) { return std::filesystem::exists(out + "/" + path); }

    std::string out = program / "export here";
};

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

  private slots:
    void pickerQuestionsCopiesAndTheClosingMessage() {
        ExportFixture f;
        f.clickRow(2);
        f.prompt.expectPickFolder(kPickerTitle, "");
        f.exportNow();
        QCOMPARE(f.prompt.lastStartFolder(), f.program.path());
        QVERIFY(std::filesystem::is_empty(f.out));
        QCOMPARE(QApplication::focusWidget(), f.panel()->txtSongSearch);

        // Two songs, all three files in the library's structure: the questions come once.
        const std::string a = f.code(2), b = f.code(3);
        f.clickRow(3, Qt::ControlModifier);
        f.prompt.expectPickFolder(kPickerTitle, f.out)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       "เลือกรูปแบบแฟ้มที่จะทำการส่งออก...\n\nYes : ส่งออกทั้ง 3 แฟ้ม (MIDI, Lyric, "
                       "Cursor)\nNo  : ส่งออกเฉพาะแฟ้ม MIDI",
                       Answer::Yes)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       "ท่านต้องการสร้างโฟลเดอร์ระบบแฟ้มที่จะส่งออกหรือไม่?", Answer::Yes)
            .expectInform(f.done());
        f.exportNow();
        checkPrompt(f.prompt);
        for (const std::string& code : {a, b}) {
            const std::string c = code.substr(0, 1);
            for (const std::string& file :
                 {"SONG/" + c + "/" + code + ".MID", "LYRICS/" + c + "/" + code + ".LYR",
                  "CURSOR/" + c + "/" + code + ".CUR"})
                QVERIFY2(f.has(file), file.c_str());
        }
        QVERIFY(!f.has(a + ".MID"));

        // The second export starts at the first one's folder; a copy that fails is named.
        f.clickRow(5);
        const std::string code = f.code(5);
        std::filesystem::create_directories(f.out + "/" + code + ".MID");
        f.prompt.expectPickFolder(kPickerTitle, f.out)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       "เลือกรูปแบบแฟ้มที่จะทำการส่งออก...\n\nYes : ส่งออกทั้ง 3 แฟ้ม (MIDI, Lyric, "
                       "Cursor)\nNo  : ส่งออกเฉพาะแฟ้ม MIDI",
                       Answer::No)
            .expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                       "เพลงที่ท่านเลือก ได้ถูกส่งออกไปยังโฟลเดอร์ \n     " + f.out +
                           "\n           ได้ไม่ครบ!\n\nส่งออกไม่ได้ 1 รายการ\n     " + code +
                           ": คัดลอกแฟ้ม " + code + ".MID ไม่สำเร็จ",
                       Answer::Ok);
        f.exportNow();
        QCOMPARE(f.prompt.lastStartFolder(), f.out);
        QVERIFY(std::filesystem::is_directory(f.out + "/" + code + ".MID"));
        QVERIFY(!f.has(code + ".LYR"));
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
