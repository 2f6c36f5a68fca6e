#include <QTimer>
#include <algorithm>
#include <functional>

#include "gui/window_fixture.h"
#include "shell/dos_drives_dialog.h"
#include "songlist/gui/lister_controller.h"
#include "songlist/songlist_messages.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::readBytes;

namespace {

using songlist_text::kChoiceOwnList;
const char* const kChoiceChecking =
    "ตัวเลือกการสร้างรายการเพลง 2\n\n"
    "Yes :  สร้างรายการเพลงแบบปกติ\n"
    "No :  สร้างรายการเพลงแบบมีการตรวจสอบและจัดระบบแฟ้มด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const char* const kStopQuestion = "ท่านต้องการยกเลิกการสร้างรายการเพลง";
using songlist_text::kOpenSongListQuestion;

// The closing message of a run that wrote the database into the program folder.
std::string closingMessage(const std::string& program, const std::string& moveTo,
                           const std::string& drives) {
    return "สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " + program +
           "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + program +
           (moveTo.empty() ? "" : "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n     " + moveTo) +
           "\n\nที่เก็บแฟ้มในฐานข้อมูลเพลงใช้ไดรฟ์ต่อไปนี้ (mount ใน DOSBox ให้ตรงกัน)\n     " + drives;
}

struct ListerFixture : dadaz::testing::WindowFixture {
    ListerFixture() {
        makeLibrary({.songs = 30, .newSongs = 2, .threads = 1});
        attachSongList(*window);
    }
    ListerPanel& panel() { return *window->listerPanel(); }
    SessionState& state() { return window->state(); }
    long songLines() {
        return static_cast<long>(std::ranges::count(readBytes(program / "SongList.txt"), '\n')) - 2;
    }
    bool databaseWritten() { return std::filesystem::exists(program / "List.vk2"); }
    void expectChoices(Answer ownList, Answer checking = Answer::Cancel) {
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceOwnList,
                         ownList);
        if (ownList == Answer::No) {
            prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kChoiceChecking,
                             checking);
        }
    }

    // Whether the window looks busy at the run's first pause for events.
    void watchRun(bool& looksBusy) {
        QTimer::singleShot(0, window.get(), [this, &looksBusy] {
            const QCursor* cursor = QApplication::overrideCursor();
            looksBusy = cursor != nullptr && cursor->shape() == Qt::BusyCursor &&
                        panel().btnLister->isHidden() && !panel().picListerProgress->isHidden() &&
                        window->mode() == Mode::AddRenameLister;
        });
    }
    void checkIdle() {
        QVERIFY(!panel().btnLister->isHidden() && panel().btnLister->isEnabled() &&
                panel().picListerProgress->isHidden() && !window->busyState().busy() &&
                QApplication::overrideCursor() == nullptr);
    }
};

}  // namespace

class ListerTest : public QObject {
    Q_OBJECT

  private slots:
    void databaseRunsShowTheClosingMessageAndOfferTheList() {
        for (const bool checking : {false, true}) {
            ListerFixture f;
            f.state().songsAdded = f.state().songsRenamed = f.state().songsRemoved = true;
            f.state().catalogueLoaded = true;
            f.expectChoices(Answer::No, checking ? Answer::No : Answer::Yes);
            f.prompt.expectInform(closingMessage(f.program.path(),
                                                 checking ? f.program / "Invalid Files" : "",
                                                 "C: = " + f.program.path()));
            f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, kOpenSongListQuestion,
                               Answer::Yes);
            // A stop asked for while the list is written must not stop the next run.
            f.prompt.beforeAsk = [&f](const std::string& text) {
                if (text == kOpenSongListQuestion) f.state().stopRequested = true;
            };
            bool looksBusy = false;
            f.watchRun(looksBusy);
            f.panel().btnLister->click();
            checkPrompt(f.prompt);

            const std::size_t invalid = checking ? f.library.invalidSongs.size() : 0;
            QCOMPARE(f.songLines(), long(f.library.songs.size() - invalid));
            QVERIFY(f.databaseWritten() && f.launcher.calls.size() == 1 &&
                    f.launcher.calls[0].program == f.program / "SongList.txt");
            QVERIFY(!f.state().libraryChanged() && f.state().songListCurrent &&
                    !f.state().catalogueLoaded && !f.state().stopRequested && looksBusy);
            f.checkIdle();
        }
    }

    void cancelAtEitherQuestionDoesNothing() {
        for (const Answer first : {Answer::Cancel, Answer::No}) {
            ListerFixture f;
            f.expectChoices(first, Answer::Cancel);
            f.panel().btnLister->click();
            checkPrompt(f.prompt);
            QVERIFY(!std::filesystem::exists(f.program / "SongList.txt") && !f.databaseWritten());
            f.checkIdle();
        }
    }

    void ownListRunStopsOnlyWhenTheUserSaysYes() {
        for (const Answer answer : {Answer::Yes, Answer::No}) {
            ListerFixture f;
            dadaz::testing::writeBytes(f.program / "SongList.txt", "old list\r\n");
            f.state().catalogueRequested = f.state().duplicateSearchActive = true;
            f.state().songsAdded = true;
            f.expectChoices(Answer::Yes);
            f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, kStopQuestion, answer);
            QTimer::singleShot(0, f.window.get(), [&f] { f.panel().btnStopLister->click(); });
            f.panel().btnLister->click();
            checkPrompt(f.prompt);
            const bool stopped = answer == Answer::Yes;
            // Answered No, the own list is written in full, with no database and no message.
            QCOMPARE(readBytes(f.program / "SongList.txt") == "old list\r\n", stopped);
            QCOMPARE(f.songLines() == long(f.library.songs.size()), !stopped);
            QVERIFY(!f.databaseWritten() && f.launcher.calls.empty());
            QVERIFY(!f.state().stopRequested && !f.state().catalogueRequested);
            QVERIFY(f.state().songsAdded == stopped && f.state().duplicateSearchActive == !stopped);
            f.checkIdle();
        }
    }

    void rebuildFromTheSearchModeKeepsTheCatalogueRequest() {
        ListerFixture f;
        f.window->selectMode(Mode::SongSearch);
        f.state().catalogueRequested = true;
        f.state().songsRemoved = true;
        // The move-to folder the run creates goes into the move-to box.
        std::filesystem::remove(f.program / "Invalid Files");
        f.window->folderPanel()->txtMoveTo->setText(QString::fromStdString(f.program / "Nowhere"));
        f.prompt.expectAsk(
            MessageIcon::Exclamation, MessageButtons::YesNo,
            "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\nท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     " +
                f.program / "Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?",
            Answer::Yes);
        bool looksBusy = false;
        f.watchRun(looksBusy);
        bool nested = true;
        QTimer::singleShot(0, f.window.get(), [&] { nested = rebuildSongList(*f.window); });
        QVERIFY(rebuildSongList(*f.window));
        QVERIFY(!nested);       // nothing while a run is under way
        checkPrompt(f.prompt);  // no other question, no message
        QCOMPARE(f.window->folderPanel()->txtMoveTo->text().toStdString(),
                 f.program / "Invalid Files");
        QCOMPARE(f.songLines(), long(f.library.songs.size()));
        QVERIFY(!f.databaseWritten() && looksBusy);
        QVERIFY(f.state().catalogueRequested && !f.state().songsRemoved);
        f.checkIdle();
    }

    void theDriveTableIsEditedStoredAndUsed() {
        ListerFixture f;
        const std::string title = "เลือกโฟลเดอร์ของไดรฟ์ E:";
        f.prompt.expectPickFolder(title, "").expectPickFolder(title, f.program / "SONG");
        QTimer::singleShot(0, f.window.get(), [&f] {
            auto* dialog = qobject_cast<DosDrivesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->lstDosDrives->count(), 1);
            dialog->cboDosDriveLetter->setCurrentIndex('E' - 'C');
            dialog->btnMapDosDrive->click();  // cancelled
            dialog->btnMapDosDrive->click();
            dialog->btnOK->click();
        });
        f.window->folderPanel()->btnDosDrives->click();
        const std::string stored = "C=" + f.program.path() + "\nE=" + f.program / "SONG";
        QVERIFY(f.settings.writes.back() ==
                std::make_tuple(std::string("Option"), std::string("DosDrives"), stored));

        // Cancel keeps the table as stored.
        QTimer::singleShot(0, f.window.get(), [] {
            auto* dialog = qobject_cast<DosDrivesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->lstDosDrives->setCurrentRow(0);
            dialog->btnUnmapDosDrive->click();
            QCOMPARE(dialog->lstDosDrives->count(), 1);
            dialog->btnCancel->click();
        });
        f.window->folderPanel()->btnDosDrives->click();
        QCOMPARE(f.window->folderPanel()->dosDrives().setting(), stored);

        // The deepest drive holding a file gives its path.
        f.expectChoices(Answer::No, Answer::Yes);
        f.prompt.expectInform(
            closingMessage(f.program.path(), "",
                           "C: = " + f.program.path() + "\n     E: = " + f.program / "SONG"));
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, kOpenSongListQuestion,
                           Answer::No);
        f.panel().btnLister->click();
        checkPrompt(f.prompt);
        const std::string list = readBytes(f.program / "List.vk2");
        QVERIFY(list.find("C:\\SONG") == std::string::npos);
        QVERIFY(list.find("E:\\") != std::string::npos &&
                list.find("C:\\LYRICS\\") != std::string::npos);
    }
};

QTEST_MAIN(ListerTest)
#include "lister_test.moc"
