#include <QListWidget>
#include <filesystem>

#include "app/features.h"
#include "catalogue/song_line.h"
#include "duplicates/duplicate_texts.h"
#include "duplicates/gui/find_duplicate_window.h"
#include "gui/window_fixture.h"
#include "platform/codepage.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
namespace text = dadaz::duplicate_text;

namespace {

// A generated library with a fresh song list, in the duplicate mode after a title search.
struct DuplicateFixture : dadaz::testing::WindowFixture {
    DuplicateFixture() {
        makeLibrary({.songs = 80, .newSongs = 0, .extras = false});
        attachFeatures(*window);
        window->hooks().stopPlayback = [] {};
        showActive();
        buildSongList();
        window->selectMode(Mode::FindDuplicate);
        panel()->btnFindDuplicate->click();
    }
    FindDuplicatePanel* panel() { return window->findDuplicatePanel(); }
    static std::string lineAt(QListWidget* list, int row) {
        return utf16ToCp874(list->item(row)->text().toStdU16String());
    }
    static void click(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // The first song line that has a song line of its own group after it.
    static int songRowWithCopy(QListWidget* list) {
        for (int row = 0; row + 1 < list->count(); ++row)
            if (!isSeparatorLine(lineAt(list, row)) && !isSeparatorLine(lineAt(list, row + 1)))
                return row;
        return -1;
    }
    bool songFilesExist(const std::string& line) {
        const std::string code(splitSongLine(line).code);
        return std::filesystem::exists(program /
                                       ("LYRICS/" + code.substr(0, 1) + "/" + code + ".LYR"));
    }
    std::vector<std::string> logs() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(program / "Log"))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

}  // namespace

class FindDuplicateTest : public QObject {
    Q_OBJECT

  private slots:
    void marksCountersAndDeletionOfTheMarkedSong() {
        DuplicateFixture f;
        QListWidget* list = f.panel()->lstSearchResult;
        QVERIFY(list->count() > 2);
        QCOMPARE(f.panel()->lblResultCounter->text().toStdString(),
                 text::songCount(static_cast<std::size_t>(list->count())));
        QVERIFY(f.panel()->btnShowNewWindow->isEnabled());
        QVERIFY(!f.panel()->btnDeleteFile->isEnabled());

        int separator = -1;
        for (int row = 0; row < list->count() && separator < 0; ++row)
            if (isSeparatorLine(f.lineAt(list, row))) separator = row;
        QVERIFY(separator >= 0);
        f.click(list, separator);
        QVERIFY(!list->item(separator)->isSelected());

        // Every copy of a song marked: asked about, and No keeps them all.
        const int row = f.songRowWithCopy(list);
        QVERIFY(row >= 0 && !std::filesystem::exists(f.program / "Log"));
        int end = row;
        while (end < list->count() && !isSeparatorLine(f.lineAt(list, end))) f.click(list, end++);
        f.prompt
            .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo, text::deleteQuestion(),
                       Answer::Yes)
            .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNoDefaultNo,
                       text::everyCopyQuestion(1), Answer::No);
        f.panel()->btnDeleteFile->click();
        checkPrompt(f.prompt);
        QVERIFY(f.songFilesExist(f.lineAt(list, row)) && !f.window->state().songsRemoved);
        // The main window makes its log folder before it asks.
        QVERIFY(std::filesystem::is_directory(f.program / "Log"));

        for (int r = row; r < end; ++r)
            if (r != row + 1) f.click(list, r);
        const std::string line = f.lineAt(list, row + 1);
        QVERIFY(list->item(row + 1)->isSelected() && !list->item(row)->isSelected());
        QCOMPARE(f.panel()->lblSelectedCount->text().toStdString(), text::songCount(1));
        QVERIFY(f.panel()->lblSelectedCount->isVisible() && f.panel()->btnDeleteFile->isEnabled());
        QVERIFY(!f.panel()->txtLyricContent->toPlainText().isEmpty());

        f.prompt
            .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo, text::deleteQuestion(),
                       Answer::Yes)
            .expectInform(text::deleted());
        f.panel()->btnDeleteFile->click();
        checkPrompt(f.prompt);
        QVERIFY(!f.songFilesExist(line));
        QVERIFY(f.songFilesExist(f.lineAt(list, row)));
        for (int r = 0; r < list->count(); ++r) QVERIFY(f.lineAt(list, r) != line);
        QCOMPARE(f.logs().size(), std::size_t{1});
        QVERIFY(f.logs()[0].starts_with("DDUP"));
        QCOMPARE(dadaz::testing::readBytes(f.program / ("Log/" + f.logs()[0])), line + "\r\n");
        QVERIFY(f.window->state().songsRemoved);
        QVERIFY(!f.panel()->btnDeleteFile->isEnabled() &&
                !f.panel()->lblSelectedCount->isVisible());
    }

    void secondWindowRemovesWithoutChangingTheMainList() {
        DuplicateFixture f;
        QListWidget* list = f.panel()->lstSearchResult;
        const int count = list->count();
        const int row = f.songRowWithCopy(list) + 1;
        const std::string line = f.lineAt(list, row);
        bool ran = false;
        QTimer::singleShot(0, f.window.get(), [&] {
            auto* second = f.window->findChild<FindDuplicateWindow*>("frmFindDuplicate");
            QVERIFY(second && second->isVisible());
            QCOMPARE(second->windowTitle(), QString::fromUtf8(text::kWindowCaption));
            QCOMPARE(second->lstSearchResult->count(), count);
            f.click(second->lstSearchResult, row);
            QCOMPARE(second->lblSelectSong->text().toStdString(), text::selectedInWindow(1));
            // Cancel keeps the window open with its marks.
            f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                               text::closeWindowQuestion(), Answer::Cancel);
            second->close();
            QVERIFY(second->isVisible() && second->lstSearchResult->item(row)->isSelected());
            // The second window makes it only after Yes.
            f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                               text::deleteQuestion(), Answer::No);
            second->btnDeleteFile->click();
            QVERIFY(!std::filesystem::exists(f.program / "Log"));
            f.prompt
                .expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo, text::deleteQuestion(),
                           Answer::Yes)
                .expectInform(text::deleted());
            second->btnDeleteFile->click();
            QCOMPARE(second->lstSearchResult->count(), count - 1);
            second->close();
            ran = true;
        });
        f.panel()->btnShowNewWindow->click();
        QVERIFY(ran);
        checkPrompt(f.prompt);
        QVERIFY(!f.songFilesExist(line));
        QCOMPARE(f.lineAt(list, row), line);
        QVERIFY(f.window->state().songsRemoved);

        // Searching again (the song list rebuilt first) no longer finds it.
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                           text::staleSongListQuestion(), Answer::Yes);
        f.panel()->btnFindDuplicate->click();
        checkPrompt(f.prompt);
        for (int r = 0; r < list->count(); ++r) QVERIFY(f.lineAt(list, r) != line);
    }
};

QTEST_MAIN(FindDuplicateTest)
#include "find_duplicate_test.moc"
