#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <filesystem>

#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "shell/tooltips.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::control;
using dadaz::testing::utf8;

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    struct Fixture {
        dadaz::testing::TempDir program;
        dadaz::testing::ScriptedPrompt prompt;
        dadaz::testing::RecordingSettings settings;
        dadaz::testing::RecordingLauncher launcher;
        std::unique_ptr<MainWindow> window;
        int stops = 0;
        Fixture() {
            window = std::make_unique<MainWindow>(program.path());
            window->setPrompt(prompt);
            window->setSettingsStore(settings);
            window->setLauncher(launcher);
            window->hooks().stopPlayback = [this] { ++stops; };
            window->show();
        }
        template <typename Control>
        Control* get(const char* name) {
            return control<Control>(window.get(), name);
        }
        void key(int key, QWidget* target = nullptr) {
            QTest::keyClick(target ? target : window.get(), static_cast<Qt::Key>(key));
        }
    };

  private slots:
    void everyNamedControlIsThereOnce() {
        Fixture f;
        const char* names[] = {"fraSelector",
                               "fraFolder",
                               "fraMain",
                               "fraDateTime",
                               "fraCopyRight",
                               "fraAddSong",
                               "fraRename",
                               "fraLister",
                               "fraSongSearch",
                               "fraFindDuplicate",
                               "radAddRenameLister",
                               "radSongSearch",
                               "radFindDuplicate",
                               "lblMIDIPath",
                               "lblLyricPath",
                               "lblCursorPath",
                               "lblMoveTo",
                               "txtMIDIPath",
                               "txtLyricPath",
                               "txtCursorPath",
                               "txtMoveTo",
                               "btnBrowseMIDI",
                               "btnBrowseLyric",
                               "btnBrowseCursor",
                               "btnBrowseMoveTo",
                               "lblAddSong",
                               "txtAddSong",
                               "btnBrowseNewSong",
                               "lblSelectFolder",
                               "radAutoSelect",
                               "radManualSelect",
                               "radFromFileSelect",
                               "txtFolderSelect",
                               "chkManualConfig",
                               "txtFirstFileName",
                               "txtLastFileName",
                               "btnAddSong",
                               "lblAddSongProgress",
                               "picAddSongProgress",
                               "txtRenameDigit",
                               "chkCustomPattern",
                               "txtCustomPattern",
                               "chkLeaveDigit",
                               "txtLeaveDigit",
                               "btnRename",
                               "btnStopRename",
                               "lblRenameProgress",
                               "picRenameProgress",
                               "lblLister",
                               "btnLister",
                               "btnStopLister",
                               "lblListerProgress",
                               "picListerProgress",
                               "lblOperate",
                               "lblCurrentSong",
                               "txtSongSearch",
                               "chkSearchAll",
                               "chkSearchLyric",
                               "btnCancelSearch",
                               "cboArtist",
                               "lstSongSearch",
                               "lblSongSearchResult",
                               "txtLoadingSong",
                               "btnPreviousPage",
                               "lblPage",
                               "btnNextPage",
                               "txtSongContent",
                               "lstSongContent",
                               "txtEditLyric",
                               "btnAcceptEdit",
                               "txtBeforeEdit",
                               "txtAfterEdit",
                               "btnCancelEdit",
                               "btnLyricSave",
                               "btnPlaySong",
                               "btnStopSong",
                               "btnEditLyric",
                               "btnReplaceSong",
                               "btnMoveSong",
                               "btnDeleteSong",
                               "btnExportSong",
                               "btnAddSelectList",
                               "btnOpenSelectList",
                               "chkConfirmRemove",
                               "radFindSong",
                               "radFindSongArtist",
                               "radFindSongMidi",
                               "radFindAll",
                               "btnFindDuplicate",
                               "lblSearchResult",
                               "lblResultCounter",
                               "lblSelected",
                               "lblSelectedCount",
                               "lstSearchResult",
                               "picRemoveDuplicate",
                               "txtLyricContent",
                               "btnPlayMIDI",
                               "btnStopMIDI",
                               "btnSaveSelect",
                               "btnClear",
                               "btnDeleteFile",
                               "btnMoveFile",
                               "btnShowNewWindow"};
        for (const char* name : names) {
            const auto found = f.window->findChildren<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(found.size() == 1, name);
        }
        for (const char* timer : {"Timer1", "Timer2", "Timer3"})
            QVERIFY2(f.window->findChild<QTimer*>(QString::fromLatin1(timer)), timer);
        QCOMPARE(f.window->objectName(), QStringLiteral("frmDADAzarEdizuda"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("DAD Azar Edizuda"));
        QVERIFY(f.window->busyState().missingControls().isEmpty());
        QVERIFY(installHelpTexts(f.window.get()).isEmpty());
        // Fixed, and small enough for a 1366 x 768 screen with a title bar and a panel.
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        QVERIFY(f.window->width() <= 1366 && f.window->height() <= 700);
    }

    void startsInAddModeWithTheAutomaticTarget() {
        Fixture f;
        QVERIFY(f.get<QRadioButton>("radAddRenameLister")->isChecked());
        QVERIFY(f.get<QRadioButton>("radAutoSelect")->isChecked());
        QVERIFY(f.window->state().folderNameFirst);
        QVERIFY(!f.window->state().makeKarAvailable);
        for (const char* shown : {"fraAddSong", "fraRename", "fraLister", "fraFolder"})
            QVERIFY2(f.get<QWidget>(shown)->isVisible(), shown);
        for (const char* hidden : {"fraSongSearch", "fraFindDuplicate"})
            QVERIFY2(!f.get<QWidget>(hidden)->isVisible(), hidden);
        QVERIFY(!f.get<QWidget>("btnAddSong")->isEnabled());
        QVERIFY(f.get<QWidget>("btnLister")->isEnabled());
        QVERIFY(f.get<QWidget>("btnLister")->isVisible());
        QVERIFY(f.get<QWidget>("picListerProgress")->isHidden());
    }

    void converterInTheProgramFolderOffersKarFiles() {
        dadaz::testing::TempDir program;
        dadaz::testing::writeBytes(program / "makekar.EXE", "MZ");
        MainWindow window(program.path());
        QVERIFY(window.state().makeKarAvailable);
        QCOMPARE(control<QLabel>(&window, "lblLister")->text(),
                 utf8("สร้างรายการเพลง หรือแฟ้มคาราโอเกะ [*.KAR]"));
    }

    void functionKeysSwitchModes() {
        Fixture f;
        int duplicateEntries = 0;
        f.window->hooks().duplicateModeEntered = [&] { ++duplicateEntries; };
        f.window->hooks().stopPlayback = [&] { ++f.stops; };
        auto* search = f.get<QLineEdit>("txtSongSearch");
        search->setText(QStringLiteral("abc"));
        search->setCursorPosition(3);
        f.get<QWidget>("btnPlayMIDI")->setEnabled(true);
        f.get<QWidget>("btnStopMIDI")->setEnabled(true);
        f.stops = 0;

        // The keys work wherever the focus is.
        f.key(Qt::Key_F4, f.get<QWidget>("txtMIDIPath"));
        QCOMPARE(f.window->mode(), Mode::SongSearch);
        QVERIFY(f.get<QWidget>("fraSongSearch")->isVisible());
        for (const char* hidden : {"fraAddSong", "fraRename", "fraLister", "fraFindDuplicate"})
            QVERIFY2(!f.get<QWidget>(hidden)->isVisible(), hidden);
        QVERIFY(!f.get<QWidget>("btnPlayMIDI")->isEnabled());
        QVERIFY(!f.get<QWidget>("btnStopMIDI")->isEnabled());
        QCOMPARE(search->cursorPosition(), 0);
        QCOMPARE(f.stops, 1);

        f.key(Qt::Key_F5, search);
        QCOMPARE(f.window->mode(), Mode::FindDuplicate);
        QVERIFY(f.get<QWidget>("fraFindDuplicate")->isVisible());
        QVERIFY(!f.get<QWidget>("fraSongSearch")->isVisible());
        QCOMPARE(duplicateEntries, 1);
        QCOMPARE(f.stops, 2);

        f.key(Qt::Key_F3);
        QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        QVERIFY(f.get<QWidget>("fraAddSong")->isVisible());
        QCOMPARE(f.stops, 3);
        checkPrompt(f.prompt);
    }

    void functionKeysLeaveDisabledModesAlone() {
        Fixture f;
        for (const char* name : {"radAddRenameLister", "radSongSearch", "radFindDuplicate"})
            f.get<QWidget>(name)->setEnabled(false);
        f.stops = 0;
        for (int key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F3, Qt::Key_F4}) {
            f.key(key);
            QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        }
        f.get<QWidget>("radSongSearch")->setEnabled(true);
        f.key(Qt::Key_F4);
        QCOMPARE(f.window->mode(), Mode::SongSearch);
        f.key(Qt::Key_F3);
        QCOMPARE(f.window->mode(), Mode::SongSearch);
        QCOMPARE(f.stops, 1);
    }

    void f6OpensTheResultWindowOnlyWhenItsButtonIsEnabled() {
        Fixture f;
        int opened = 0, duplicateEntries = 0;
        auto* button = f.get<QPushButton>("btnShowNewWindow");
        connect(button, &QPushButton::clicked, [&] { ++opened; });
        f.window->hooks().duplicateModeEntered = [&] { ++duplicateEntries; };
        f.key(Qt::Key_F6);
        QCOMPARE(opened, 0);
        QCOMPARE(f.window->mode(), Mode::AddRenameLister);
        button->setEnabled(true);
        f.key(Qt::Key_F6);
        QCOMPARE(f.window->mode(), Mode::FindDuplicate);
        QCOMPARE(opened, 1);
        QCOMPARE(duplicateEntries, 1);
        // Already in duplicate mode: its handler still runs first.
        f.key(Qt::Key_F6);
        QCOMPARE(duplicateEntries, 2);
        QCOMPARE(opened, 2);
    }

    void f2TwiceRestoresStackingAndTheFirstTip() {
        Fixture f;
        auto* clock = f.get<QWidget>("fraDateTime");
        const QString firstTip = clock->toolTip();
        QCOMPARE(firstTip, utf8("คลิก 2 ครั้งเพื่อทำงานแบบ Always on top. [F2]"));
        f.key(Qt::Key_F2);
        QVERIFY(f.window->alwaysOnTop());
        QVERIFY(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(f.window->isVisible());
        QCOMPARE(clock->toolTip(), utf8("คลิก 2 ครั้งเพื่อยกเลิกการทำงานแบบ Always on top. [F2]"));
        f.key(Qt::Key_F2);
        QVERIFY(!f.window->alwaysOnTop());
        QVERIFY(!f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(f.window->isVisible());
        QCOMPARE(clock->toolTip(), firstTip);
        // A double click on the clock is the same switch.
        QTest::mouseDClick(clock, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(f.window->alwaysOnTop());
    }

    void f7AndF8ToggleTheSearchOptions() {
        Fixture f;
        for (const char* name : {"chkSearchAll", "chkSearchLyric"}) {
            const int key = QByteArray(name) == "chkSearchAll" ? Qt::Key_F7 : Qt::Key_F8;
            auto* box = f.get<QCheckBox>(name);
            QCOMPARE(box->checkState(), Qt::Unchecked);
            f.key(key);
            QCOMPARE(box->checkState(), Qt::Checked);
            f.key(key);
            QCOMPARE(box->checkState(), Qt::Unchecked);
            box->setCheckState(Qt::PartiallyChecked);  // greyed
            f.key(key);
            QCOMPARE(box->checkState(), Qt::Checked);
            // Disabled boxes toggle all the same.
            box->setEnabled(false);
            f.key(key);
            QCOMPARE(box->checkState(), Qt::Unchecked);
        }
    }

    void f9ToF12RunThePickersOnlyWhenEnabled() {
        Fixture f;
        auto* moveTo = f.get<QLineEdit>("txtMoveTo");
        moveTo->setText(QString::fromStdString(f.program.path()));
        f.prompt.expectPickFolder("เลือกที่เก็บ MIDI", "")
            .expectPickFolder("เลือกที่เก็บ Lyric", "")
            .expectPickFolder("เลือกที่เก็บ Cursor", "")
            .expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", "");
        for (int key : {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12}) f.key(key);
        checkPrompt(f.prompt);
        for (const char* name :
             {"btnBrowseMIDI", "btnBrowseLyric", "btnBrowseCursor", "btnBrowseMoveTo"})
            f.get<QWidget>(name)->setEnabled(false);
        for (int key : {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12}) f.key(key);
        checkPrompt(f.prompt);
    }

    void aboutBoxOnF1AndOnAClickOnTheCopyright() {
        Fixture f;
        const std::string text = aboutBoxText();
        for (const char* line :
             {"โปรแกรมนี้มีไว้สำหรับจัดการระบบแฟ้มของโปรแกรม MIDI Karaoke\n",
              "และอำนวยความสะดวกอื่น ๆ เกี่ยวกับ Midi Karaoke ในรูปแบบของ VID\n", "โดยแจกจ่ายให้ใช้ฟรี!\n"})
            QVERIFY2(text.find(line) != std::string::npos, line);
        f.prompt.expectInform(text, "เกี่ยวกับ DAD Azar Edizuda")
            .expectInform(text, "เกี่ยวกับ DAD Azar Edizuda");
        f.key(Qt::Key_F1);
        QTest::mouseClick(f.get<QWidget>("fraCopyRight"), Qt::LeftButton, {}, QPoint(10, 10));
        checkPrompt(f.prompt);
    }

    void hoverColoursOfTheSmallFrames() {
        Fixture f;
        auto* copyright = f.get<CaptionFrame>("fraCopyRight");
        auto* clock = f.get<CaptionFrame>("fraDateTime");
        QCOMPARE(copyright->captionColor(), QColor(128, 128, 128));
        QTest::mouseMove(copyright, QPoint(5, 5));
        QCOMPARE(copyright->captionColor(), QColor(0, 0, 192));
        QTest::mouseMove(clock, QPoint(5, 5));
        QCOMPARE(clock->captionColor(), QColor(192, 0, 0));
        QTest::mouseMove(f.get<QWidget>("fraFolder"), QPoint(3, 3));
        QCOMPARE(copyright->captionColor(), QColor(128, 128, 128));
        QCOMPARE(clock->captionColor(), QColor(128, 128, 128));
        QTest::mouseMove(copyright, QPoint(6, 6));
        QTest::mouseMove(f.get<QWidget>("fraMain"), QPoint(3, 3));
        QCOMPARE(copyright->captionColor(), QColor(128, 128, 128));
    }

    // The position and the move to the next result are playback's; playback_panel_test
    // drives them through this tick.
    void clockShowsDateTimeAndLetsPlaybackTick() {
        Fixture f;
        f.window->clockTick();
        QRegularExpression format(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"));
        QVERIFY(format.match(f.get<QGroupBox>("fraDateTime")->title()).hasMatch());
        int ticks = 0;
        f.window->hooks().playbackTick = [&] { ++ticks; };
        f.window->clockTick();
        f.window->clockTick();
        QCOMPARE(ticks, 2);
    }

    void timer3CountsTheMarkedDuplicateLines() {
        Fixture f;
        auto* list = f.get<QListWidget>("lstSearchResult");
        for (int i = 0; i < 1200; ++i) list->addItem(QStringLiteral("%1;T;A;C").arg(i));
        for (int i = 0; i < 1001; ++i) list->item(i)->setSelected(true);
        auto* count = f.get<QLabel>("lblSelectedCount");
        f.window->armSelectedCountTimer();
        QTRY_COMPARE(count->text(), utf8("1,001 เพลง"));
        QVERIFY(!f.window->findChild<QTimer*>(QStringLiteral("Timer3"))->isActive());
    }

    void timer2BlinksTheLoadingNotice() {
        Fixture f;
        f.window->selectMode(Mode::SongSearch);
        auto* notice = f.get<QWidget>("txtLoadingSong");
        QVERIFY(notice->isHidden());
        f.window->startLoadingNotice();
        QTRY_VERIFY(!notice->isHidden());
        QTRY_VERIFY(notice->isHidden());
        f.window->stopLoadingNotice();
        QVERIFY(!f.window->findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    }

    void runContextCarriesTheWindowsServices() {
        Fixture f;
        f.get<QLineEdit>("txtMIDIPath")->setText(QStringLiteral("/m"));
        f.get<QLineEdit>("txtLyricPath")->setText(QStringLiteral("/l"));
        f.get<QLineEdit>("txtCursorPath")->setText(QStringLiteral("/c"));
        f.get<QLineEdit>("txtMoveTo")->setText(utf8("/ย้าย"));
        RunContext run = f.window->makeRunContext("Lister");
        QCOMPARE(run.programFolder, f.program.path());
        QCOMPARE(run.folders.midi, std::string("/m"));
        QCOMPARE(run.folders.moveTo, std::string("/ย้าย"));
        QCOMPARE(&run.prompt, static_cast<Prompt*>(&f.prompt));
        QCOMPARE(&run.launcher, static_cast<Launcher*>(&f.launcher));
        QCOMPARE(&run.state, &f.window->state());
        QCOMPARE(&run.fs, &f.window->fileSystem());

        run.enterBusy("Lister");
        QVERIFY(f.window->busyState().busy());
        QVERIFY(f.get<QWidget>("btnLister")->isHidden());
        run.progress.progress(1, 4, "สร้างรายการเพลง ");
        run.progress.status("000123     เพลงที่ 1 จาก 4");
        auto* bar = f.get<ProgressBarWidget>("picListerProgress");
        QCOMPARE(bar->shownText(), utf8("สร้างรายการเพลง 25 %"));
        QCOMPARE(bar->color(), QColor(192, 192, 255));
        QCOMPARE(f.get<QLabel>("lblCurrentSong")->text(), utf8("000123     เพลงที่ 1 จาก 4"));
        run.pumpEvents();
        run.leaveBusy();
        QVERIFY(!f.window->busyState().busy());
        QVERIFY(bar->isHidden());

        RunContext add = f.window->makeRunContext("AddSong");
        add.progress.progress(1, 3, "เพิ่มเพลงใหม่ ");
        QCOMPARE(f.get<ProgressBarWidget>("picAddSongProgress")->shownText(),
                 utf8("เพิ่มเพลงใหม่ 33 %"));
        QCOMPARE(f.get<ProgressBarWidget>("picAddSongProgress")->color(), QColor(255, 255, 192));
        RunContext other = f.window->makeRunContext("SomethingElse");
        other.progress.progress(1, 2, "x");  // goes nowhere, harms nothing
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
