#include <QClipboard>
#include <QGuiApplication>
#include <filesystem>

#include "app/features.h"
#include "catalogue/gui/search_controller.h"
#include "catalogue/song_line.h"
#include "gui/window_fixture.h"
#include "platform/codepage.h"
#include "songlist/songlist_messages.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::utf8;

namespace {

constexpr std::size_t kSongs = 40;

// Also takes the song list run's closing message (its later lines name the run's folders).
struct SearchPrompt : dadaz::testing::ScriptedPrompt {
    Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
               const std::string& title = {}) override {
        if (!text.starts_with("สร้างรายการเพลงเสร็จเรียบร้อยแล้ว"))
            return ScriptedPrompt::ask(icon, buttons, text, title);
        ++closingMessages;
        return Answer::Ok;
    }
    int closingMessages = 0;
};

// A generated library in the search mode; `listed`: with the list panel's own song list.
struct SearchFixture : dadaz::testing::BasicWindowFixture<SearchPrompt> {
    explicit SearchFixture(bool listed = true) {
        makeLibrary({.songs = kSongs, .newSongs = 0, .extras = false});
        attachFeatures(*window);
        // The song operations would attach these; the detail view decides when they work.
        window->attach({panel()->btnMoveSong, panel()->btnDeleteSong, panel()->btnExportSong,
                        panel()->btnReplaceSong, panel()->btnEditLyric, panel()->btnAddSelectList});
        showActive();
        window->selectMode(Mode::SongSearch);
        if (!listed) return;
        buildSongList();
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    // Types `text` into the search box and lets Enter go, as the user does.
    void search(const QString& text) {
        panel()->txtSongSearch->setText(text);
        panel()->txtSongSearch->setFocus();
        QTest::keyClick(panel()->txtSongSearch, Qt::Key_Return);
    }
    std::vector<std::string> lines() { return panel()->lstSongSearch->lines(); }
    QString resultLine() { return panel()->lblSongSearchResult->text(); }
    void writeSongList(const std::vector<std::string>& songLines) {
        std::string bytes = "Note\r\nCode;Title;Artist;Key\r\n";
        for (const std::string& line : songLines) bytes += line + "\r\n";
        dadaz::testing::writeBytes(program / "SongList.txt", bytes);
    }
    void clickRow(int row, bool twice = false) {
        SongLineList* list = panel()->lstSongSearch;
        const QPoint point = list->visualRect(list->lineModel()->index(row)).center();
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
    }
    bool songButtonsEnabled(bool enabled) {
        for (QPushButton* button :
             {panel()->btnMoveSong, panel()->btnDeleteSong, panel()->btnExportSong,
              panel()->btnReplaceSong, panel()->btnEditLyric, panel()->btnAddSelectList})
            if (button->isEnabled() != enabled) return false;
        return true;
    }
};

}  // namespace

class SearchPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void enterListsTheSongsAClickShowsOneASeparatorShowsNothing() {
        SearchFixture f;
        f.search(QStringLiteral("   "));
        QCOMPARE(f.panel()->txtSongSearch->text(), QString());  // trimmed
        QCOMPARE(f.lines().size(), kSongs);
        QCOMPARE(f.resultLine(), utf8("ค้นหาพบ 40 จาก 40 เพลง"));
        QVERIFY(f.panel()->lblPage->isHidden() && f.panel()->btnCancelSearch->isHidden());
        QVERIFY(f.panel()->lstSongSearch->isEnabled() && f.songButtonsEnabled(false));

        const int row = 20;
        const std::string code(splitSongLine(f.lines()[row]).code);
        const auto song = std::find_if(f.library.songs.begin(), f.library.songs.end(),
                                       [&](const GeneratedSong& s) { return s.code == code; });
        QVERIFY(song != f.library.songs.end());
        f.clickRow(row);
        QCOMPARE(searchControllerOf(*f.window)->currentSong().code(), code);
        const QString lyric = f.panel()->txtSongContent->toPlainText();
        QVERIFY(lyric.startsWith(QString::fromStdString(cp874ToUtf8(song->titleLine))));
        QVERIFY(!lyric.contains(QLatin1Char('\r')));
        QCOMPARE(f.panel()->lstSongContent->item(1)->text(),
                 QString::fromStdString(cp874ToUtf8(song->artistLine)));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(song->midiPath));
        QVERIFY(f.songButtonsEnabled(true));
        f.clickRow(row, true);
        QVERIFY(!f.launcher.calls.empty() && f.launcher.calls.back().document);
        QCOMPARE(f.launcher.calls.back().program, song->midiPath);

        // Every-part search for nothing: only the separator, not counted.
        f.panel()->chkSearchAll->setChecked(true);
        f.search(QStringLiteral("no such text anywhere"));
        QCOMPARE(f.lines().size(), std::size_t{1});
        QCOMPARE(f.resultLine(), utf8("ค้นหาพบ 0 จาก 40 เพลง"));
        f.clickRow(0);
        QVERIFY(f.songButtonsEnabled(false));
        QCOMPARE(searchControllerOf(*f.window)->currentSong().code(), code);
        checkPrompt(f.prompt);
    }

    void lyricSearchSelectsTheFoundText() {
        SearchFixture f;
        const GeneratedSong& song = f.library.songs[30];
        dadaz::testing::writeBytes(song.lyricPath, song.titleLine + "\r\n" + song.artistLine +
                                                       "\r\nC\r\n\r\nla la\r\nthe FindMe here\r\n");
        f.panel()->chkSearchLyric->setChecked(true);
        f.search(QStringLiteral("find me"));
        QCOMPARE(f.lines().size(), std::size_t{1});
        f.clickRow(0);
        // The blank-free match; each line end is one character in the box.
        const QTextCursor cursor = f.panel()->txtSongContent->textCursor();
        QCOMPARE(cursor.selectedText(), QStringLiteral("FindMe"));
        const auto fields = QString::fromStdString(cp874ToUtf8(song.titleLine + song.artistLine));
        QCOMPARE(cursor.selectionStart(), static_cast<int>(fields.size()) + 15);
        checkPrompt(f.prompt);
    }

    void aSearchLeavesTheDatabaseToTheListPanelsRun() {
        SearchFixture f(false);
        // The search's own rebuild writes SongList.txt only, without messages.
        f.prompt.expectAsk(
            MessageIcon::Question, MessageButtons::YesNo,
            "ไม่พบแฟ้มรายการเพลงใน " + f.program.path() + "\n\nท่านต้องการดำเนินการต่อหรือไม่?",
            Answer::Yes);
        f.search({});
        QVERIFY(f.window->mode() == Mode::SongSearch);
        QVERIFY(!std::filesystem::exists(f.program / "List.vk2"));
        QCOMPARE(f.prompt.closingMessages, 0);
        f.search({});  // the catalogue is loaded: Enter only searches
        QCOMPARE(f.lines().size(), kSongs);

        f.window->selectMode(Mode::AddRenameLister);
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                       songlist_text::kChoiceOwnList, Answer::No)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                       songlist_text::kChoiceChecking, Answer::Yes)
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                       songlist_text::kOpenSongListQuestion, Answer::No);
        QTest::mouseClick(f.window->listerPanel()->btnLister, Qt::LeftButton);
        QVERIFY(std::filesystem::exists(f.program / "List.vk2") &&
                std::filesystem::exists(f.program / "Tarn.vk2"));
        QCOMPARE(f.prompt.closingMessages, 1);
        checkPrompt(f.prompt);
    }

    void keysAroundTheSearchBox() {
        SearchFixture f;
        QCheckBox* all = f.panel()->chkSearchAll;
        QCheckBox* lyric = f.panel()->chkSearchLyric;
        QLineEdit* box = f.panel()->txtSongSearch;
        all->setChecked(true);
        QVERIFY(!lyric->isEnabled() && !lyric->isChecked());
        // A "+" disables both options until the search; then the ticks rule again.
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("+1"));
        QVERIFY(!all->isEnabled() && !lyric->isEnabled());
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(all->isEnabled() && all->isChecked() && !lyric->isEnabled());

        // Typing in the result list starts a new search; Enter on an option only moves focus.
        f.panel()->lstSongSearch->setFocus();
        QTest::keyClick(f.panel()->lstSongSearch, Qt::Key_K);
        QCOMPARE(box->text(), QStringLiteral("k"));
        QVERIFY(box->cursorPosition() == 1 && !box->hasSelectedText());
        QCOMPARE(QApplication::focusWidget(), box);
        const std::vector<std::string> before = f.lines();
        all->setFocus();
        QTest::keyClick(all, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box);
        QVERIFY(f.lines() == before);
        checkPrompt(f.prompt);
    }

    void pageButtonsTurnThroughThreePages() {
        SearchFixture f(false);
        std::vector<std::string> songs;
        for (long i = 0; i < 2 * 32767 + 10; ++i)
            songs.push_back(std::to_string(100000 + i) + ";Title;Artist;C");
        f.writeSongList(songs);
        f.search({});
        QCOMPARE(f.lines().size(), std::size_t{32767});
        QCOMPARE(f.resultLine(), utf8("ค้นหาพบ 32,767 จาก 65,544 เพลง"));
        QCOMPARE(f.panel()->lblPage->text(), QStringLiteral("0/2"));
        QVERIFY(!f.panel()->btnPreviousPage->isEnabled() && f.panel()->btnNextPage->isEnabled());
        for (int turn = 0; turn < 2; ++turn)
            QTest::mouseClick(f.panel()->btnNextPage, Qt::LeftButton);
        QCOMPARE(f.panel()->lblPage->text(), QStringLiteral("2/2"));
        QVERIFY(f.panel()->btnPreviousPage->isEnabled() && !f.panel()->btnNextPage->isEnabled());
        QCOMPARE(f.lines().front().substr(0, 6), std::string("165534"));
        QCOMPARE(f.resultLine(), utf8("ค้นหาพบ 10 จาก 65,544 เพลง"));
        f.search(QStringLiteral("+1655"));  // a search hides the page controls
        QVERIFY(f.panel()->lblPage->isHidden());
        checkPrompt(f.prompt);
    }

    void theArtistBoxSearchesThePickedArtist() {
        SearchFixture f(false);
        // "Bravo" is also a title: a pick must list the artist's songs only.
        f.writeSongList({"1;Alpha;Bravo;C", "2;Bravo Song;Alpha;C", "3;Charlie;Bravo (live);C",
                         "4;Delta;Echo;C"});
        f.search(QStringLiteral("%A"));
        QComboBox* artists = f.panel()->cboArtist;
        QVERIFY(artists->isVisible() && f.lines().empty());
        QCOMPARE(artists->placeholderText(), utf8("เลือกชื่อศิลปินที่ต้องการ"));
        QStringList names;
        for (int i = 0; i < artists->count(); ++i) names << artists->itemText(i);
        QCOMPARE(names, (QStringList{"Alpha", "Bravo", "Echo"}));
        emit artists->activated(1);
        QCOMPARE(f.panel()->txtSongSearch->text(), QStringLiteral("+++Bravo"));
        // In the artist index's order, which sorts the whole entry "artist;record".
        QCOMPARE(f.lines(),
                 (std::vector<std::string>{"3;Charlie;Bravo (live);C", "1;Alpha;Bravo;C"}));
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(SearchPanelTest)
#include "search_panel_test.moc"
