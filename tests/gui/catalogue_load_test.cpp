#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "catalogue/gui/search_controller.h"
#include "gui/window_fixture.h"
#include "platform/codepage.h"

using namespace dadaz;

class CatalogueLoadTest : public QObject {
    Q_OBJECT

  private slots:
    // The window closes once every line of a long song list is read, while the indexes are
    // still being built (each artist a Thai name of its own, which takes the collator long):
    // closing stops and joins that work before the catalogue is emptied.
    void closingDuringALoadStopsItFirst() {
        dadaz::testing::WindowFixture f;
        std::string list = "note\r\ncolumns\r\n", artist = utf8ToCp874(";T;ศิลปิน");
        for (int code = 100000; code < 200000; ++code)
            list += std::to_string(code) + artist + std::to_string(code) + ";C\r\n";
        dadaz::testing::writeBytes(f.program / "SongList.txt", list);
        attachCatalogue(*f.window);
        f.window->selectMode(Mode::SongSearch);
        f.showActive();
        SearchController* search = searchControllerOf(*f.window);
        const Catalogue& catalogue = search->session().catalogue();
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                           Answer::Yes, "Exit Program");
        bool closedWhileLoading = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (!search->running() || catalogue.totalSongs() < 100000) return;
            closer.stop();
            closedWhileLoading = true;
            f.window->close();
        });
        closer.start(0);
        f.key(Qt::Key_Return, f.get<QLineEdit>("txtSongSearch"));
        QVERIFY(closedWhileLoading && !f.window->isVisible() && catalogue.empty());
        dadaz::testing::checkPrompt(f.prompt);
    }
};

QTEST_MAIN(CatalogueLoadTest)
#include "catalogue_load_test.moc"
