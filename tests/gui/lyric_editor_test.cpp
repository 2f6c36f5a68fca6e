#include <QListWidget>
#include <QTimer>

#include "app/features.h"
#include "catalogue/gui/search_controller.h"
#include "catalogue/song_line.h"
#include "gui/window_fixture.h"
#include "operations/lyric_editor.h"
#include "platform/codepage.h"
#include "songlist/songlist_run.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::readBytes;
using dadaz::testing::utf8;

namespace {

const std::vector<std::string> kLyric = {"เพลงทดสอบ", "ศิลปิน", "C", "", "ใจสั่น ไหวหวั่น", "ลาก่อน"};

std::string cpBytes(std::vector<std::string> utf8Lines, int line = -1, std::string text = {}) {
    if (line >= 0) utf8Lines[static_cast<std::size_t>(line)] = std::move(text);
    std::string bytes;
    for (const std::string& l : utf8Lines) bytes += utf8ToCp874(l) + "\r\n";
    return bytes;
}

// A listed library in the search mode, browsed, with one song whose lyric the tests edit.
struct EditorFixture : dadaz::testing::WindowFixture {
    EditorFixture() {
        makeLibrary({.songs = 12, .newSongs = 0, .extras = false});
        song = library.songs.at(3);
        dadaz::testing::writeBytes(song.lyricPath, cpBytes(kLyric));
        attachFeatures(*window);
        showActive();
        window->selectMode(Mode::SongSearch);
        window->state().catalogueRequested = true;
        RunContext ctx = window->makeRunContext("Lister");
        runSongList(ctx);
        window->state().catalogueRequested = false;
        search();
        const std::vector<std::string> lines = panel()->lstSongSearch->lines();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (splitSongLine(lines[i]).code == song.code) row = static_cast<int>(i);
        SongLineList* list = panel()->lstSongSearch;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->lineModel()->index(row)).center());
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    void search() {
        panel()->txtSongSearch->setFocus();
        QTest::keyClick(panel()->txtSongSearch, Qt::Key_Return);
    }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void takeLine(int line) {
        QListWidget* list = panel()->lstSongContent;
        QCoreApplication::processEvents();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(line)).center());
    }
    // Takes a line, types `text` and accepts it.
    void edit(int line, const char* text) {
        takeLine(line);
        panel()->txtEditLyric->setText(utf8(text));
        click(panel()->btnAcceptEdit);
    }
    QString item(int line) { return panel()->lstSongContent->item(line)->text(); }
    bool editing() {
        return panel()->lstSongContent->isVisible() && panel()->txtSongContent->isHidden() &&
               !panel()->btnEditLyric->isEnabled() && panel()->btnCancelEdit->isEnabled();
    }
    void expectSaveQuestion(Answer answer) {
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                         lyric_edit_text::kSaveQuestion, answer);
    }
    GeneratedSong song;
    int row = -1;
};

}  // namespace

class LyricEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void editAcceptAndCancelBackToTheFilesText() {
        EditorFixture f;
        SongSearchPanel* p = f.panel();
        f.click(p->btnEditLyric);
        QVERIFY(f.editing() && p->txtEditLyric->isVisible() && p->txtEditLyric->isReadOnly());
        QVERIFY(p->btnAcceptEdit->isVisible() && !p->btnAcceptEdit->isEnabled());
        QVERIFY(!p->btnPlaySong->isEnabled());
        QCOMPARE(p->lstSongContent->count(), 6);

        f.takeLine(4);
        QCOMPARE(p->txtEditLyric->text(), utf8(kLyric[4].c_str()));
        QVERIFY(!p->txtEditLyric->isReadOnly() && p->txtEditLyric->hasSelectedText());
        QVERIFY(p->txtBeforeEdit->isVisible() && p->txtAfterEdit->isVisible());
        QCOMPARE(p->txtBeforeEdit->text(), QStringLiteral("15"));
        QVERIFY(!p->btnAcceptEdit->isEnabled());
        p->txtEditLyric->setText(utf8("ใจสั่น ไหวหวั่น "));
        QCOMPARE(p->txtAfterEdit->text(), QStringLiteral("16"));
        QVERIFY(p->btnAcceptEdit->isEnabled());
        p->txtEditLyric->setText(utf8(kLyric[4].c_str()));
        QVERIFY(!p->btnAcceptEdit->isEnabled());

        // One more blank is refused; the line stays.
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           lyric_edit_text::kLengthChanged, Answer::Ok);
        p->txtEditLyric->setText(utf8("ใจสั่น ไหวหวั่น "));
        f.click(p->btnAcceptEdit);
        QCOMPARE(f.item(4), utf8(kLyric[4].c_str()));
        QVERIFY(p->txtEditLyric->hasSelectedText() && !p->btnLyricSave->isEnabled());

        f.edit(4, "ใจสลาย ไหวหวั่น");
        QCOMPARE(f.item(4), utf8("ใจสลาย ไหวหวั่น"));
        QVERIFY(p->txtEditLyric->text().isEmpty() && p->txtEditLyric->isReadOnly());
        QVERIFY(p->btnLyricSave->isEnabled() && !p->btnAcceptEdit->isEnabled());
        QVERIFY(p->txtBeforeEdit->isHidden() && p->txtAfterEdit->isHidden());
        f.edit(0, "เพลงทดสอบ (ฉบับแก้ไขใหม่)");
        QCOMPARE(f.item(0), utf8("เพลงทดสอบ (ฉบับแก้ไขใหม่)"));

        f.click(p->btnCancelEdit);
        QVERIFY(!f.editing() && p->txtSongContent->isVisible() && p->btnEditLyric->isEnabled());
        QCOMPARE(f.item(0), utf8(kLyric[0].c_str()));
        QCOMPARE(f.item(4), utf8(kLyric[4].c_str()));
        QVERIFY(p->txtSongContent->toPlainText().contains(utf8(kLyric[4].c_str())));
        QCOMPARE(readBytes(f.song.lyricPath), cpBytes(kLyric));
        // A key on the edit button starts a new search text.
        QTest::keyClick(p->btnEditLyric, Qt::Key_K);
        QCOMPARE(p->txtSongSearch->text(), QStringLiteral("k"));
        checkPrompt(f.prompt);
    }

    void saveMarksTheResultLineOnceAndShowsTheSongAgain() {
        EditorFixture f;
        SongSearchPanel* p = f.panel();
        const std::string listed = p->lstSongSearch->lineAt(f.row);
        std::string onDisk = cpBytes(kLyric);
        for (const char* word : {"ใจสลาย ไหวหวั่น", "ใจหาย! ไหวหวั่น"}) {
            f.click(p->btnEditLyric);
            f.edit(4, word);
            f.expectSaveQuestion(Answer::No);
            f.click(p->btnLyricSave);
            QVERIFY(f.editing());
            QCOMPARE(readBytes(f.song.lyricPath), onDisk);

            f.expectSaveQuestion(Answer::Yes);
            f.click(p->btnLyricSave);
            onDisk = cpBytes(kLyric, 4, word);
            QCOMPARE(readBytes(f.song.lyricPath), onDisk);
            QCOMPARE(p->lstSongSearch->lineAt(f.row), listed + " [+]");
            QVERIFY(!f.editing() && p->txtSongContent->toPlainText().contains(utf8(word)));
            QVERIFY(!p->btnLyricSave->isEnabled());
        }
        const auto& page = searchControllerOf(*f.window)->session().catalogue().page(0);
        QCOMPARE(std::count(page.songs.begin(), page.songs.end(), listed + " [+]"), 1);
        checkPrompt(f.prompt);
    }

    void aSaveWaitsForALoadAndPlaybackStaysOffWhileEditing() {
        EditorFixture f;
        SongSearchPanel* p = f.panel();
        f.click(p->btnEditLyric);
        f.edit(4, "ใจสลาย ไหวหวั่น");
        // Enter in the search box loads the catalogue again, letting events run meanwhile.
        f.window->state().catalogueLoaded = false;
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                           lyric_edit_text::kWaitForSearch, Answer::Ok);
        QTimer::singleShot(0, f.window.get(), [p] { p->btnLyricSave->click(); });
        f.search();
        QCOMPARE(readBytes(f.song.lyricPath), cpBytes(kLyric));
        QVERIFY(f.editing() && p->btnLyricSave->isEnabled() && !p->btnPlaySong->isEnabled());

        f.window->selectMode(Mode::FindDuplicate);
        f.window->selectMode(Mode::SongSearch);
        QVERIFY(!p->btnPlaySong->isEnabled());
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(LyricEditorTest)
#include "lyric_editor_test.moc"
