#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <filesystem>

#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "shell/qt_settings_store.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::control;
using dadaz::testing::readBytes;
using dadaz::testing::writeBytes;

namespace {

const char* const kReminder =
    "ท่านได้ทำการ เพิ่ม-เปลี่ยนชื่อเพลง และ/หรือ ลบหรือย้าย แฟ้มเพลงที่ซ้ำกัน\n"
    "ท่านควรทำการ สร้างรายการเพลงของโปรแกรมคาราโอเกะของท่านใหม่ด้วย";

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

}  // namespace

class ClosingTest : public QObject {
    Q_OBJECT

  private:
    // A window on a program folder with song sub-folders, a song list, temporary copies and
    // filled lists.
    struct Fixture {
        dadaz::testing::TempDir program;
        dadaz::testing::ScriptedPrompt prompt;
        dadaz::testing::RecordingSettings settings;
        dadaz::testing::RecordingLauncher launcher;
        std::unique_ptr<MainWindow> window;
        int stops = 0, listClears = 0;
        Fixture() {
            writeBytes(program / "SongList.txt", "list");
            for (const char* name : {"copy.mid", "copy.LYR", "copy.cur", "x.kar", "y.tmp"})
                writeBytes(program / name, name);
            writeBytes(program / "SONG/1/10001.MID", "MThd");
            window = std::make_unique<MainWindow>(program.path());
            window->setPrompt(prompt);
            window->setSettingsStore(settings);
            window->setLauncher(launcher);
            window->hooks().stopPlayback = [this] { ++stops; };
            window->hooks().clearLists = [this] { ++listClears; };
            window->folderPanel()->setFolders(
                {program / "SONG", program / "LYRICS", program / "CURSOR", ""});
            window->songSearchPanel()->lstSongSearch->setLines({"10001;T;A;C"});
            window->findDuplicatePanel()->lstSearchResult->addItem(QStringLiteral("10001;T;A;C"));
            window->show();
        }
        void expectExit(Answer answer) {
            prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?", answer,
                             "Exit Program");
        }
        bool temporariesThere() const {
            for (const char* name : {"copy.mid", "copy.LYR", "copy.cur", "x.kar", "y.tmp"})
                if (!exists(program / name)) return false;
            return true;
        }
        bool temporariesGone() const {
            for (const char* name : {"copy.mid", "copy.LYR", "copy.cur", "x.kar", "y.tmp"})
                if (exists(program / name)) return false;
            return true;
        }
    };

  private slots:
    void noLeavesListsSettingsAndFilesUntouched() {
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            Fixture f;
            f.window->state().songsAdded = true;
            f.expectExit(answer);
            QVERIFY(!f.window->close());
            checkPrompt(f.prompt);
            QVERIFY(f.window->isVisible());
            QCOMPARE(f.window->songSearchPanel()->lstSongSearch->count(), 1);
            QCOMPARE(f.window->findDuplicatePanel()->lstSearchResult->count(), 1);
            QCOMPARE(f.listClears, 0);
            QVERIFY(f.settings.writes.empty());
            QVERIFY(f.temporariesThere());
            QCOMPARE(readBytes(f.program / "SongList.txt"), std::string("list"));
            QVERIFY(!f.window->state().stopRequested);
            QCOMPARE(f.stops, 0);
        }
    }

    void afterALibraryChangeTheReminderRemovesTheSongList() {
        for (int flag = 0; flag < 3; ++flag) {
            Fixture f;
            SessionState& state = f.window->state();
            (flag == 0   ? state.songsAdded
             : flag == 1 ? state.songsRenamed
                         : state.songsRemoved) = true;
            f.expectExit(Answer::Yes);
            f.prompt.expectInform(kReminder);
            QVERIFY(f.window->close());
            checkPrompt(f.prompt);
            QVERIFY(!exists(f.program / "SongList.txt"));
        }
    }

    void yesClosesInOrder() {
        Fixture f;
        f.window->state().songListCurrent = true;
        f.expectExit(Answer::Yes);
        QVERIFY(f.window->close());
        checkPrompt(f.prompt);
        QVERIFY(!f.window->isVisible());
        // No change since the last song list: no reminder, the list stays.
        QCOMPARE(readBytes(f.program / "SongList.txt"), std::string("list"));
        QVERIFY(f.window->state().stopRequested);
        QCOMPARE(f.stops, 1);
        QCOMPARE(f.listClears, 1);
        QCOMPARE(f.window->songSearchPanel()->lstSongSearch->count(), 0);
        QCOMPARE(f.window->findDuplicatePanel()->lstSearchResult->count(), 0);
        using Write = std::tuple<std::string, std::string, std::string>;
        const std::vector<Write> expected{{"Option", "MIDIPath", f.program / "SONG"},
                                          {"Option", "LyricPath", f.program / "LYRICS"},
                                          {"Option", "CursorPath", f.program / "CURSOR"},
                                          {"Option", "MoveTo", ""}};
        QVERIFY(f.settings.writes == expected);
        QVERIFY(f.temporariesGone());
        QVERIFY(exists(f.program / "SONG/1/10001.MID"));
    }

    void songsInAProgramFolderWithoutSubFoldersSurviveClosing() {
        // Detection makes the program folder the MIDI, Lyric and Cursor folder when it has no
        // song sub-folders: its loose MIDI files are the user's songs.
        Fixture f;
        f.window->folderPanel()->setFolders(
            {f.program.path(), f.program.path(), f.program.path(), f.program / "Invalid Files"});
        f.expectExit(Answer::Yes);
        QVERIFY(f.window->close());
        checkPrompt(f.prompt);
        for (const char* kept : {"copy.mid", "copy.LYR", "copy.cur"})
            QCOMPARE(readBytes(f.program / kept), std::string(kept));
        QVERIFY(!exists(f.program / "x.kar"));
        QVERIFY(!exists(f.program / "y.tmp"));
    }

    void aDownloadedUpdateIsOfferedInsteadOfTheExitQuestion() {
        Fixture f;
        int offers = 0;
        bool install = false;
        f.window->hooks().checkForUpdate = [&] { f.window->setUpdateReady(true); };
        f.window->hooks().offerUpdateInstall = [&] {
            ++offers;
            return install;
        };
        f.window->startUp();  // the window closes at once to offer the update
        QCOMPARE(offers, 1);
        // Declined: the program goes on, nothing of the closing ran.
        QVERIFY(f.window->isVisible());
        QVERIFY(!f.window->updateReady());
        QVERIFY(!f.window->installUpdateOnExit());
        QVERIFY(f.temporariesThere());
        QVERIFY(f.settings.writes.empty());
        checkPrompt(f.prompt);
        // Next closing is the ordinary one.
        f.expectExit(Answer::No);
        QVERIFY(!f.window->close());
        checkPrompt(f.prompt);
        QCOMPARE(offers, 1);
    }

    void theIniStoreWritesTheOptionSection() {
        QStandardPaths::setTestModeEnabled(true);
        QtSettingsStore store(QStringLiteral("DADAzarEdizudaTest"));
        QFile::remove(store.fileName());
        store.writeString("Option", "MIDIPath", "/songs/ดนตรี");
        store.writeString("Option", "MoveTo", "");
        QSettings ini(store.fileName(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Option/MIDIPath")).toString(),
                 QString::fromUtf8("/songs/ดนตรี"));
        QVERIFY(ini.contains(QStringLiteral("Option/MoveTo")));
        QCOMPARE(ini.value(QStringLiteral("Option/MoveTo")).toString(), QString());
        QVERIFY(store.fileName().endsWith(QStringLiteral("DADAzarEdizudaTest.ini")));
        QFile::remove(store.fileName());
    }
};

QTEST_MAIN(ClosingTest)
#include "closing_test.moc"
