#include <QListWidget>
#include <QProcess>
#include <memory>

#include "app/features.h"
#include "gui/window_fixture.h"
#include "songlist/songlist_run.h"

using namespace dadaz;

// `dadaz duplicates` and the duplicate frame of the window list the same lines with the same
// marks under every criterion, on one generated library with its song list.
class FindDuplicateCliTest : public QObject {
    Q_OBJECT

    std::unique_ptr<dadaz::testing::WindowFixture> f;

  private slots:
    void initTestCase() {
        f = std::make_unique<dadaz::testing::WindowFixture>();
        f->makeLibrary({.songs = 600, .newSongs = 0});
        attachFeatures(*f->window);
        f->window->hooks().stopPlayback = [] {};
        f->showActive();
        RunContext ctx = f->window->makeRunContext("Lister");
        runSongList(ctx);
        f->window->selectMode(Mode::FindDuplicate);
    }

    void commandLineAgreesWithTheWindow_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("by");
        for (const auto& [option, by] : {std::pair{"radFindSong", "title"},
                                         {"radFindSongArtist", "artist"},
                                         {"radFindSongMidi", "midi"},
                                         {"radFindAll", "all"}})
            QTest::newRow(by) << QString(option) << QString(by);
    }

    void commandLineAgreesWithTheWindow() {
        QFETCH(QString, option);
        QFETCH(QString, by);
        FindDuplicatePanel* panel = f->window->findDuplicatePanel();
        f->get<QRadioButton>(option.toUtf8().constData())->setChecked(true);
        panel->btnFindDuplicate->click();
        QListWidget* list = panel->lstSearchResult;
        QVERIFY(list->count() > 0);
        QByteArray expected;
        int marked = 0;
        for (int row = 0; row < list->count(); ++row) {
            const bool mark = list->item(row)->isSelected();
            marked += mark ? 1 : 0;
            expected += (mark ? "* " : "  ") + list->item(row)->text().toUtf8() + "\n";
        }
        expected += panel->lblResultCounter->text().toUtf8() + "\n";
        // Only the criteria that mark leave marks, so the marks are compared too.
        QCOMPARE(marked > 0, by == "artist" || by == "all");

        const GeneratedLibrary& library = f->library;
        QProcess cli;
        cli.start(DADAZ_CLI,
                  {"duplicates", "--program-folder", QString::fromStdString(f->program.path()),
                   "--midi", QString::fromStdString(library.midiFolder), "--lyric",
                   QString::fromStdString(library.lyricFolder), "--cursor",
                   QString::fromStdString(library.cursorFolder), "--by", by});
        QVERIFY(cli.waitForFinished(-1));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(cli.readAllStandardOutput(), expected);
    }

    void cleanupTestCase() { f.reset(); }
};

QTEST_MAIN(FindDuplicateCliTest)
#include "find_duplicate_cli_test.moc"
