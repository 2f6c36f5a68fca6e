#include <QTimer>
#include <filesystem>
#include <functional>

#include "addsong/add_options.h"
#include "addsong/gui/add_song_controller.h"
#include "gui/window_fixture.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::readBytes;
using dadaz::testing::writeBytes;

namespace {

const char* const kStart =
    "ก่อนทำการเพิ่มเพลง ท่านควรตรวจดูระบบแฟ้มก่อนว่า มีแฟ้มครบทั้ง 3 ชนิดหรือไม่\n"
    "ประกอบด้วย *.mid, *.lyr, *.cur อยู่รวมกันในโฟลเดอร์ที่ท่านเลือก\n\nท่านต้องการดำเนินการต่อหรือไม่?";
const char* const kPickerTitle = "เลือกที่เก็บแฟ้ม";

struct AddFixture : dadaz::testing::WindowFixture {
    AddSongPanel& panel() { return *window->addSongPanel(); }
    void attach() { attachAddSong(*window); }
    // A library of empty files: MIDI sub-folders "0" (3 files), "1" and "2" (2 files each).
    void smallLibrary() {
        for (const char* name : {"0/0001.MID", "0/0002.MID", "0/0003.MID", "1/100001.MID",
                                 "1/100002.MID", "2/20001.MID", "2/20002.MID"}) {
            writeBytes(program / "SONG/" + name, "");
        }
        std::filesystem::create_directories(program / "LYRICS");
        std::filesystem::create_directories(program / "CURSOR");
        window->folderPanel()->setFolders(
            {program / "SONG", program / "LYRICS", program / "CURSOR", program / "Invalid Files"});
    }
    std::string text(QLineEdit* box) { return box->text().toStdString(); }
};

}  // namespace

class AddSongTest : public QObject {
    Q_OBJECT

  private slots:
    void targetsAndTheCustomPatternBoxGoTogether() {
        AddFixture f;
        f.smallLibrary();
        f.attach();
        AddSongPanel& p = f.panel();
        QVERIFY(p.radAutoSelect->isChecked() && !p.txtFolderSelect->isEnabled() &&
                p.chkManualConfig->isEnabled() && !p.txtFirstFileName->isEnabled() &&
                !p.btnAddSong->isEnabled());

        p.chkManualConfig->click();  // the fewest files, the earlier of "1" and "2"
        QVERIFY(p.txtFirstFileName->isEnabled() && p.txtLastFileName->isEnabled());
        QCOMPARE(f.text(p.txtFirstFileName), std::string("1"));
        QCOMPARE(f.text(p.txtLastFileName), std::string("00000"));
        p.chkManualConfig->click();
        QVERIFY(!p.txtFirstFileName->isEnabled() && f.text(p.txtLastFileName) == "00000");

        p.radManualSelect->click();
        QVERIFY(p.txtFolderSelect->isEnabled() && p.chkManualConfig->isEnabled());
        QTest::keyClicks(p.txtFolderSelect, "2");
        QCOMPARE(f.text(p.txtFirstFileName), std::string("2"));
        emit p.txtFolderSelect->editingFinished();
        QVERIFY(!p.chkManualConfig->isChecked() && f.text(p.txtLastFileName) == "0000");

        // Keep-names: "?" and no pattern; only a chosen source folder enables the add button.
        p.radFromFileSelect->click();
        QVERIFY(!p.txtFolderSelect->isEnabled() && !p.chkManualConfig->isEnabled());
        f.prompt.expectPickFolder(kPickerTitle, "")
            .expectPickFolder(kPickerTitle, f.program / "In");
        p.btnBrowseNewSong->click();
        QVERIFY(!p.btnAddSong->isEnabled() && f.text(p.txtFirstFileName) == "2");
        p.btnBrowseNewSong->click();
        QCOMPARE(f.text(p.txtAddSong), f.program / "In");
        QVERIFY(p.btnAddSong->isEnabled() && !p.chkManualConfig->isChecked());
        QVERIFY(f.text(p.txtFirstFileName) == "?" && f.text(p.txtLastFileName).empty());
        checkPrompt(f.prompt);
    }

    void automaticPatternKeepsItsLength() {
        AddFixture f;
        f.smallLibrary();
        f.attach();
        f.showActive();
        AddSongPanel& p = f.panel();
        p.chkManualConfig->click();
        p.txtLastFileName->setFocus();
        QTRY_VERIFY(p.txtLastFileName->hasFocus());
        p.txtLastFileName->selectAll();
        QTest::keyClicks(p.txtLastFileName, "0000");
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           "ท่านไม่สามารถตั้งรหัสให้ยาวหรือสั่นกว่า 5 ตัวอักษรได้\n"
                           "เนื่องจากความยาวรหัสเพลงในโฟลเดอร์ที่จะเพิ่มเข้าไปมี 6 ตัวอักษร",
                           Answer::Ok);
        p.txtFirstFileName->setFocus();
        QTRY_VERIFY(p.txtLastFileName->hasFocus());
        checkPrompt(f.prompt);
        // Back in the box, the kept length is still the old one; the same length passes.
        QTest::keyClicks(p.txtLastFileName, "1");
        p.txtFirstFileName->setFocus();
        QTRY_VERIFY(p.txtFirstFileName->hasFocus());
        checkPrompt(f.prompt);
    }

    void aWholeRunAddsListsAndEndsIdle() {
        AddFixture f;
        f.makeLibrary({.songs = 60, .newSongs = 3, .sequential = true, .threads = 1});
        f.attach();
        AddSongPanel& p = f.panel();
        f.prompt.expectPickFolder(kPickerTitle, f.library.newSongFolder);
        p.btnBrowseNewSong->click();
        const std::string prefix = f.text(p.txtFirstFileName);
        const auto count = std::distance(
            std::filesystem::directory_iterator(f.library.lyricFolder + "/" + prefix), {});

        bool busy = false;
        f.prompt.beforeAsk = [&](const std::string& text) {
            if (text.starts_with("เพิ่มเพลงเสร็จแล้ว")) {
                busy = f.window->busyState().busy() && !f.get("btnLister")->isEnabled();
            }
        };
        f.prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo, kStart, Answer::Yes);
        f.prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo,
                           "เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด 3 เพลง\n\n"
                           "ท่านต้องการเปิดดูรายชื่อเพลงที่เพิ่มเข้าไปหรือไม่?",
                           Answer::Yes);
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                           "ท่านต้องการสร้างรายการเพลงใหม่หรือไม่", Answer::No);
        p.btnAddSong->click();
        checkPrompt(f.prompt);

        for (long k = 1; k <= 3; ++k) {
            const std::string code = prefix + formatNumber(count + k, "00000");
            QCOMPARE(readBytes(f.library.lyricFolder + "/" + prefix + "/" + code + ".LYR"),
                     readBytes(f.library.newSongs[k - 1].lyricPath));
        }
        QVERIFY(busy && !f.window->busyState().busy() && !p.btnAddSong->isEnabled());
        QCOMPARE(p.picAddSongProgress->shownText(), QString::fromUtf8("เพิ่มเพลงใหม่ 100 %"));
        QCOMPARE(p.picAddSongProgress->color(), QColor(255, 255, 192));
        QVERIFY(f.launcher.calls.size() == 1 &&
                f.launcher.calls[0].program == f.program / "NewSong.txt");
        QVERIFY(f.window->state().songsAdded && !f.window->state().songListCurrent);
    }
};

QTEST_MAIN(AddSongTest)
#include "add_song_test.moc"
