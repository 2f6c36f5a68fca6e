#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <filesystem>

#include "gui/window_fixture.h"
#include "shell/qt_settings_store.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

const char* const kTemporaries[] = {"copy.mid", "copy.LYR", "copy.cur", "x.kar", "y.tmp"};

// A window on a program folder with a song, a song list, temporary copies and filled lists.
struct ClosingFixture : WindowFixture {
    int stops = 0, listClears = 0;
    ClosingFixture() {
        writeBytes(program / "SongList.txt", "list");
        for (const char* name : kTemporaries) writeBytes(program / name, name);
        writeBytes(program / "SONG/1/10001.MID", "MThd");
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
    int temporariesLeft() const {
        int left = 0;
        for (const char* name : kTemporaries) left += std::filesystem::exists(program / name);
        return left;
    }
    // Nothing of the closing sequence ran.
    void checkUntouched() {
        QVERIFY(window->isVisible());
        QCOMPARE(window->songSearchPanel()->lstSongSearch->count(), 1);
        QCOMPARE(window->findDuplicatePanel()->lstSearchResult->count(), 1);
        QCOMPARE(listClears, 0);
        QVERIFY(settings.writes.empty());
        QCOMPARE(temporariesLeft(), 5);
        QCOMPARE(readBytes(program / "SongList.txt"), std::string("list"));
        QVERIFY(!window->state().stopRequested);
        QCOMPARE(stops, 0);
    }
};

}  // namespace

class ClosingTest : public QObject {
    Q_OBJECT

  private slots:
    void anAnswerButYesLeavesEverythingUntouched() {
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            ClosingFixture f;
            f.window->state().songsAdded = true;
            f.expectExit(answer);
            QVERIFY(!f.window->close());
            checkPrompt(f.prompt);
            f.checkUntouched();
        }
    }

    void afterALibraryChangeTheReminderRemovesTheSongList() {
        for (bool SessionState::*flag : {&SessionState::songsAdded, &SessionState::songsRenamed,
                                         &SessionState::songsRemoved}) {
            ClosingFixture f;
            f.window->state().*flag = true;
            f.expectExit(Answer::Yes);
            f.prompt.expectInform(
                "ท่านได้ทำการ เพิ่ม-เปลี่ยนชื่อเพลง และ/หรือ ลบหรือย้าย แฟ้มเพลงที่ซ้ำกัน\n"
                "ท่านควรทำการ สร้างรายการเพลงของโปรแกรมคาราโอเกะของท่านใหม่ด้วย");
            QVERIFY(f.window->close());
            checkPrompt(f.prompt);
            QVERIFY(!std::filesystem::exists(f.program / "SongList.txt"));
        }
    }

    void yesStopsClearsSavesAndRemovesTheTemporaries() {
        ClosingFixture f;
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
        QCOMPARE(f.temporariesLeft(), 0);
        QVERIFY(std::filesystem::exists(f.program / "SONG/1/10001.MID"));
    }

    void songsInAProgramFolderWithoutSubFoldersSurviveClosing() {
        // Detection makes the program folder the MIDI, Lyric and Cursor folder when it has no
        // song sub-folders: its loose MIDI files are the user's songs.
        ClosingFixture f;
        const std::string& program = f.program.path();
        f.window->folderPanel()->setFolders(
            {program, program, program, f.program / "Invalid Files"});
        f.expectExit(Answer::Yes);
        QVERIFY(f.window->close());
        checkPrompt(f.prompt);
        for (const char* kept : {"copy.mid", "copy.LYR", "copy.cur"})
            QCOMPARE(readBytes(f.program / kept), std::string(kept));
        QCOMPARE(f.temporariesLeft(), 3);
    }

    void aDownloadedUpdateIsOfferedInsteadOfTheExitQuestion() {
        ClosingFixture f;
        int offers = 0;
        f.window->hooks().checkForUpdate = [&] { f.window->setUpdateReady(true); };
        f.window->hooks().offerUpdateInstall = [&] {
            ++offers;
            return false;
        };
        f.window->startUp();  // closes at once to offer the update; declined, the program goes on
        QCOMPARE(offers, 1);
        QVERIFY(!f.window->updateReady() && !f.window->installUpdateOnExit());
        f.checkUntouched();
        checkPrompt(f.prompt);
    }

    void theIniStoreWritesTheOptionSection() {
        QStandardPaths::setTestModeEnabled(true);
        QtSettingsStore store(QStringLiteral("DADAzarEdizudaTest"));
        QFile::remove(store.fileName());
        store.writeString("Option", "MIDIPath", "/songs/ดนตรี");
        store.writeString("Option", "MoveTo", "");
        QSettings ini(store.fileName(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Option/MIDIPath")).toString(), utf8("/songs/ดนตรี"));
        QVERIFY(ini.contains(QStringLiteral("Option/MoveTo")));
        QCOMPARE(ini.value(QStringLiteral("Option/MoveTo")).toString(), QString());
        QVERIFY(store.fileName().endsWith(QStringLiteral("DADAzarEdizudaTest.ini")));
        QFile::remove(store.fileName());
    }
};

QTEST_MAIN(ClosingTest)
#include "closing_test.moc"
