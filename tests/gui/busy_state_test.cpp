#include <QAbstractButton>
#include <QCheckBox>
#include <QtTest>

#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::control;

namespace {

const char* const kCommonDisabled[] = {
    "btnFindDuplicate",  "btnPlayMIDI",      "btnStopMIDI",        "btnSaveSelect",
    "btnOpenSelectList", "btnClear",         "btnAddSelectList",   "btnDeleteFile",
    "btnMoveFile",       "btnBrowseMIDI",    "btnBrowseLyric",     "btnBrowseCursor",
    "btnBrowseMoveTo",   "btnShowNewWindow", "btnAddSong",         "btnBrowseNewSong",
    "lstSearchResult",   "txtLyricContent",  "txtMIDIPath",        "txtLyricPath",
    "txtCursorPath",     "txtMoveTo",        "txtRenameDigit",     "txtAddSong",
    "txtLeaveDigit",     "txtCustomPattern", "radAddRenameLister", "radSongSearch",
    "radFindDuplicate",  "radManualSelect",  "radFromFileSelect",  "radAutoSelect",
    "chkManualConfig",   "chkLeaveDigit",    "chkCustomPattern",   "chkConfirmRemove"};

const char* const kProgress[] = {"lblAddSongProgress", "lblOperate",        "lblCurrentSong",
                                 "lblRenameProgress",  "lblListerProgress", "picAddSongProgress",
                                 "picRenameProgress",  "picListerProgress"};

const char* const kSearchControls[] = {"txtSongSearch", "lstSongSearch", "chkSearchAll",
                                       "chkSearchLyric", "txtSongContent"};

}  // namespace

class BusyStateTest : public QObject {
    Q_OBJECT

  private:
    struct Fixture {
        dadaz::testing::TempDir program;
        MainWindow window{program.path()};
        Fixture() {
            // Everything that a run could touch starts enabled.
            for (QWidget* w : window.findChildren<QWidget*>()) w->setEnabled(true);
            window.show();
        }
        QWidget* get(const char* name) { return control<QWidget>(&window, name); }
        bool enabled(const char* name) { return get(name)->isEnabled(); }
        bool shown(const char* name) { return !get(name)->isHidden(); }
    };

    static QStringList shownProgress(Fixture& f) {
        QStringList shown;
        for (const char* name : kProgress)
            if (f.shown(name)) shown << QString::fromLatin1(name);
        return shown;
    }

    static void checkCommonDisabled(Fixture& f) {
        for (const char* name : kCommonDisabled) QVERIFY2(!f.enabled(name), name);
    }

  private slots:
    void addSong() {
        Fixture f;
        f.window.enterBusy("AddSong");
        QVERIFY(!f.enabled("btnRename"));
        QVERIFY(!f.enabled("btnLister"));
        QVERIFY(f.shown("btnRename") && f.shown("btnLister"));
        QCOMPARE(shownProgress(f), QStringList({"lblAddSongProgress", "picAddSongProgress"}));
        for (const char* name : kSearchControls) QVERIFY2(f.enabled(name), name);
        checkCommonDisabled(f);
    }

    void renameUncoversItsStopButton() {
        Fixture f;
        f.window.enterBusy("Rename");
        QVERIFY(!f.shown("btnRename"));
        QVERIFY(f.get("btnStopRename")->isVisible());
        QVERIFY(f.enabled("btnStopRename"));
        QVERIFY(!f.enabled("btnLister"));
        QCOMPARE(shownProgress(f), QStringList({"lblRenameProgress", "picRenameProgress"}));
        checkCommonDisabled(f);
    }

    void listerUncoversItsStopButton() {
        Fixture f;
        f.window.enterBusy("Lister");
        QVERIFY(!f.shown("btnLister"));
        QVERIFY(f.get("btnStopLister")->isVisible());
        QVERIFY(f.enabled("btnStopLister"));
        QVERIFY(!f.enabled("btnRename"));
        QCOMPARE(shownProgress(f), QStringList({"lblOperate", "lblCurrentSong", "lblListerProgress",
                                                "picListerProgress"}));
        checkCommonDisabled(f);
    }

    void loadingKeepsTheRunButtonsButLocksTheSearch() {
        Fixture f;
        f.window.selectMode(Mode::SongSearch);
        f.get("btnRename")->setEnabled(false);
        f.window.enterBusy("LoadingSongDB");
        QVERIFY(!f.enabled("btnRename"));
        QVERIFY(f.enabled("btnLister"));
        QVERIFY(f.shown("btnRename") && f.shown("btnLister"));
        for (const char* name : kSearchControls) QVERIFY2(!f.enabled(name), name);
        QVERIFY(shownProgress(f).isEmpty());
        QVERIFY(f.enabled("btnCancelSearch"));
        checkCommonDisabled(f);
    }

    void findDuplicateOnlyLocksTheCommonControls() {
        Fixture f;
        f.window.enterBusy("FindDuplicate");
        QVERIFY(f.enabled("btnRename") && f.enabled("btnLister"));
        for (const char* name : kSearchControls) QVERIFY2(f.enabled(name), name);
        QVERIFY(shownProgress(f).isEmpty());
        checkCommonDisabled(f);
    }

    void leavingReturnsToIdle() {
        for (const char* run : {"AddSong", "Rename", "Lister", "LoadingSongDB", "FindDuplicate"}) {
            Fixture f;
            f.window.enterBusy(run);
            QVERIFY(f.window.busyState().busy());
            QCOMPARE(f.window.busyState().runName(), std::string(run));
            f.window.leaveBusy();
            QVERIFY(!f.window.busyState().busy());
            for (const char* name : {"btnLister",         "btnRename",        "btnBrowseMIDI",
                                     "btnBrowseLyric",    "btnBrowseCursor",  "btnFindDuplicate",
                                     "btnOpenSelectList", "btnBrowseMoveTo",  "btnBrowseNewSong",
                                     "txtMIDIPath",       "txtLyricPath",     "txtCursorPath",
                                     "txtRenameDigit",    "txtMoveTo",        "txtLyricContent",
                                     "txtAddSong",        "lstSearchResult",  "radAddRenameLister",
                                     "radSongSearch",     "radFindDuplicate", "radManualSelect",
                                     "radFromFileSelect", "radAutoSelect",    "chkCustomPattern",
                                     "chkManualConfig",   "chkLeaveDigit",    "txtSongSearch",
                                     "lstSongSearch",     "chkSearchAll",     "chkSearchLyric",
                                     "txtSongContent",    "chkConfirmRemove"})
                QVERIFY2(f.enabled(name), name);
            QVERIFY(f.shown("btnLister") && f.shown("btnRename"));
            for (const char* name : {"btnPlayMIDI", "btnStopMIDI", "btnSaveSelect", "btnClear",
                                     "btnDeleteFile", "btnMoveFile", "btnAddSong"})
                QVERIFY2(!f.enabled(name), name);
            QVERIFY(shownProgress(f).isEmpty());
        }
    }

    void addButtonWaitsForANewSourceFolder() {
        Fixture f;
        QVERIFY(f.enabled("btnAddSong"));
        f.window.enterBusy("FindDuplicate");
        f.window.leaveBusy();
        QVERIFY(!f.enabled("btnAddSong"));
    }

    void keepNamesTargetAndCustomPatternStayLockedAfterARun() {
        Fixture f;
        control<QAbstractButton>(&f.window, "radFromFileSelect")->setChecked(true);
        control<QCheckBox>(&f.window, "chkCustomPattern")->setChecked(true);
        f.window.enterBusy("Rename");
        f.window.leaveBusy();
        QVERIFY(!f.enabled("chkManualConfig"));
        QVERIFY(!f.enabled("chkLeaveDigit"));
        QVERIFY(f.enabled("chkCustomPattern"));
        QVERIFY(f.enabled("radFromFileSelect"));
    }

    void notNested() {
        Fixture f;
        f.window.enterBusy("AddSong");
        f.window.enterBusy("Lister");  // the song list run offered at the end of adding
        f.window.leaveBusy();
        QVERIFY(!f.window.busyState().busy());
        f.window.leaveBusy();  // the outer run's leaving changes nothing
        QVERIFY(!f.window.busyState().busy());
        QVERIFY(f.shown("btnLister") && f.enabled("btnLister"));
        QVERIFY(shownProgress(f).isEmpty());
    }

    void timersAndStopButtonsStayLive() {
        Fixture f;
        f.window.enterBusy("Lister");
        QVERIFY(f.window.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(f.enabled("btnStopLister"));
        QVERIFY(f.enabled("btnStopRename"));
    }
};

QTEST_MAIN(BusyStateTest)
#include "busy_state_test.moc"
