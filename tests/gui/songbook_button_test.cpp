#include <filesystem>

#include "app/features.h"
#include "gui/window_fixture.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;

class SongBookButtonTest : public QObject {
    Q_OBJECT
  private slots:
    void printsTheListAndOpensIt() {
        dadaz::testing::WindowFixture f;
        f.makeLibrary({.songs = 30, .newSongs = 0, .extras = false});
        attachFeatures(*f.window);
        QPushButton* button = f.window->listerPanel()->btnSongBook;
        QVERIFY(button->isEnabled());
        const std::string book = f.program / "SongBook.pdf";

        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           "ไม่พบแฟ้มรายการเพลง SongList.txt\n\nกรุณาสร้างรายการเพลงก่อน", Answer::Ok);
        button->click();
        QVERIFY(!std::filesystem::exists(book) && f.launcher.calls.empty());

        f.buildSongList();
        QVERIFY(button->isEnabled());  // again after the runs
        f.prompt.expectInform("สร้างสมุดรายชื่อเพลงเรียบร้อยแล้ว: " + book + "\n30 เพลง 3 หน้า");
        button->click();
        QVERIFY(std::filesystem::file_size(book) > 1000);
        QCOMPARE(f.launcher.calls.size(), std::size_t{1});
        QCOMPARE(f.launcher.calls[0].program, book);
        checkPrompt(f.prompt);
    }
};

QTEST_MAIN(SongBookButtonTest)
#include "songbook_button_test.moc"
