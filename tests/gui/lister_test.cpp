#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "generator/library_generator.h"
#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "songlist/gui/lister_controller.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::readBytes;
using dadaz::testing::writeBytes;

namespace {

const char* const kChoiceOwnList =
    "ตัวเลือกการสร้างรายการเพลง 1\n\n"
    "Yes :  สร้างรายการเพลงเพื่อใช้สำหรับโปรแกรมนี้เท่านั้น\n"
    "No :  สร้างรายการเพลงพร้อมทั้งฐานข้อมูลเพลงสำหรับโปรแกรม ZUZ Adediru ด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const char* const kChoicePlain =
    "ตัวเลือกการสร้างรายการเพลง 2\n\n"
    "Yes :  สร้างรายการเพลงแบบปกติ\n"
    "No :  สร้างรายการเพลงแบบมีการตรวจสอบและจัดระบบแฟ้มด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const char* const kStopQuestion = "ท่านต้องการยกเลิกการสร้างรายการเพลง";
const char* const kOpenQuestion = "ท่านต้องการเปิดแฟ้มรายการเพลง?";
const char* const kMissingFolders =
    "ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n\nกรุณาเลือกที่เก็บแฟ้มใหม่";

std::string closingMessage(const std::string& programFolder) {
    return "สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " + programFolder +
           "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + programFolder;
}

std::string createMoveToQuestion(const std::string& programFolder) {
    return "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\nท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     " +
           programFolder + "/Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?";
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

long lineCount(const std::string& bytes) {
    long lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2))
        ++lines;
    return lines;
}

// A scripted prompt that also lets the test act inside the run when a question comes.
class ActingPrompt : public dadaz::testing::ScriptedPrompt {
  public:
    std::function<void(const std::string&)> beforeAsk;
    Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
               const std::string& title = {}) override {
        if (beforeAsk) beforeAsk(text);
        return ScriptedPrompt::ask(icon, buttons, text, title);
    }
};

// What the window looked like while the run was under way.
struct SeenDuringRun {
    bool seen = false;
    bool startHidden = false;
    bool stopHidden = true;
    bool progressHidden = true;
    bool renameEnabled = true;
    bool busyPointer = false;
    Mode mode = Mode::SongSearch;
};

}  // namespace

class ListerTest : public QObject {
    Q_OBJECT

  private:
    struct Fixture {
        dadaz::testing::TempDir program;
        GeneratedLibrary library;
        ActingPrompt prompt;
        dadaz::testing::RecordingLauncher launcher;
        std::unique_ptr<MainWindow> window;

        Fixture() {
            library = generateLibrary(program.path(), {.songs = 30, .newSongs = 2, .threads = 1});
            std::filesystem::create_directories(program / "Invalid Files");
            window = std::make_unique<MainWindow>(program.path());
            window->setPrompt(prompt);
            window->setLauncher(launcher);
            window->folderPanel()->setFolders({library.midiFolder, library.lyricFolder,
                                               library.cursorFolder, program / "Invalid Files"});
            attachSongList(*window);
        }
        ListerPanel& panel() { return *window->listerPanel(); }
        SessionState& state() { return window->state(); }
        std::string songList() { return readBytes(program / "SongList.txt"); }
        bool databaseWritten() {
            return exists(program / "List.vk2") || exists(program / "Tarn.vk2");
        }

        // Looks at the window at the run's first pause for events.
        void watchRun(SeenDuringRun& seen) {
            QTimer::singleShot(0, window.get(), [this, &seen] {
                seen.seen = true;
                seen.startHidden = panel().btnLister->isHidden();
                seen.stopHidden = panel().btnStopLister->isHidden();
                seen.progressHidden = panel().picListerProgress->isHidden();
                seen.renameEnabled = window->renamePanel()->btnRename->isEnabled();
                const QCursor* cursor = QApplication::overrideCursor();
                seen.busyPointer = cursor != nullptr && cursor->shape() == Qt::BusyCursor;
                seen.mode = window->mode();
            });
        }
        void checkIdle() {
            QVERIFY(!panel().btnLister->isHidden());
            QVERIFY(panel().btnLister->isEnabled());
            QVERIFY(panel().picListerProgress->isHidden());
            QVERIFY(panel().lblCurrentSong->isHidden());
            QVERIFY(window->renamePanel()->btnRename->isEnabled());
            QVERIFY(!window->busyState().busy());
            QVERIFY(QApplication::overrideCursor() == nullptr);
        }
    };

  private slots:
    void ownListWritesOnlySongListWithoutMessages() {
        Fixture f;
        QVERIFY(f.library.ok);
        f.state().songsAdded = true;
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                           Answer::Yes);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);

        const std::string list = f.songList();
        QVERIFY(list.rfind("'", 0) == 0);
        QCOMPARE(lineCount(list), long(f.library.songs.size()) + 2);
        QVERIFY(!f.databaseWritten());
        QVERIFY(f.launcher.calls.empty());
        QVERIFY(f.state().songListCurrent);
        QVERIFY(!f.state().songsAdded);
        QVERIFY(!f.state().catalogueRequested);
        f.checkIdle();
    }

    void plainRunWritesDatabaseShowsClosingMessageAndOffersTheList() {
        Fixture f;
        f.state().songsAdded = f.state().songsRenamed = f.state().songsRemoved = true;
        f.state().catalogueLoaded = true;
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::No)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoicePlain,
                       Answer::Yes)
            .expectInform(closingMessage(f.program.path()))
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kOpenQuestion, Answer::Yes);
        SeenDuringRun seen;
        f.watchRun(seen);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);

        QCOMPARE(lineCount(f.songList()), long(f.library.songs.size()) + 2);
        QVERIFY(exists(f.program / "List.vk2"));
        QVERIFY(exists(f.program / "Tarn.vk2"));
        QCOMPARE(f.launcher.calls.size(), std::size_t(1));
        QVERIFY(f.launcher.calls[0].document);
        QCOMPARE(f.launcher.calls[0].program, f.program / "SongList.txt");
        QVERIFY(f.state().songListCurrent);
        QVERIFY(!f.state().songsAdded && !f.state().songsRenamed && !f.state().songsRemoved);
        QVERIFY(!f.state().catalogueLoaded);

        QVERIFY(seen.seen);
        QVERIFY(seen.startHidden);
        QVERIFY(!seen.stopHidden);
        QVERIFY(!seen.progressHidden);
        QVERIFY(!seen.renameEnabled);
        QVERIFY(seen.busyPointer);
        f.checkIdle();
    }

    void cancelAtEitherQuestionDoesNothing() {
        for (bool atSecond : {false, true}) {
            Fixture f;
            f.state().songsAdded = true;
            f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                               atSecond ? Answer::No : Answer::Cancel);
            if (atSecond) {
                f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoicePlain,
                                   Answer::Cancel);
            }
            SeenDuringRun seen;
            f.watchRun(seen);
            f.panel().btnLister->click();
            checkPrompt(f.prompt);
            QVERIFY(!exists(f.program / "SongList.txt"));
            QVERIFY(!f.databaseWritten());
            QVERIFY(f.state().songsAdded);
            QVERIFY(!f.state().songListCurrent);
            f.checkIdle();
            QCoreApplication::processEvents();
            QVERIFY(seen.seen);
            QVERIFY(!seen.startHidden);
            QVERIFY(!seen.busyPointer);
        }
    }

    void stopDuringTheScanWritesNothingAndClearsTheFlags() {
        Fixture f;
        writeBytes(f.program / "SongList.txt", "old list\r\n");
        f.state().songsAdded = true;
        f.state().catalogueRequested = true;
        f.state().duplicateSearchActive = true;
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::No)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoicePlain,
                       Answer::Yes)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kStopQuestion, Answer::Yes);
        QTimer::singleShot(0, f.window.get(), [&f] { f.panel().btnStopLister->click(); });
        f.panel().btnLister->click();
        checkPrompt(f.prompt);

        QCOMPARE(f.songList(), std::string("old list\r\n"));
        QVERIFY(!f.databaseWritten());
        QVERIFY(f.launcher.calls.empty());
        QVERIFY(!f.state().stopRequested);
        QVERIFY(!f.state().catalogueRequested);
        QVERIFY(!f.state().duplicateSearchActive);
        QVERIFY(f.state().songsAdded);
        QVERIFY(!f.state().songListCurrent);
        f.checkIdle();
    }

    void stopAnsweredNoLetsTheRunFinish() {
        Fixture f;
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::Yes)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kStopQuestion, Answer::No);
        QTimer::singleShot(0, f.window.get(), [&f] { f.panel().btnStopLister->click(); });
        f.panel().btnLister->click();
        checkPrompt(f.prompt);
        QCOMPARE(lineCount(f.songList()), long(f.library.songs.size()) + 2);
        QVERIFY(f.state().songListCurrent);
        f.checkIdle();
    }

    void aStopTooLateForTheScanDoesNotStopTheNextRun() {
        Fixture f;
        // The stop question answered Yes while the list is being written: the writing goes on.
        f.prompt.beforeAsk = [&f](const std::string& text) {
            if (text == kOpenQuestion) f.state().stopRequested = true;
        };
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::No)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoicePlain,
                       Answer::Yes)
            .expectInform(closingMessage(f.program.path()))
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kOpenQuestion, Answer::No);
        f.panel().btnLister->click();
        QVERIFY(!f.state().stopRequested);
        f.prompt.beforeAsk = nullptr;

        std::filesystem::remove(f.program / "SongList.txt");
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                           Answer::Yes);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);
        QCOMPARE(lineCount(f.songList()), long(f.library.songs.size()) + 2);
        QVERIFY(f.launcher.calls.empty());
    }

    void missingMidiFolderRefusesAndStaysIdle() {
        Fixture f;
        f.window->folderPanel()->txtMIDIPath->setText(QString::fromStdString(f.program / "Gone"));
        f.state().songsAdded = true;
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::No)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoicePlain,
                       Answer::Yes)
            .expectAsk(MessageIcon::Critical, MessageButtons::Ok, kMissingFolders, Answer::Ok);
        SeenDuringRun seen;
        f.watchRun(seen);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);
        QVERIFY(!exists(f.program / "SongList.txt"));
        QVERIFY(!f.databaseWritten());
        QVERIFY(f.state().songsAdded);
        QVERIFY(!f.state().songListCurrent);
        f.checkIdle();
        QCoreApplication::processEvents();
        QVERIFY(!seen.startHidden);

        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok, kMissingFolders, Answer::Ok);
        QVERIFY(!rebuildSongList(*f.window));
        checkPrompt(f.prompt);
        f.checkIdle();
    }

    void createdMoveToFolderGoesIntoTheMoveToBox() {
        Fixture f;
        std::filesystem::remove(f.program / "Invalid Files");
        f.window->folderPanel()->txtMoveTo->setText(QString::fromStdString(f.program / "Nowhere"));
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::Yes)
            .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                       createMoveToQuestion(f.program.path()), Answer::No);
        f.panel().btnLister->click();
        QVERIFY(!exists(f.program / "SongList.txt"));
        QVERIFY(!exists(f.program / "Invalid Files"));
        QCOMPARE(f.window->folderPanel()->txtMoveTo->text().toStdString(), f.program / "Nowhere");
        f.checkIdle();

        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                       Answer::Yes)
            .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                       createMoveToQuestion(f.program.path()), Answer::Yes);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);
        QVERIFY(std::filesystem::is_directory(f.program / "Invalid Files"));
        QCOMPARE(f.window->folderPanel()->txtMoveTo->text().toStdString(),
                 f.program / "Invalid Files");
        QVERIFY(exists(f.program / "SongList.txt"));
        f.checkIdle();
    }

    void rebuildFromTheSearchModeKeepsTheCatalogueRequest() {
        Fixture f;
        f.window->selectMode(Mode::SongSearch);
        f.state().catalogueRequested = true;
        f.state().songsRemoved = true;
        SeenDuringRun seen;
        f.watchRun(seen);
        QVERIFY(rebuildSongList(*f.window));
        checkPrompt(f.prompt);  // no questions, no messages
        QCOMPARE(lineCount(f.songList()), long(f.library.songs.size()) + 2);
        QVERIFY(!f.databaseWritten());
        QVERIFY(f.state().catalogueRequested);
        QVERIFY(!f.state().songsRemoved);
        QVERIFY(f.state().songListCurrent);
        QVERIFY(seen.busyPointer);
        QVERIFY(seen.mode == Mode::AddRenameLister);
        f.checkIdle();
    }

    void rebuildWhileAListRunIsUnderWayDoesNothing() {
        Fixture f;
        f.state().catalogueRequested = true;
        bool nested = true;
        QTimer::singleShot(0, f.window.get(), [&] { nested = rebuildSongList(*f.window); });
        QVERIFY(rebuildSongList(*f.window));
        QVERIFY(!nested);
        checkPrompt(f.prompt);
        f.checkIdle();
    }
};

QTEST_MAIN(ListerTest)
#include "lister_test.moc"
