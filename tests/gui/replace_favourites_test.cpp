#include <filesystem>

#include "gui/window_fixture.h"
#include "operations/gui/song_operations.h"
#include "platform/codepage.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::readBytes;

namespace {

constexpr auto Q = MessageIcon::Question;
constexpr auto Ok = MessageButtons::Ok;
constexpr auto YesNo = MessageButtons::YesNo;
const std::string kAsk = "ท่านต้องการแทนที่เพลงดังกล่าวด้วยเพลงใหม่ที่ท่านเลือก ใช่หรือไม่?";
const std::string kPickTitle = "เลือกแฟ้มเพลงใหม่ที่ต้องการนำไปแทนที่";

// The search mode with the song operations attached and the first song of a small library
// selected, as the detail view leaves it.
struct OperationsFixture : dadaz::testing::WindowFixture {
    int stops = 0;
    OperationsFixture() {
        makeLibrary({.songs = 4, .newSongs = 1, .extras = false});
        attachSongOperations(*window);
        window->hooks().stopPlayback = [this] { ++stops; };
        showActive();
        window->selectMode(Mode::SongSearch);
        window->state().currentSong = CurrentSong(song().code, "");
        panel()->btnReplaceSong->setEnabled(true);
        panel()->btnAddSelectList->setEnabled(true);
        panel()->txtSongContent->setPlainText(QStringLiteral("lyric"));
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    const GeneratedSong& song() { return library.songs[0]; }
    std::vector<std::string> files() {
        return {readBytes(song().midiPath), readBytes(song().lyricPath),
                readBytes(song().cursorPath)};
    }
    std::vector<std::string> freshFiles() {
        const NewSongTriple& fresh = library.newSongs[0];
        return {readBytes(fresh.midiPath), readBytes(fresh.lyricPath), readBytes(fresh.cursorPath)};
    }
    void expectMode(Answer answer) {
        prompt.expectAsk(Q, MessageButtons::YesNoCancel,
                         "เลือกรูปแบบการแทนที่แฟ้ม...\n\nYes : ทั้งสามแฟ้ม (*.MID, *.LYR, *.CUR)\n"
                         "No : เฉพาะแฟ้มมิดี้ (*.MID)",
                         answer, "แทนที่แฟ้มเพลง");
    }
};

}  // namespace

class ReplaceFavouritesTest : public QObject {
    Q_OBJECT

  private slots:
    void replaceAsksFirstAndTellsSuccessOnlyWhenDone() {
        OperationsFixture f;
        const std::vector<std::string> old = f.files(), fresh = f.freshFiles();
        const std::string picked = f.library.newSongs[0].lyricPath;

        f.expectMode(Answer::Cancel);
        f.expectMode(Answer::Yes);
        f.prompt.expectPickFile(kPickTitle, "");
        f.expectMode(Answer::Yes);
        f.prompt.expectPickFile(kPickTitle, picked);
        f.prompt.expectAsk(Q, YesNo, kAsk, Answer::No);
        for (int i = 0; i < 3; ++i) f.panel()->btnReplaceSong->click();
        QCOMPARE(f.prompt.lastStartFolder(), f.program.path());
        QVERIFY(f.files() == old);
        QCOMPARE(f.stops, 0);
        QVERIFY(!f.panel()->txtSongContent->toPlainText().isEmpty());

        f.expectMode(Answer::No);
        f.prompt.expectPickFile(kPickTitle, picked);
        f.prompt.expectAsk(MessageIcon::Exclamation, YesNo,
                           "คำเตือน : การแทนที่เฉพาะแฟ้มเพลง MIDI อาจจะมีปัญหาเรื่องค่าเวลาการปาด "
                           "Cursor ผิดพลาดได้\n\n" +
                               kAsk,
                           Answer::Yes);
        f.prompt.expectInform("ทำการแทนที่แฟ้มเรียบร้อยแล้ว...");
        f.panel()->btnReplaceSong->click();
        QVERIFY(f.files() == (std::vector<std::string>{fresh[0], old[1], old[2]}));
        QCOMPARE(f.stops, 1);
        QVERIFY(f.panel()->txtSongContent->toPlainText().isEmpty());
        QVERIFY(f.panel()->btnReplaceSong->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.panel()->txtSongSearch);

        // Ticked: no confirmation; a read-only cursor file keeps the whole song as it was.
        f.panel()->chkConfirmRemove->setChecked(true);
        QVERIFY(f.window->fileSystem().setReadOnly(f.song().cursorPath, true));
        f.expectMode(Answer::Yes);
        f.prompt.expectPickFile(kPickTitle, picked);
        f.prompt.expectAsk(MessageIcon::Critical, Ok,
                           "ไม่สามารถแทนที่เพลงรหัส " + f.song().code +
                               " ได้...\n\nแฟ้มต่อไปนี้เป็นแฟ้มอ่านอย่างเดียว (Read-only) "
                               "จึงไม่ถูกแทนที่\n" +
                               f.song().cursorPath + "\n\nแฟ้มของเพลงนี้ยังคงเป็นแฟ้มเดิมทุกแฟ้ม",
                           Answer::Ok);
        f.panel()->btnReplaceSong->click();
        QVERIFY(f.files() == (std::vector<std::string>{fresh[0], old[1], old[2]}));

        QVERIFY(f.window->fileSystem().setReadOnly(f.song().cursorPath, false));
        f.expectMode(Answer::Yes);
        f.prompt.expectPickFile(kPickTitle, picked);
        f.prompt.expectInform("ทำการแทนที่แฟ้มเรียบร้อยแล้ว...");
        f.panel()->btnReplaceSong->click();
        QVERIFY(f.files() == fresh);
        checkPrompt(f.prompt);
    }

    void favouritesAddOnceAndOpenOnlyAnExistingList() {
        OperationsFixture f;
        const std::string line = utf8ToCp874("12345  ;เพลงรัก  ;ศิลปิน  ;C");
        f.panel()->lstSongSearch->setLines(std::vector<std::string>{line, "-----------"});
        f.panel()->lstSongSearch->setCurrentRow(0);
        const std::string file = f.program / "SelectSong.txt";

        f.prompt.expectAsk(MessageIcon::Critical, Ok, "ไม่พบแฟ้มเก็บบันทึกรายการเพลงโปรดที่เลือกไว้แล้ว...",
                           Answer::Ok);
        f.panel()->btnOpenSelectList->click();
        QVERIFY(f.launcher.calls.empty());

        f.prompt.expectInform("เพิ่มเพลงไว้ในรายการเพลงโปรดเรียบร้อยแล้วครับ");
        f.prompt.expectAsk(MessageIcon::Exclamation, Ok, "เพลงนี้ท่านได้เลือกไว้แล้วครับ...", Answer::Ok);
        f.panel()->btnAddSelectList->click();
        f.panel()->btnAddSelectList->click();
        QCOMPARE(readBytes(file), utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n") + line + "\r\n");
        f.panel()->lstSongSearch->setCurrentRow(1);  // a separator adds nothing
        f.panel()->btnAddSelectList->click();

        f.panel()->btnOpenSelectList->click();
        QCOMPARE(f.launcher.calls.size(), std::size_t{1});
        QVERIFY(f.launcher.calls[0].document);
        QCOMPARE(f.launcher.calls[0].program, file);
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(ReplaceFavouritesTest)
#include "replace_favourites_test.moc"
