#include "app/features.h"
#include "gui/window_fixture.h"
#include "platform/codepage.h"

using namespace dadaz;
using dadaz::testing::readBytes;

namespace {

const std::string kAsk = "ท่านต้องการแทนที่เพลงดังกล่าวด้วยเพลงใหม่ที่ท่านเลือก ใช่หรือไม่?";
const std::string kPick = "เลือกแฟ้มเพลงใหม่ที่ต้องการนำไปแทนที่";

// The search mode with every feature attached and a song selected, as the detail view
// leaves it.
struct OperationsFixture : dadaz::testing::WindowFixture {
    int stops = 0;
    OperationsFixture() {
        makeLibrary({.songs = 4, .newSongs = 1, .extras = false});
        attachFeatures(*window);
        showActive();
        window->selectMode(Mode::SongSearch);
        window->hooks().stopPlayback = [this] { ++stops; };
        window->state().currentSong = CurrentSong(library.songs[0].code, "");
        panel()->btnReplaceSong->setEnabled(true);
        panel()->btnAddSelectList->setEnabled(true);
        panel()->txtSongContent->setPlainText(QStringLiteral("lyric"));
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    std::vector<std::string> files(const std::string& mid, const std::string& lyr,
                                   const std::string& cur) {
        return {readBytes(mid), readBytes(lyr), readBytes(cur)};
    }
    std::vector<std::string> songFiles() {
        const GeneratedSong& s = library.songs[0];
        return files(s.midiPath, s.lyricPath, s.cursorPath);
    }
    void expectModeAndPick(Answer answer, const std::string& picked = {}) {
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                         "เลือกรูปแบบการแทนที่แฟ้ม...\n\nYes : ทั้งสามแฟ้ม (*.MID, *.LYR, *.CUR)\n"
                         "No : เฉพาะแฟ้มมิดี้ (*.MID)",
                         answer, "แทนที่แฟ้มเพลง");
        if (answer != Answer::Cancel) prompt.expectPickFile(kPick, picked);
    }
};

}  // namespace

class ReplaceFavouritesTest : public QObject {
    Q_OBJECT

  private slots:
    void replaceAsksFirstAndReplacesOnlyWhatWasConfirmed() {
        OperationsFixture f;
        const NewSongTriple& n = f.library.newSongs[0];
        const std::vector<std::string> old = f.songFiles();
        const std::vector<std::string> fresh = f.files(n.midiPath, n.lyricPath, n.cursorPath);
        f.expectModeAndPick(Answer::Cancel);
        f.expectModeAndPick(Answer::Yes);
        f.expectModeAndPick(Answer::Yes, n.lyricPath);
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, kAsk, Answer::No);
        for (int i = 0; i < 3; ++i) f.panel()->btnReplaceSong->click();
        QCOMPARE(f.prompt.lastStartFolder(), f.program.path());
        QVERIFY(f.songFiles() == old && f.stops == 0);
        QVERIFY(!f.panel()->txtSongContent->toPlainText().isEmpty());

        f.expectModeAndPick(Answer::No, n.lyricPath);
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "คำเตือน : การแทนที่เฉพาะแฟ้มเพลง MIDI อาจจะมีปัญหาเรื่องค่าเวลาการปาด "
                           "Cursor ผิดพลาดได้\n\n" +
                               kAsk,
                           Answer::Yes);
        f.prompt.expectInform("ทำการแทนที่แฟ้มเรียบร้อยแล้ว...");
        f.panel()->btnReplaceSong->click();
        QVERIFY(f.songFiles() == (std::vector<std::string>{fresh[0], old[1], old[2]}));
        QVERIFY(f.stops == 1 && f.panel()->txtSongContent->toPlainText().isEmpty());
        QVERIFY(f.panel()->btnReplaceSong->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.panel()->txtSongSearch);

        f.panel()->chkConfirmRemove->setChecked(true);  // no confirmation, the mode still asked
        f.expectModeAndPick(Answer::Yes, n.cursorPath);
        f.prompt.expectInform("ทำการแทนที่แฟ้มเรียบร้อยแล้ว...");
        f.panel()->btnReplaceSong->click();
        QVERIFY(f.songFiles() == fresh);
        dadaz::testing::checkPrompt(f.prompt);
    }

    void favouritesOpenOnlyAnExistingList() {
        OperationsFixture f;
        const std::string line = utf8ToCp874("12345  ;เพลงรัก  ;ศิลปิน  ;C");
        f.panel()->lstSongSearch->setLines(std::vector<std::string>{line, "-----------"});
        // The lines are not in the library: keep the detail view out of it.
        const QSignalBlocker quiet(f.panel()->lstSongSearch->selectionModel());
        f.panel()->lstSongSearch->setCurrentRow(0);
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           "ไม่พบแฟ้มเก็บบันทึกรายการเพลงโปรดที่เลือกไว้แล้ว...", Answer::Ok);
        f.panel()->btnOpenSelectList->click();
        QVERIFY(f.launcher.calls.empty());

        f.prompt.expectInform("เพิ่มเพลงไว้ในรายการเพลงโปรดเรียบร้อยแล้วครับ");
        f.panel()->btnAddSelectList->click();
        f.panel()->lstSongSearch->setCurrentRow(1);  // a separator adds nothing
        f.panel()->btnAddSelectList->click();
        QCOMPARE(readBytes(f.program / "SelectSong.txt"),
                 utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n") + line + "\r\n");
        f.panel()->btnOpenSelectList->click();
        QVERIFY(f.launcher.calls.size() == 1 && f.launcher.calls[0].document);
        QCOMPARE(f.launcher.calls[0].program, f.program / "SelectSong.txt");
        dadaz::testing::checkPrompt(f.prompt);
    }
};

QTEST_MAIN(ReplaceFavouritesTest)
#include "replace_favourites_test.moc"
