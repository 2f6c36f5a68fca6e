#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "gui/window_fixture.h"
#include "shell/tooltips.h"
#include "songlist/kar_texts.h"

using namespace dadaz;
using namespace dadaz::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startsInAddModeWithTheAutomaticTarget() {
        WindowFixture f;
        f.window->show();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("DAD Azar Edizuda"));
        // Fixed, and small enough for a 1366 x 768 screen with a title bar and a panel.
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        QVERIFY(f.window->width() <= 1366 && f.window->height() <= 700);
        QVERIFY(f.get<QRadioButton>("radAutoSelect")->isChecked());
        QVERIFY(f.window->state().folderNameFirst && !f.window->state().makeKarAvailable);
        for (const char* name : {"fraAddSong", "fraRename", "fraLister", "fraFolder"})
            QVERIFY2(f.get(name)->isVisible(), name);
        for (const char* name : {"fraSongSearch", "fraFindDuplicate", "picListerProgress"})
            QVERIFY2(!f.get(name)->isVisible(), name);
    }

    // Until wine can start the Windows converter, the About box says why it is not offered.
    void aWindowsConverterIsOfferedOnlyWithWine() {
        WindowFixture f;
        TempDir bin;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.path()));
        writeBytes(f.program / "makekar.EXE", "MZ");
        f.makeWindow();
        const QString listerCaption = f.get<QLabel>("lblLister")->text();
        QVERIFY(!f.window->state().makeKarAvailable);
        KarConverter needsWine;
        needsWine.state = KarConverter::State::NeedsWine;
        f.prompt.expectInform(
            aboutBoxText() + "\n" + kar_text::converterUnavailable(needsWine) + "\n",
            "เกี่ยวกับ DAD Azar Edizuda");
        f.window->show();
        f.key(Qt::Key_F1);
        checkPrompt(f.prompt);

        for (const char* tool : {"wine", "winepath"}) {
            writeBytes(bin / tool, "#!/bin/sh\n");
            std::filesystem::permissions(bin / tool, std::filesystem::perms::owner_all);
        }
        f.makeWindow();
        qputenv("PATH", oldPath);
        QVERIFY(f.window->state().makeKarAvailable);
        QVERIFY(f.get<QLabel>("lblLister")->text() != listerCaption);
        QCOMPARE(f.get<QLabel>("lblLister")->text(),
                 utf8("สร้างรายการเพลง หรือแฟ้มคาราโอเกะ [*.KAR]"));
    }

    void tooltipsAreTheWindowsHelpTexts() {
        WindowFixture f;
        const std::pair<const char*, const char*> tips[] = {
            {"txtAddSong",
             "ที่เก็บแฟ้มที่จะทำการเพิ่มเพลง\n*** ระบบแฟ้มต้องจะประกอบด้วยแฟ้ม *.mid, *.lyr, *.cur อยู่รวมกัน "
             "***"},
            {"radAutoSelect",
             "ให้โปรแกรมเลือกที่เก็บเพลงให้โดยอัตโนมัติ\n(โปรแกรมจะเลือกโฟลเดอร์ที่มีจำนวนแฟ้มน้อยที่สุดก่อน)"},
            {"radFromFileSelect",
             "ให้โปรแกรมเลือกที่เก็บเพลงให้\nโดยคงไว้ซึ่งลักษณะเดิม ๆ ของแฟ้มเพลงนั้น "
             "ๆ\n(แฟ้มเดิมที่มีชื่อเหมือนกันจะถูกทับด้วยแฟ้มที่เพิ่มเข้าไปใหม่)"},
            {"radManualSelect",
             "กำหนดที่เก็บเพลง ด้วยตัวของท่านเอง\nแฟ้มเพลงใหม่ที่เพิ่มเข้าไปจะถูกเปลี่ยนชื่อโดยอัตโนมัติ "
             "(เมื่อระบบแฟ้มในโฟลเดอร์นั้นเรียงกันสมบูรณ์)\nถ้าระบบแฟ้มในโฟลเดอร์ไม่เรียงกัน "
             "อาจทำให้บางแฟ้มถูกแทนที่ได้\nเนื่องจากการนับจำนวนแฟ้มในโฟลเดอร์ดังกล่าวผิดพลาด "
             "ให้ทำการเปลี่ยนชื่อแฟ้มก่อนหรือรหัสเพลงก่อน"},
            {"txtFirstFileName", "ชื่ออักษรตัวแรกของแฟ้ม\nอ้างอิงตามโฟลเดอร์ที่เก็บ"},
            {"txtLastFileName", "รูปแบบของแฟ้ม\nอ้างอิงตามจำนวนหลัก (0 แทนหลักของตัวเลข)"},
            {"txtRenameDigit", "จำนวนหลักใหม่ของแฟ้มที่ต้องการเปลี่ยน\n*** VID, Tarn ไม่ควรเกิน 8 หลัก ***"},
            {"btnStopRename",
             "ยกเลิกการเปลี่ยนชื่อแฟ้ม\n\n**ข้อควรระวัง**\nการยกเลิกจะทำให้ระบบแฟ้มของท่านเสียหายได้!"},
            {"txtCustomPattern",
             "รูปแบบแฟ้มกำหนดเอง\n*** '0' แทนตัวเลขใด ๆ *** เช่น ABC00000 เป็นต้น\nคลิก 2 "
             "ครั้งเพื่อแสดงตัวเลือกเพิ่มเติม"},
            {"txtSongSearch",
             "พิมพ์สิ่งที่ท่านต้องการค้นหา แล้วกดปุ่ม Enter\n\nแสดงเพลงทั้งหมด  :  กดปุ่ม Enter "
             "โดยไม่ต้องป้อนข้อความใด ๆ ในช่องค้นหา\nค้นหาเฉพาะรหัสเพลง  :  พิมพ์เครื่องหมาย  +  "
             "นำหน้าสิ่งที่ต้องการค้นหา เช่น  +000001\nค้นหาเฉพาะชื่อเพลง  :  พิมพ์เครื่องหมาย  ++  "
             "นำหน้าสิ่งที่ต้องการค้นหา เช่น  ++รักเธอเสมอ\nค้นหาเฉพาะชื่อศิลปิน  :  พิมพ์เครื่องหมาย  +++  "
             "นำหน้าสิ่งที่ต้องการค้นหา เช่น  +++พลพล\nตัวกรองชื่อศิลปิน : พิมพ์ %A แล้วกด Enter"},
            {"lstSongSearch", "คลิกเลือกเพลงที่ต้องการ\nคลิก 2 เพื่อเปิดเพลงด้วยโปรแกรมที่เกี่ยวข้อง"},
            {"radAddRenameLister", "เพิ่มเพลง / เปลี่ยนชื่อเพลง / สร้างรายการเพลง [F3]"},
            {"radSongSearch", "แสดงและค้นหาเพลง [F4]"},
            {"radFindDuplicate", "ค้นหาเพลงซ้ำจากชื่อเพลง [F5]"},
            {"fraCopyRight", "เกี่ยวกับ DAD Azar Edizuda [F1]"},
            {"fraDateTime", "คลิก 2 ครั้งเพื่อทำงานแบบ Always on top. [F2]"},
            {"txtMIDIPath", "ที่เก็บแฟ้ม Midi"},
            {"btnBrowseMIDI", "เลือกที่เก็บแฟ้ม Midi [F9]"},
            {"txtLyricPath", "ที่เก็บแฟ้ม Lyric"},
            {"btnBrowseLyric", "เลือกที่เก็บแฟ้ม Lyric [F10]"},
            {"txtCursorPath", "ที่เก็บแฟ้ม Cursor"},
            {"btnBrowseCursor", "เลือกที่เก็บแฟ้ม Cursor [F11]"},
            {"txtMoveTo", "ที่เก็บแฟ้มที่ไม่เกี่ยวข้อง, ที่โปรแกรมจะทำการย้ายไปไว้"},
            {"btnBrowseMoveTo", "เลือกที่เก็บแฟ้ม ที่ไม่เกี่ยวข้อง [F12]"},
        };
        // Long help texts live in the window's tooltip object, short ones on the controls.
        for (const auto& [name, tip] : tips) {
            QString text = f.window->toolTips().toolText(f.get(name));
            if (text.isEmpty()) text = f.get(name)->toolTip();
            QCOMPARE(text.toUtf8(), QByteArray(tip));
        }
    }

    // Detection itself is the library's; the window shows its notice and fills the boxes.
    void detectionFillsTheFolderBoxesFromItsOwnWindow() {
        WindowFixture f;
        for (const char* name : {"Data", "lyrics", "invalid FILES"})
            std::filesystem::create_directories(f.program / name);
        QString title, notice;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            title = dialog->windowTitle();
            notice = control<QLabel>(dialog, "lblFileSystemCheck")->text();
        });
        f.window->show();
        f.window->runFolderDetection(10);
        QCOMPARE(title, QStringLiteral("File System Checker"));
        QCOMPARE(notice, utf8("กำลังตรวจสอบระบบแฟ้ม..."));
        const std::pair<const char*, std::string> boxes[] = {
            {"txtMIDIPath", f.program / "Data"},
            {"txtLyricPath", f.program / "lyrics"},
            {"txtCursorPath", f.program.path()},
            {"txtMoveTo", f.program / "invalid FILES"},
            {"txtAddSong", f.program / "New Song"}};
        for (const auto& [box, path] : boxes)
            QCOMPARE(f.get<QLineEdit>(box)->text(), QString::fromStdString(path));
    }

    void functionKeysSwitchModesWhenTheirOptionIsEnabled() {
        WindowFixture f;
        int stops = 0, duplicateEntries = 0;
        f.window->hooks().stopPlayback = [&] { ++stops; };
        f.window->hooks().duplicateModeEntered = [&] { ++duplicateEntries; };
        f.window->show();
        auto* search = f.get<QLineEdit>("txtSongSearch");
        search->setText(QStringLiteral("abc"));
        // The keys work wherever the focus is.
        f.key(Qt::Key_F4, f.get("txtMIDIPath"));
        QCOMPARE(f.window->mode(), Mode::SongSearch);
        QCOMPARE(search->cursorPosition(), 0);
        f.key(Qt::Key_F5, search);
        QCOMPARE(f.window->mode(), Mode::FindDuplicate);
        QVERIFY(f.get("fraFindDuplicate")->isVisible() && !f.get("fraSongSearch")->isVisible());
        QCOMPARE(duplicateEntries, 1);
        f.key(Qt::Key_F3);
        QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        QCOMPARE(stops, 3);

        for (const char* name : {"radAddRenameLister", "radSongSearch", "radFindDuplicate"})
            f.get(name)->setEnabled(false);
        for (Qt::Key key : {Qt::Key_F4, Qt::Key_F5}) f.key(key);
        QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        QCOMPARE(stops, 3);
        checkPrompt(f.prompt);
    }

    void f6OpensTheResultWindowOnlyWhenItsButtonIsEnabled() {
        WindowFixture f;
        int opened = 0, duplicateEntries = 0;
        auto* button = f.get<QPushButton>("btnShowNewWindow");
        connect(button, &QPushButton::clicked, [&] { ++opened; });
        f.window->attach({button});
        f.window->hooks().duplicateModeEntered = [&] { ++duplicateEntries; };
        f.key(Qt::Key_F6);
        QCOMPARE(opened, 0);
        QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        button->setEnabled(true);
        f.key(Qt::Key_F6);
        QCOMPARE(f.window->mode(), Mode::FindDuplicate);
        // Already in duplicate mode: its handler still runs first.
        f.key(Qt::Key_F6);
        QCOMPARE(duplicateEntries, 2);
        QCOMPARE(opened, 2);
    }

    void f2AndADoubleClickOnTheClockSwitchAlwaysOnTop() {
        WindowFixture f;
        f.window->show();
        auto* clock = f.get("fraDateTime");
        const QString firstTip = clock->toolTip();
        f.key(Qt::Key_F2);
        QVERIFY(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(f.window->isVisible());
        QCOMPARE(clock->toolTip(), utf8("คลิก 2 ครั้งเพื่อยกเลิกการทำงานแบบ Always on top. [F2]"));
        f.key(Qt::Key_F2);
        QVERIFY(!f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(clock->toolTip(), firstTip);
        QTest::mouseDClick(clock, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(f.window->alwaysOnTop());
    }

    void f7AndF8ToggleTheSearchOptionsEvenWhenDisabled() {
        WindowFixture f;
        const std::pair<Qt::CheckState, Qt::CheckState> toggles[] = {
            {Qt::Unchecked, Qt::Checked},
            {Qt::Checked, Qt::Unchecked},
            {Qt::PartiallyChecked, Qt::Checked}};
        for (auto [name, key] :
             {std::pair{"chkSearchAll", Qt::Key_F7}, {"chkSearchLyric", Qt::Key_F8}}) {
            auto* box = f.get<QCheckBox>(name);
            box->setEnabled(false);
            for (auto [before, after] : toggles) {
                box->setCheckState(before);
                f.key(key);
                QCOMPARE(box->checkState(), after);
            }
        }
    }

    void aboutBoxOnF1AndOnAClickOnTheCopyright() {
        WindowFixture f;
        f.window->show();
        const std::string text = aboutBoxText();
        QVERIFY(text.starts_with("DAD Azar Edizuda 5.3.138\n\n"));
        QVERIFY(text.find("\nโปรแกรมนี้มีไว้สำหรับจัดการระบบแฟ้มของโปรแกรม MIDI Karaoke\n"
                          "และอำนวยความสะดวกอื่น ๆ เกี่ยวกับ Midi Karaoke ในรูปแบบของ VID\n"
                          "โดยแจกจ่ายให้ใช้ฟรี!\n") != std::string::npos);
        f.prompt.expectInform(text, "เกี่ยวกับ DAD Azar Edizuda")
            .expectInform(text, "เกี่ยวกับ DAD Azar Edizuda");
        f.key(Qt::Key_F1);
        QTest::mouseClick(f.get("fraCopyRight"), Qt::LeftButton, {}, QPoint(10, 10));
        checkPrompt(f.prompt);
    }

    void clockShowsDayMonthYearThenHoursMinutesSeconds() {
        WindowFixture f;
        int ticks = 0;
        f.window->hooks().playbackTick = [&] { ++ticks; };
        f.window->setClock([] { return QDateTime(QDate(2024, 3, 7), QTime(9, 41, 5)); });
        f.window->clockTick();
        QCOMPARE(f.get<QGroupBox>("fraDateTime")->title(), QStringLiteral("07/03/2024 09:41:05"));
        QCOMPARE(ticks, 1);
    }

    void timer3CountsTheMarkedDuplicateLines() {
        WindowFixture f;
        auto* list = f.get<QListWidget>("lstSearchResult");
        for (int i = 0; i < 1200; ++i) list->addItem(QStringLiteral("%1;T;A;C").arg(i));
        for (int i = 0; i < 1001; ++i) list->item(i)->setSelected(true);
        f.window->armSelectedCountTimer();
        QTRY_COMPARE(f.get<QLabel>("lblSelectedCount")->text(), utf8("1,001 เพลง"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
