#include <filesystem>

#include "app/features.h"
#include "catalogue/song_line.h"
#include "gui/window_fixture.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;

namespace {

// A generated library listed in the search mode; every song line shown.
struct RemoveFixture : dadaz::testing::WindowFixture {
    RemoveFixture() {
        makeLibrary({.songs = 30, .newSongs = 0, .extras = false});
        attachFeatures(*window);
        window->hooks().stopPlayback = [this] { ++stops; };
        showActive();
        listAllSongs();
        moveTo = program / "Invalid Files";
    }
    SongSearchPanel* panel() { return window->songSearchPanel(); }
    std::vector<std::string> lines() { return panel()->lstSongSearch->lines(); }
    std::string code(int row) { return std::string(splitSongLine(lines().at(row)).code); }
    // Where the song's lyric file lies (it goes with the song's other files).
    std::string lyricOf(const std::string& code) {
        return program / ("LYRICS/" + code.substr(0, 1) + "/" + code + ".LYR");
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        SongLineList* list = panel()->lstSongSearch;
        list->scrollTo(list->lineModel()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->lineModel()->index(row)).center());
    }
    // Control-clicks, as a user picks several lines.
    void selectRows(std::initializer_list<int> rows) {
        for (int row : rows) clickRow(row, Qt::ControlModifier);
    }
    bool removeButtonsEnabled() {
        return panel()->btnDeleteSong->isEnabled() || panel()->btnMoveSong->isEnabled();
    }

    std::string moveTo;
    int stops = 0;
};

}  // namespace

class RemoveSongsTest : public QObject {
    Q_OBJECT

  private slots:
    void oneLineAndSeveralLinesAreAskedAboutEachTheirWay() {
        RemoveFixture f;
        const std::size_t count = f.lines().size();
        const std::string code = f.code(5);
        f.clickRow(5);
        QVERIFY(f.removeButtonsEnabled() && !f.panel()->txtSongContent->toPlainText().isEmpty());
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "ท่านต้องการลบเพลงดังกล่าวออกจากระบบ ใช่หรือไม่?", Answer::No);
        QTest::mouseClick(f.panel()->btnDeleteSong, Qt::LeftButton);
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "ท่านต้องการย้ายเพลงดังกล่าวไปยังโฟลเดอร์ " + f.moveTo + " ใช่หรือไม่",
                           Answer::No);
        QTest::mouseClick(f.panel()->btnMoveSong, Qt::LeftButton);
        QCOMPARE(f.lines().size(), count);
        QVERIFY(std::filesystem::exists(f.lyricOf(code)) && !f.window->state().songsRemoved);
        QCOMPARE(QApplication::focusWidget(), f.panel()->txtSongSearch);

        f.clickRow(5);
        const int stopsBefore = f.stops;
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "ท่านต้องการลบเพลงดังกล่าวออกจากระบบ ใช่หรือไม่?", Answer::Yes);
        QTest::mouseClick(f.panel()->btnDeleteSong, Qt::LeftButton);
        QCOMPARE(f.lines().size(), count - 1);
        QVERIFY(f.code(5) != code && !std::filesystem::exists(f.lyricOf(code)));
        QVERIFY(f.window->state().songsRemoved && f.stops > stopsBefore);
        QVERIFY(f.panel()->txtSongContent->toPlainText().isEmpty() && !f.removeButtonsEnabled());
        QVERIFY(!f.panel()->btnEditLyric->isEnabled() && !f.panel()->btnReplaceSong->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.panel()->txtSongSearch);

        f.selectRows({0, 1});
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "ท่านต้องการย้ายเพลงที่ท่านเลือกไปยังโฟลเดอร์ " + f.moveTo + " ใช่หรือไม่",
                           Answer::No);
        QTest::mouseClick(f.panel()->btnMoveSong, Qt::LeftButton);
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::YesNo,
                           "ท่านต้องการลบเพลงที่ท่านเลือกออกจากระบบ ใช่หรือไม่?", Answer::Yes);
        QTest::mouseClick(f.panel()->btnDeleteSong, Qt::LeftButton);
        QCOMPARE(f.lines().size(), count - 3);
        checkPrompt(f.prompt);
    }

    // Ticked confirmation: no question but the missing folder's; a song that cannot go keeps
    // its line, selected, and is named in the closing message.
    void severalLinesMoveWithoutQuestionsButForTheMissingFolder() {
        RemoveFixture f;
        f.panel()->chkConfirmRemove->setChecked(true);
        std::filesystem::remove_all(f.moveTo);
        const std::string missing =
            "ไม่พบโฟลเดอร์ที่ท่านต้องการย้ายไปไว้!\n\nท่านต้องการสร้างสร้างโฟลเดอร์ดังกล่าวหรือไม่?";
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, missing, Answer::No);
        f.selectRows({2, 3});
        QTest::mouseClick(f.panel()->btnMoveSong, Qt::LeftButton);
        QVERIFY(!std::filesystem::exists(f.moveTo) && !f.window->state().songsRemoved);

        const std::size_t count = f.lines().size();
        const std::string two = f.code(2), three = f.code(3), blocked = f.code(7),
                          last = f.code(static_cast<int>(count) - 1);
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, missing, Answer::Yes);
        const std::string taken = f.moveTo + "/" + blocked + ".cur";
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                           "ย้ายเพลงต่อไปนี้ไม่ได้:\n     " + blocked + ": มีแฟ้ม " + taken +
                               " อยู่แล้ว\n\nเพลงเหล่านี้ยังอยู่ในรายการและยังถูกเลือกไว้",
                           Answer::Ok);
        f.selectRows({7, static_cast<int>(count) - 1});  // 2 and 3 are still selected
        f.window->hooks().stopPlayback = [&] {           // the folder is made before anything moves
            QVERIFY(std::filesystem::exists(f.moveTo));
            dadaz::testing::writeBytes(taken, "not ours");
            ++f.stops;
        };
        QTest::mouseClick(f.panel()->btnMoveSong, Qt::LeftButton);

        QCOMPARE(f.lines().size(), count - 3);
        QCOMPARE(f.panel()->lstSongSearch->selectedRows(), std::vector<int>{5});
        QCOMPARE(f.code(5), blocked);
        for (const std::string& code : {two, three, last}) {
            QVERIFY(!std::filesystem::exists(f.lyricOf(code)));
            for (const char* extension : {".MID", ".LYR", ".CUR"})
                QVERIFY(std::filesystem::exists(f.moveTo + "/" + code + extension));
        }
        QVERIFY(std::filesystem::exists(f.lyricOf(blocked)));
        QCOMPARE(dadaz::testing::readBytes(taken), std::string("not ours"));
        QVERIFY(f.window->state().songsRemoved && !f.removeButtonsEnabled());
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(RemoveSongsTest)
#include "remove_songs_test.moc"
