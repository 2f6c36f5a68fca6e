#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "catalogue/gui/search_controller.h"
#include "generator/library_generator.h"
#include "gui/gui_test_support.h"
#include "platform/codepage.h"
#include "shell/main_window.h"
#include "songlist/songlist_run.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::utf8;

namespace {

constexpr std::size_t kSongs = 40;

std::string codeOf(const std::string& line);

// A generated library whose program folder the window detects, with the search attached.
struct SearchFixture {
    dadaz::testing::TempDir dir;
    std::string program = dir / "program";
    GeneratedLibrary library;
    dadaz::testing::ScriptedPrompt prompt;
    dadaz::testing::RecordingLauncher launcher;
    std::unique_ptr<MainWindow> window;

    explicit SearchFixture(bool writeSongList = true) {
        GeneratorOptions options;
        options.songs = kSongs;
        options.newSongs = 0;
        options.extras = false;
        library = generateLibrary(program, options);
        // The song list run asks for a missing move-to folder.
        std::filesystem::create_directories(program + "/Invalid Files");
        window = std::make_unique<MainWindow>(program);
        window->setPrompt(prompt);
        window->setLauncher(launcher);
        window->show();
        window->runFolderDetection(0);
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window is not active");
        attachCatalogue(*window);
        window->selectMode(Mode::SongSearch);
        if (writeSongList) {
            // The own list only: no questions about the players' database.
            window->state().catalogueRequested = true;
            RunContext ctx = window->makeRunContext("Lister");
            runSongList(ctx);
            window->state().catalogueRequested = false;
        }
    }

    SongSearchPanel* panel() const { return window->songSearchPanel(); }

    // Types `text` into the search box and lets Enter go, as the user does.
    void search(const QString& text) {
        panel()->txtSongSearch->setText(text);
        panel()->txtSongSearch->setFocus();
        QTest::keyClick(panel()->txtSongSearch, Qt::Key_Return);
    }

    std::vector<std::string> resultLines() const { return panel()->lstSongSearch->lines(); }

    int rowOf(std::string_view code) const {
        const auto& lines = resultLines();
        for (std::size_t row = 0; row < lines.size(); ++row)
            if (codeOf(lines[row]) == code) return static_cast<int>(row);
        return -1;
    }

    void clickRow(int row) {
        SongLineList* list = panel()->lstSongSearch;
        const QRect rect = list->visualRect(list->lineModel()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    bool songButtonsEnabled(bool enabled) const {
        for (QPushButton* button :
             {panel()->btnMoveSong, panel()->btnDeleteSong, panel()->btnExportSong,
              panel()->btnReplaceSong, panel()->btnEditLyric, panel()->btnAddSelectList})
            if (button->isEnabled() != enabled) return false;
        return true;
    }

    const GeneratedSong* song(const std::string& code) const {
        for (const GeneratedSong& song : library.songs)
            if (song.code == code) return &song;
        return nullptr;
    }

    void checkPrompt() const {
        for (const std::string& mismatch : prompt.mismatches()) qWarning("%s", mismatch.c_str());
        QVERIFY(prompt.mismatches().empty());
        QVERIFY(prompt.finished());
    }
};

QString resultLineFor(long found, long total) {
    return utf8("ค้นหาพบ ") + QString::number(found) + utf8(" จาก ") + QString::number(total) +
           utf8(" เพลง");
}

// The code field of a song line, without the blanks SongList.txt pads it with.
std::string codeOf(const std::string& line) {
    std::string code = line.substr(0, line.find(';'));
    while (!code.empty() && code.back() == ' ') code.pop_back();
    return code;
}

std::string titleOf(const std::string& line) {
    const std::size_t first = line.find(';');
    return line.substr(first + 1, line.find(';', first + 1) - first - 1);
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

class SearchPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void enterWithAnEmptyQueryListsTheFirstPage() {
        SearchFixture f;
        QVERIFY(f.library.ok);
        f.search({});
        const long found = static_cast<long>(f.resultLines().size());
        QCOMPARE(found, static_cast<long>(kSongs));
        QCOMPARE(f.panel()->lblSongSearchResult->text(), resultLineFor(found, found));
        QVERIFY(f.panel()->lblSongSearchResult->isVisible());
        // One page: no page controls; the run is over.
        QVERIFY(f.panel()->lblPage->isHidden());
        QVERIFY(f.panel()->btnNextPage->isHidden());
        QVERIFY(f.panel()->btnCancelSearch->isHidden());
        QVERIFY(f.panel()->lstSongSearch->isEnabled());
        QVERIFY(f.window->state().catalogueLoaded);
        f.checkPrompt();
    }

    void titleSearchIgnoresCase() {
        SearchFixture f;
        f.search({});
        std::string key;
        for (const std::string& line : f.resultLines()) {
            const std::string title = titleOf(line);
            if (title.size() >= 3 && isAsciiLetter(title[0]) && isAsciiLetter(title[1])) {
                key = title.substr(0, 2);
                break;
            }
        }
        QVERIFY2(!key.empty(), "the library has a Latin title");
        QString lower = QString::fromStdString(key).toLower();
        QString upper = QString::fromStdString(key).toUpper();
        f.search(QStringLiteral("++") + lower);
        const std::vector<std::string> small = f.resultLines();
        f.search(QStringLiteral("  ++") + upper + QStringLiteral("  "));
        // Enter trims the search text.
        QCOMPARE(f.panel()->txtSongSearch->text(), QStringLiteral("++") + upper);
        QVERIFY(!small.empty());
        QVERIFY(small == f.resultLines());
        for (const std::string& line : small)
            QVERIFY(QString::fromStdString(titleOf(line))
                        .trimmed()
                        .startsWith(lower, Qt::CaseInsensitive));
        QCOMPARE(f.panel()->lblSongSearchResult->text(),
                 resultLineFor(static_cast<long>(small.size()), kSongs));
        f.checkPrompt();
    }

    void aClickShowsTheSongAndASeparatorDisablesTheButtons() {
        SearchFixture f;
        f.search({});
        QVERIFY(f.songButtonsEnabled(false));
        const int row = 20;
        const std::string code = codeOf(f.resultLines()[row]);
        const GeneratedSong* song = f.song(code);
        QVERIFY(song != nullptr);
        f.clickRow(row);

        SearchController* controller = searchControllerOf(*f.window);
        QVERIFY(controller != nullptr);
        QCOMPARE(controller->currentSongCode(), code);
        const QString lyric = f.panel()->txtSongContent->toPlainText();
        QVERIFY(lyric.startsWith(QString::fromStdString(cp874ToUtf8(song->titleLine))));
        QVERIFY(!lyric.contains(QLatin1Char('\r')));
        QVERIFY(f.panel()->lstSongContent->count() >= 4);
        QCOMPARE(f.panel()->lstSongContent->item(1)->text(),
                 QString::fromStdString(cp874ToUtf8(song->artistLine)));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(song->midiPath));
        QVERIFY(f.songButtonsEnabled(true));

        // A double click opens the MIDI file (no player in the program folder).
        SongLineList* list = f.panel()->lstSongSearch;
        const QPoint point = list->visualRect(list->lineModel()->index(row)).center();
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QVERIFY(!f.launcher.calls.empty());
        QVERIFY(f.launcher.calls.back().document);
        QCOMPARE(f.launcher.calls.back().program, song->midiPath);

        // Every-part search for nothing: only the separator line, not counted.
        f.panel()->chkSearchAll->setChecked(true);
        f.search(QStringLiteral("no such text anywhere"));
        QCOMPARE(f.resultLines().size(), std::size_t{1});
        QVERIFY(f.resultLines()[0].starts_with("-----"));
        QCOMPARE(f.panel()->lblSongSearchResult->text(), resultLineFor(0, kSongs));
        f.clickRow(0);
        QVERIFY(f.songButtonsEnabled(false));
        QCOMPARE(controller->currentSongCode(), code);
        f.checkPrompt();
    }

    void lyricSearchSelectsTheFoundText() {
        SearchFixture f;
        const GeneratedSong& song = f.library.songs[30];
        // A word from deep in the lyric, after several line ends.
        const std::string lyric = dadaz::testing::readBytes(song.lyricPath);
        std::size_t lineStart = 0;
        for (int line = 0; line < 6; ++line) lineStart = lyric.find("\r\n", lineStart) + 2;
        const std::size_t wordEnd = lyric.find_first_of(" \r", lineStart);
        const std::string word = lyric.substr(lineStart, wordEnd - lineStart);
        QVERIFY2(word.size() >= 2, word.c_str());
        const QString query = QString::fromStdString(cp874ToUtf8(word));

        f.panel()->chkSearchLyric->setChecked(true);
        QVERIFY(!f.panel()->chkSearchAll->isEnabled());
        f.search(query);
        const int row = f.rowOf(song.code);
        QVERIFY(row >= 0);
        f.clickRow(row);
        QCOMPARE(f.panel()->txtSongContent->textCursor().selectedText().toLower(), query.toLower());
        f.checkPrompt();
    }

    void aMissingSongListIsAskedAbout() {
        SearchFixture f(false);
        const std::string question =
            "ไม่พบแฟ้มรายการเพลงใน " + f.program + "\n\nท่านต้องการดำเนินการต่อหรือไม่?";
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::No);
        f.search({});
        QVERIFY(f.resultLines().empty());
        QVERIFY(!std::filesystem::exists(f.program + "/SongList.txt"));

        // Yes builds the list, then loads and lists it.
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::Yes);
        f.search({});
        QVERIFY(std::filesystem::exists(f.program + "/SongList.txt"));
        QCOMPARE(f.resultLines().size(), kSongs);
        QVERIFY(f.window->mode() == Mode::SongSearch);
        f.checkPrompt();
    }

    void aChangedLibraryIsAskedAboutFirst() {
        SearchFixture f;
        f.window->state().songsAdded = true;
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                           "ท่านได้ทำการเพิ่มเพลง, เปลี่ยนชื่อแฟ้ม หรือ ลบเพลงซ้ำ "
                           "แต่ยังไม่ได้สร้างรายการเพลง!\n\n"
                           "Yes  สร้างรายการเพลงก่อนดำเนินการต่อ\n"
                           "No   ดำเนินการต่อ\n"
                           "Cancel ยกเลิกการค้นหา",
                           Answer::Cancel);
        f.search({});
        QVERIFY(f.resultLines().empty());
        f.checkPrompt();
    }

    void aPlusDisablesBothOptionsUntilTheSearch() {
        SearchFixture f;
        QCheckBox* all = f.panel()->chkSearchAll;
        QCheckBox* lyric = f.panel()->chkSearchLyric;
        all->setChecked(true);
        QVERIFY(!lyric->isEnabled());
        QVERIFY(!lyric->isChecked());

        QLineEdit* box = f.panel()->txtSongSearch;
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("+1"));
        QVERIFY(!all->isEnabled());
        QVERIFY(!lyric->isEnabled());
        QTest::keyClick(box, Qt::Key_Return);
        // After the search the ticks rule again.
        QVERIFY(all->isEnabled());
        QVERIFY(!lyric->isEnabled());
        QVERIFY(all->isChecked());
        for (const std::string& line : f.resultLines()) QVERIFY(line.starts_with("1"));

        box->clear();
        QTest::keyClicks(box, QStringLiteral("a"));
        QVERIFY(all->isEnabled());
        all->setChecked(false);
        QVERIFY(lyric->isEnabled());
        f.checkPrompt();
    }

    void typingInTheResultListGoesToTheSearchBox() {
        SearchFixture f;
        f.search({});
        QLineEdit* box = f.panel()->txtSongSearch;
        SongLineList* list = f.panel()->lstSongSearch;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_K);
        QCOMPARE(box->text(), QStringLiteral("k"));
        QCOMPARE(box->cursorPosition(), 1);
        QVERIFY(!box->hasSelectedText());
        QCOMPARE(QApplication::focusWidget(), box);

        // Enter on an option only moves the focus: no new search starts.
        box->setText(QStringLiteral("++zzzz"));
        const std::vector<std::string> before = f.resultLines();
        f.panel()->chkSearchLyric->setFocus();
        QTest::keyClick(f.panel()->chkSearchLyric, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->cursorPosition(), 6);
        QVERIFY(f.resultLines() == before);
        f.checkPrompt();
    }

    void pageButtonsTurnThroughThreePages() {
        SearchFixture f(false);
        // Two header lines, then two full pages and a short third one.
        const long total = 2 * 32767 + 10;
        std::string list = "Code;Title;Artist;Key\r\n-;-;-;-\r\n";
        for (long i = 0; i < total; ++i)
            list += std::to_string(100000 + i) + ";Title " + std::to_string(i) + ";Artist;C\r\n";
        dadaz::testing::writeBytes(f.program + "/SongList.txt", list);
        f.search({});
        QCOMPARE(f.resultLines().size(), std::size_t{32767});
        QCOMPARE(f.panel()->lblSongSearchResult->text(), utf8("ค้นหาพบ 32,767 จาก 65,544 เพลง"));
        QVERIFY(f.panel()->lblPage->isVisible());
        QCOMPARE(f.panel()->lblPage->text(), QStringLiteral("0/2"));
        QVERIFY(!f.panel()->btnPreviousPage->isEnabled());
        QVERIFY(f.panel()->btnNextPage->isEnabled());

        QTest::mouseClick(f.panel()->btnNextPage, Qt::LeftButton);
        QTest::mouseClick(f.panel()->btnNextPage, Qt::LeftButton);
        QCOMPARE(f.panel()->lblPage->text(), QStringLiteral("2/2"));
        QVERIFY(!f.panel()->btnNextPage->isEnabled());
        QVERIFY(f.panel()->btnPreviousPage->isEnabled());
        QCOMPARE(f.resultLines().size(), std::size_t{10});
        QCOMPARE(codeOf(f.resultLines()[0]), std::string("165534"));
        QCOMPARE(f.panel()->lblSongSearchResult->text(), utf8("ค้นหาพบ 10 จาก 65,544 เพลง"));

        // A search runs over every page and hides the page controls: 165500 to 165543 lie
        // at the end of page 1 and on page 2.
        f.search(QStringLiteral("+1655"));
        QVERIFY(f.panel()->lblPage->isHidden());
        QCOMPARE(f.resultLines().size(), std::size_t{44});
        QCOMPARE(f.panel()->lblSongSearchResult->text(), utf8("ค้นหาพบ 44 จาก 65,544 เพลง"));
        f.checkPrompt();
    }

    void theArtistBoxSearchesThePickedName() {
        SearchFixture f;
        f.search(QStringLiteral("%A"));
        QComboBox* artists = f.panel()->cboArtist;
        QVERIFY(artists->isVisible());
        QVERIFY(artists->count() > 0);
        QVERIFY(f.resultLines().empty());
        QCOMPARE(artists->placeholderText(), utf8("เลือกชื่อศิลปินที่ต้องการ"));
        const QString name = artists->itemText(0);
        emit artists->activated(0);
        QCOMPARE(f.panel()->txtSongSearch->text(), QStringLiteral("+++") + name);
        QVERIFY(!f.resultLines().empty());
        f.checkPrompt();
    }
};

QTEST_MAIN(SearchPanelTest)
#include "search_panel_test.moc"
