#include <QListWidget>
#include <QTimer>

#include "app/features.h"
#include "catalogue/gui/search_controller.h"
#include "catalogue/song_line.h"
#include "gui/window_fixture.h"
#include "operations/lyric_editor.h"
#include "platform/codepage.h"

using namespace dadaz;
using dadaz::testing::readBytes;
using dadaz::testing::utf8;

namespace {

const std::vector<std::string> kLyric = {"เพลงทดสอบ", "ศิลปิน", "C", "", "ใจสั่น ไหวหวั่น", "ลา"};
const char kSwapped[] = "ใจสลาย ไหวหวั่น";

std::string cpBytes(std::vector<std::string> lines, const char* line4 = nullptr) {
    if (line4) lines[4] = line4;
    std::string bytes;
    for (const std::string& line : lines) bytes += utf8ToCp874(line) + "\r\n";
    return bytes;
}

// A listed library in the search mode, browsed, with the song whose lyric is edited shown.
struct EditorFixture : dadaz::testing::WindowFixture {
    EditorFixture() {
        makeLibrary({.songs = 12, .newSongs = 0, .extras = false});
        song = library.songs.at(3);
        dadaz::testing::writeBytes(song.lyricPath, cpBytes(kLyric));
        attachFeatures(*window);
        showActive();
        window->selectMode(Mode::SongSearch);
        buildSongList();
        search();
        const std::vector<std::string> lines = p->lstSongSearch->lines();
        row = static_cast<int>(
            std::find_if(lines.begin(), lines.end(),
                         [this](auto& line) { return splitSongLine(line).code == song.code; }) -
            lines.begin());
        p->lstSongSearch->setCurrentRow(row);
    }
    void search() {
        p->txtSongSearch->setFocus();
        QTest::keyClick(p->txtSongSearch, Qt::Key_Return);
    }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void edit(int line, const char* text) {
        QListWidget* list = p->lstSongContent;
        QCoreApplication::processEvents();  // lays the items out
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(line)).center());
        if (!text) return;
        p->txtEditLyric->setText(utf8(text));
        click(p->btnAcceptEdit);
    }
    QString item(int line) { return p->lstSongContent->item(line)->text(); }

    SongSearchPanel* p = window->songSearchPanel();
    GeneratedSong song;
    int row = -1;
};

}  // namespace

class LyricEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void editCancelThenSaveTwice() {
        EditorFixture f;
        SongSearchPanel* p = f.p;
        f.click(p->btnEditLyric);
        QVERIFY(p->lstSongContent->isVisible() && p->txtSongContent->isHidden());
        QVERIFY(!p->btnEditLyric->isEnabled() && !p->btnPlaySong->isEnabled());
        f.edit(4, nullptr);
        QCOMPARE(p->txtEditLyric->text(), utf8(kLyric[4].c_str()));
        QCOMPARE(p->txtBeforeEdit->text(), QStringLiteral("15"));
        QVERIFY(!p->btnAcceptEdit->isEnabled());
        p->txtEditLyric->setText(utf8("ใจสั่น ไหวหวั่น "));
        QCOMPARE(p->txtAfterEdit->text(), QStringLiteral("16"));
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           lyric_edit_text::kLengthChanged, Answer::Ok);
        f.click(p->btnAcceptEdit);
        QCOMPARE(f.item(4), utf8(kLyric[4].c_str()));
        f.edit(4, kSwapped);
        f.edit(0, "เพลงทดสอบ (ฉบับแก้ไข)");
        QVERIFY(f.item(4) == utf8(kSwapped) && p->btnLyricSave->isEnabled());

        f.click(p->btnCancelEdit);
        QVERIFY(p->txtSongContent->isVisible() && p->btnEditLyric->isEnabled());
        QVERIFY(f.item(0) == utf8(kLyric[0].c_str()) && f.item(4) == utf8(kLyric[4].c_str()));
        QCOMPARE(readBytes(f.song.lyricPath), cpBytes(kLyric));

        const std::string listed = p->lstSongSearch->lineAt(f.row);
        for (const char* word : {kSwapped, "ใจหาย! ไหวหวั่น"}) {
            f.click(p->btnEditLyric);
            f.edit(4, word);
            f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                               lyric_edit_text::kSaveQuestion, Answer::Yes);
            f.click(p->btnLyricSave);
            QCOMPARE(readBytes(f.song.lyricPath), cpBytes(kLyric, word));
            QCOMPARE(p->lstSongSearch->lineAt(f.row), listed + " [+]");
            QVERIFY(p->txtSongContent->isVisible() &&
                    p->txtSongContent->toPlainText().contains(utf8(word)));
        }
        const auto& songs = searchControllerOf(*f.window)->session().catalogue().page(0).songs;
        QCOMPARE(std::count(songs.begin(), songs.end(), listed + " [+]"), 1);
        // A key on the edit button starts a new search text.
        QTest::keyClick(p->btnEditLyric, Qt::Key_K);
        QCOMPARE(p->txtSongSearch->text(), QStringLiteral("k"));
        dadaz::testing::checkPrompt(f.prompt);
    }

    void aSaveWaitsForALoadAndNothingPlaysWhileEditing() {
        EditorFixture f;
        f.click(f.p->btnEditLyric);
        f.edit(4, kSwapped);
        // The catalogue loads again and lets events run meanwhile.
        f.window->state().catalogueLoaded = false;
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                           lyric_edit_text::kWaitForSearch, Answer::Ok);
        QTimer::singleShot(0, f.window.get(), [&f] { f.p->btnLyricSave->click(); });
        f.search();
        QCOMPARE(readBytes(f.song.lyricPath), cpBytes(kLyric));
        f.window->selectMode(Mode::FindDuplicate);
        f.window->selectMode(Mode::SongSearch);
        QVERIFY(f.p->btnLyricSave->isEnabled() && !f.p->btnPlaySong->isEnabled());
        dadaz::testing::checkPrompt(f.prompt);
    }
};

QTEST_MAIN(LyricEditorTest)
#include "lyric_editor_test.moc"
