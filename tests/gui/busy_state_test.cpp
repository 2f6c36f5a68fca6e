#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

#include "app/features.h"
#include "gui/window_fixture.h"
#include "songlist/songlist_messages.h"

using namespace dadaz;
using namespace dadaz::testing;

class BusyStateTest : public QObject {
    Q_OBJECT

    // Pretends every feature exists: each control of the mode panels has its action.
    static void attachEverything(WindowFixture& f) {
        for (QWidget* w : f.get("fraMain")->findChildren<QWidget*>()) f.window->attach({w});
    }

    static QStringList progressShown(WindowFixture& f) {
        QStringList shown;
        for (QWidget* w : f.window->findChildren<QWidget*>(
                 QRegularExpression(QStringLiteral("Progress$|^lblOperate$|^lblCurrentSong$"))))
            if (!w->isHidden()) shown << w->objectName();
        shown.sort();
        return shown;
    }

  private slots:
    // During each run nothing can be clicked or typed into but its own stop button, and only
    // its own progress box shows.
    void duringARunOnlyItsStopButtonIsLive() {
        const std::tuple<const char*, Mode, QString, QString> cases[] = {
            {"AddSong", Mode::AddRenameLister, "", "lblAddSongProgress picAddSongProgress"},
            {"Rename", Mode::AddRenameLister, "btnStopRename",
             "lblRenameProgress picRenameProgress"},
            {"Lister", Mode::AddRenameLister, "btnStopLister",
             "lblCurrentSong lblListerProgress lblOperate picListerProgress"},
            {"LoadingSongDB", Mode::SongSearch, "", ""},
            {"FindDuplicate", Mode::FindDuplicate, "", ""}};
        for (const auto& [run, mode, live, progress] : cases) {
            WindowFixture f;
            attachEverything(f);
            f.window->show();
            f.window->selectMode(mode);
            f.window->enterBusy(run);
            QCOMPARE(clickableControls(f.window.get()), live.split(' ', Qt::SkipEmptyParts));
            QCOMPARE(progressShown(f), progress.split(' ', Qt::SkipEmptyParts));
            f.window->leaveBusy();
            QVERIFY(progressShown(f).isEmpty());
        }
    }

    void leavingKeepsWhatOnlyTheUserCanBringBack() {
        WindowFixture f;
        attachEverything(f);
        f.get("btnAddSong")->setEnabled(true);
        f.get<QAbstractButton>("radFromFileSelect")->setChecked(true);
        f.get<QCheckBox>("chkCustomPattern")->setChecked(true);
        f.get("btnRename")->setEnabled(false);
        f.window->enterBusy("LoadingSongDB");  // leaves the run buttons as they were
        QVERIFY(!f.get("btnRename")->isEnabled() && f.get("btnLister")->isEnabled());
        f.window->leaveBusy();
        // The add button waits for a new source folder; the keep-names target and the custom
        // pattern keep their dependent boxes locked.
        for (const char* locked : {"btnAddSong", "chkManualConfig", "chkLeaveDigit"})
            QVERIFY2(!f.get(locked)->isEnabled(), locked);
        QVERIFY(f.get("btnRename")->isEnabled() && f.get("chkCustomPattern")->isEnabled());
    }

    // The program as it is put together: a control whose feature is not there yet stays
    // disabled in every mode, also after a run, until its feature attaches to it.
    void controlsWithoutAnActionStayDisabled() {
        WindowFixture f;
        attachFeatures(*f.window);
        f.window->show();
        const std::pair<Mode, QStringList> idle[] = {
            {Mode::AddRenameLister,
             QStringList({"btnBrowseNewSong", "btnLister", "btnRename", "btnSongBook",
                          "chkCustomPattern", "chkLeaveDigit", "chkManualConfig", "radAutoSelect",
                          "radFromFileSelect", "radManualSelect", "txtAddSong", "txtRenameDigit"})},
            {Mode::SongSearch,
             {"btnOpenSelectList", "chkConfirmRemove", "chkSearchAll", "chkSearchLyric",
              "lstSongSearch", "txtSongSearch"}},
            {Mode::FindDuplicate,
             {"btnFindDuplicate", "lstSearchResult", "radFindAll", "radFindSong",
              "radFindSongArtist", "radFindSongMidi"}}};
        for (bool afterARun : {false, true}) {
            if (afterARun) {
                f.window->enterBusy("Lister");
                f.window->leaveBusy();
            }
            for (const auto& [mode, live] : idle) {
                f.window->selectMode(mode);
                QCOMPARE(clickableControls(f.get("fraMain")), live);
            }
        }

        // Without its feature a control stays disabled whoever enables it; attached, it lives
        // and the busy state governs it.
        WindowFixture bare;
        bare.window->show();
        bare.get("btnRename")->setEnabled(true);  // as a valid digit count asks
        QVERIFY(!bare.get("btnRename")->isEnabled());
        bare.window->attach({bare.get("btnBrowseNewSong")});
        bare.window->selectMode(Mode::AddRenameLister);
        QVERIFY(clickableControls(bare.get("fraMain")).contains("btnBrowseNewSong"));
        bare.window->enterBusy("Lister");
        QVERIFY(!bare.get("btnBrowseNewSong")->isEnabled());
    }

    // A run lets window events through; the keys must not start anything or switch modes.
    void functionKeysDoNothingWhileARunPumpsEvents() {
        WindowFixture f;
        f.makeLibrary({.songs = 40, .newSongs = 0, .threads = 1});
        attachFeatures(*f.window);
        f.showActive();
        // Each moment is 20 ms after the last: the runs let events through at every pause.
        f.window->setRunClock([t = std::chrono::steady_clock::time_point()]() mutable {
            return t += std::chrono::milliseconds(20);
        });
        QStringList seen;
        auto pressDuringRun = [&] {
            QTimer::singleShot(0, f.window.get(), [&] {
                const Mode before = f.window->mode();
                for (Qt::Key key : {Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8,
                                    Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12})
                    f.key(key);
                QCOMPARE(f.window->mode(), before);
                QVERIFY(f.window->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
                seen << clickableControls(f.window.get());
            });
        };
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                           songlist_text::kChoiceOwnList, Answer::Yes);
        pressDuringRun();
        f.get<QAbstractButton>("btnLister")->click();
        QCOMPARE(seen, QStringList({"btnStopLister"}));

        seen.clear();
        f.window->selectMode(Mode::SongSearch);
        pressDuringRun();
        f.key(Qt::Key_Return, f.get("txtSongSearch"));
        QCOMPARE(seen, QStringList({"btnCancelSearch"}));
        checkPrompt(f.prompt);
    }

    // Each run draws into its own box in its own colour, and its status line goes under it.
    void eachRunDrawsItsOwnBoxAndStatus() {
        const std::tuple<const char*, QString, const char*, QColor> cases[] = {
            {"AddSong", "picAddSongProgress", nullptr, QColor(255, 255, 192)},
            {"Lister", "picListerProgress", "lblCurrentSong", QColor(192, 192, 255)},
            {"LoadingSongDB", "", "lblSongSearchResult", {}},
            {"FindDuplicate", "", "lblResultCounter", {}}};
        for (const auto& [run, ownBox, statusLabel, colour] : cases) {
            WindowFixture f;
            RunContext context = f.window->makeRunContext(run);
            context.progress.progress(2, 3, "สร้างรายการเพลง ");
            context.progress.status("000123     เพลงที่ 2 จาก 3");
            for (auto* bar : f.window->findChildren<ProgressBarWidget*>()) {
                const bool ours = bar->objectName() == ownBox;
                QCOMPARE(bar->shownText(), ours ? utf8("สร้างรายการเพลง 66 %") : QString());
                if (ours) QCOMPARE(bar->color(), colour);
            }
            if (statusLabel)
                QCOMPARE(f.get<QLabel>(statusLabel)->text(), utf8("000123     เพลงที่ 2 จาก 3"));
        }
    }

    void fillsItsShareWithTheTextCentredOverIt() {
        WindowFixture f;
        auto* bar = f.get<ProgressBarWidget>("picAddSongProgress");
        bar->setFixedSize(400, 24);
        bar->show();
        f.window->makeRunContext("AddSong").progress.progress(1, 4, "เพิ่มเพลงใหม่ ");
        const QImage picture = bar->grab().toImage();
        const QColor yellow(255, 255, 192), white(Qt::white);
        QCOMPARE(picture.pixelColor(2, 2), yellow);
        QCOMPARE(picture.pixelColor(98, 21), yellow);
        QCOMPARE(picture.pixelColor(102, 21), white);
        QCOMPARE(picture.pixelColor(398, 2), white);
        auto darkIn = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = 0; y < picture.height(); ++y)
                    if (picture.pixelColor(x, y).lightness() < 100) return true;
            return false;
        };
        QVERIFY(darkIn(180, 220));
        QVERIFY(!darkIn(0, 60) && !darkIn(340, 400));
    }
};

QTEST_MAIN(BusyStateTest)
#include "busy_state_test.moc"
