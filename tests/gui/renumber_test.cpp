// The rename frame: its settings' coupling, the folder-name question, a whole run through the
// window with its messages, and a stop whose remaining renames the next start completes.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <map>
#include <set>

#include "gui/window_fixture.h"
#include "renumber/gui/renumber_controller.h"
#include "support/answering_prompt.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

// Each song's three files, by folder name and stem, with the first bytes of each.
std::map<std::string, std::string> songs(const GeneratedLibrary& library) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> found;
    for (const auto& sub : fs::directory_iterator(library.lyricFolder)) {
        if (!sub.is_directory()) continue;
        const std::string c = sub.path().filename().string();
        for (const auto& file : fs::directory_iterator(sub.path())) {
            const std::string stem = file.path().stem().string();
            const std::string midi = library.midiFolder + "/" + c + "/" + stem + ".MID";
            const std::string cursor = library.cursorFolder + "/" + c + "/" + stem + ".CUR";
            if (fs::exists(midi) && fs::exists(cursor))
                found[c + "/" + stem] =
                    readBytes(midi) + readBytes(file.path().string()) + readBytes(cursor);
        }
    }
    return found;
}

// The triples' bytes alone: what must survive a renumbering, whatever the codes.
std::multiset<std::string> contents(const std::map<std::string, std::string>& songs) {
    std::multiset<std::string> bytes;
    for (const auto& [code, content] : songs) bytes.insert(content);
    return bytes;
}

}  // namespace

class RenumberTest : public QObject {
    Q_OBJECT
  private slots:
    void patternAndLeaveDigitExcludeEachOther() {
        WindowFixture f;
        attachRenumber(*f.window);
        RenamePanel* panel = f.window->renamePanel();
        panel->chkLeaveDigit->setChecked(true);
        QVERIFY(panel->txtLeaveDigit->isEnabled());
        panel->chkCustomPattern->setChecked(true);
        QVERIFY(panel->txtCustomPattern->isEnabled() && !panel->chkLeaveDigit->isChecked() &&
                !panel->chkLeaveDigit->isEnabled() && !panel->txtLeaveDigit->isEnabled());
        panel->txtCustomPattern->setText(QStringLiteral("ABC0000"));
        QCOMPARE(panel->txtRenameDigit->text(), QStringLiteral("7"));
        panel->chkCustomPattern->setChecked(false);
        QVERIFY(!panel->txtCustomPattern->isEnabled() && panel->chkLeaveDigit->isEnabled());
    }

    void digitCountIsChecked_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pattern");  // empty: refused with the message
        QTest::newRow("five") << QString("5") << QString("00000");
        for (const char* typed : {"0", "2.5", "abc", ""})
            QTest::newRow(typed) << QString(typed) << QString();
    }
    void digitCountIsChecked() {
        QFETCH(QString, typed);
        QFETCH(QString, pattern);
        WindowFixture f;
        attachRenumber(*f.window);
        f.showActive();
        RenamePanel* panel = f.window->renamePanel();
        if (pattern.isEmpty()) {
            f.prompt.expectAsk(
                MessageIcon::Critical, MessageButtons::Ok,
                "กรุณาป้อนจำนวนหลักใหม่!\n\n*จำนวนหลักจะต้องเป็นเลขจำนวนเต็มเท่านั้น และต้องไม่เท่ากับ 0",
                Answer::Ok);
        }
        panel->txtRenameDigit->setFocus();
        panel->txtRenameDigit->setText(typed);
        QTest::keyClick(panel->txtRenameDigit, Qt::Key_Return);
        QCOMPARE(panel->txtCustomPattern->text(),
                 pattern.isEmpty() ? QStringLiteral("000000") : pattern);
        if (pattern.isEmpty()) QVERIFY(panel->txtRenameDigit->hasFocus());
        checkPrompt(f.prompt);
    }

    void doubleClickAsksWhereTheFolderNameGoes() {
        WindowFixture f;
        attachRenumber(*f.window);
        f.showActive();
        RenamePanel* panel = f.window->renamePanel();
        panel->chkCustomPattern->setChecked(true);
        const std::string question =
            "กำหนดรูปแบบแฟ้ม\n\nYes (Default)  ชื่อโฟลเดอร์นำหน้ารูปแบบที่กำหนด เช่น 0ABCxxxx\nNo  "
            "ชื่อโฟลเดอร์ตามหลังรูปแบบที่กำหนด เช่น ABC0xxxx\n\n*** 0 คือชื่อโฟลเดอร์";
        f.prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo, question, Answer::No);
        f.prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo, question, Answer::Yes);
        QTest::mouseDClick(panel->txtCustomPattern, Qt::LeftButton);
        QVERIFY(!f.window->state().folderNameFirst);
        QTest::mouseDClick(panel->txtCustomPattern, Qt::LeftButton);
        QVERIFY(f.window->state().folderNameFirst);
        checkPrompt(f.prompt);
    }

    // A stop asked for during pass 1 takes effect before the first song is renamed; the
    // journal stays and the next start completes the run: every song whole under a new code.
    void stopLeavesWhatTheNextStartCompletes() {
        BasicWindowFixture<AnsweringPrompt> f;
        attachRenumber(*f.window);
        GeneratedLibrary& library = f.makeLibrary({.songs = 300, .extras = false});
        const auto before = contents(songs(library));
        QTimer::singleShot(0, f.get<QPushButton>("btnStopRename"), &QPushButton::click);
        f.get<QPushButton>("btnRename")->click();

        const std::vector<std::string> messages{
            "คำเตือน!\nถ้าท่านยกเลิกการเปลี่ยนชื่อแฟ้ม อาจจะทำให้ระบบแฟ้มของท่านเสียหายได้\n\n"
            "ท่านต้องการยกเลิกการเปลี่ยนชื่อแฟ้ม?",
            "หยุดการเปลี่ยนชื่อแฟ้มแล้ว\n\nเพลงที่ยังเปลี่ยนชื่อไม่เสร็จ จะถูกเปลี่ยนชื่อต่อจนเสร็จ\n"
            "เมื่อเปิดโปรแกรมครั้งต่อไป หรือเมื่อเริ่มเปลี่ยนชื่อแฟ้มครั้งต่อไป"};
        QVERIFY(f.prompt.shown.size() >= 2);
        const std::vector<std::string> texts = f.prompt.texts();
        QCOMPARE(std::vector<std::string>(texts.end() - 2, texts.end()), messages);
        QVERIFY(std::filesystem::exists(f.program / "Renumber.journal"));
        QVERIFY(!f.get<QPushButton>("btnRename")->isHidden());
        const auto stopped = songs(library);
        QCOMPARE(contents(stopped), before);  // whole songs, some under temporary names
        QVERIFY(std::any_of(stopped.begin(), stopped.end(),
                            [](const auto& song) { return song.first.ends_with("TEMP"); }));

        f.prompt.shown.clear();
        f.makeWindow();
        attachRenumber(*f.window);
        f.window->hooks().completeInterruptedRuns();
        const auto after = songs(library);
        QCOMPARE(contents(after), before);
        for (const auto& [code, bytes] : after) QVERIFY2(code.size() == 2 + 6, code.c_str());
        QVERIFY(!std::filesystem::exists(f.program / "Renumber.journal"));
        QCOMPARE(f.prompt.shown.size(), std::size_t{1});
        QVERIFY(f.prompt.shown[0].text.starts_with("พบการเปลี่ยนชื่อแฟ้มที่ยังทำไม่เสร็จจากครั้งก่อน"));
        QVERIFY(f.window->state().songsRenamed);
    }
};

QTEST_MAIN(RenumberTest)
#include "renumber_test.moc"
