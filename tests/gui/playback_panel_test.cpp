#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "gui/window_fixture.h"
#include "platform/codepage.h"
#include "playback/gui/playback_panel.h"
#include "playback/mci.h"
#include "playback/playback_controller.h"
#include "playback/playback_messages.h"
#include "playback/smf_builder.h"

using namespace dadaz;
using dadaz::testing::readBytes;

namespace {

const std::string kSeparator(100, '-');

// A library of 20 songs whose first four last 65, 187, 5 and 7 s, played silently on a clock
// that moves only when the test says.
struct PlaybackFixture : dadaz::testing::WindowFixture {
    ManualPlaybackClock clock;
    Mci mci{MciOptions::silent(&clock)};
    PlaybackPanel* playback = nullptr;
    SongSearchPanel* search = window->songSearchPanel();

    explicit PlaybackFixture(GeneratorLayout layout = GeneratorLayout::Separate) {
        GeneratorOptions options;
        options.songs = 20;
        options.layout = layout;
        options.songsPerVolume = 10;
        options.extras = false;
        makeLibrary(options);
        for (std::size_t i = 0; i < 4; ++i) {
            const std::uint32_t lengths[] = {65000, 187000, 5000, 7000};
            dadaz::testing::writeBytes(library.songs[i].midiPath,
                                       dadaz::testing::smf::songOfLength(lengths[i]));
        }
        window->fileSystem().forgetIndexes();  // the window indexed the folder before the library
        playback = attachPlayback(*window, &mci);
        window->show();
        window->selectMode(Mode::SongSearch);
    }
    ~PlaybackFixture() { window.reset(); }  // the panel goes before the Mci it uses

    std::string line(std::size_t i) const {
        const GeneratedSong& song = library.songs[i];
        std::string text =
            song.code + ";" + song.titleLine + ";" + song.artistLine + ";" + song.keyLine;
        return song.volume.empty() ? text : text + ";" + library.programFolder + "/" + song.volume;
    }
    void showResults(std::vector<std::string> lines, int current) {
        search->lstSongSearch->setLines(std::move(lines));
        search->lstSongSearch->setCurrentRow(current);
        search->btnPlaySong->setEnabled(true);
    }
    void tickAfter(std::int64_t ms) {  // Timer1 after `ms`
        clock.advanceMs(ms);
        window->clockTick();
    }
    int row() const { return search->lstSongSearch->currentRow(); }
    bool playing() const {  // and showing its times
        return search->btnStopSong->isEnabled() && !search->btnPlaySong->isEnabled() &&
               playback->controller().playing() && !search->txtBeforeEdit->isHidden();
    }
    QString length() const { return search->txtAfterEdit->text(); }
};

}  // namespace

class PlaybackPanelTest : public QObject {
    Q_OBJECT

  private slots:
    // In the multi-folder layout: songs play from their volume and reset there.
    void playShowsTheTimesAndStopModeChangeAndClosingStopIt() {
        PlaybackFixture f(GeneratorLayout::Multi);
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QVERIFY(f.playing() && !f.search->txtAfterEdit->isHidden());
        QCOMPARE(f.length(), QStringLiteral("1:05"));
        f.tickAfter(62400);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("1:02"));
        f.search->btnStopSong->click();
        QVERIFY(f.search->btnPlaySong->isEnabled() && !f.search->btnStopSong->isEnabled() &&
                f.search->txtBeforeEdit->isHidden());
        QVERIFY(f.length().isEmpty() && f.search->txtBeforeEdit->text().isEmpty());
        const std::string volume = f.program / f.library.songs[0].volume;
        QCOMPARE(readBytes(volume + "/SONG/reset.mid").size(), std::size_t(70));  // first stop
        QVERIFY(!std::filesystem::exists(f.library.midiFolder + "/reset.mid"));

        f.search->btnPlaySong->click();
        f.window->selectMode(Mode::AddRenameLister);
        QVERIFY(!f.playback->controller().playing() && !f.search->btnStopSong->isEnabled());
        f.window->selectMode(Mode::SongSearch);
        f.search->btnPlaySong->click();
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                           Answer::Yes, "Exit Program");
        QVERIFY(f.window->close());
        QVERIFY(!f.playback->controller().playing());
        dadaz::testing::checkPrompt(f.prompt);
    }

    void theEndOfASongPlaysTheNextLineUnlessTheUserLeft() {
        PlaybackFixture f;
        f.showResults({f.line(2), kSeparator, f.line(3)}, 0);
        f.search->btnPlaySong->click();
        f.tickAfter(5000);  // on to the separator: selected, nothing plays
        QCOMPARE(f.row(), 1);
        QVERIFY(!f.playback->controller().playing());
        f.tickAfter(1000);  // past it
        QCOMPARE(f.row(), 2);
        QCOMPARE(f.length(), QStringLiteral("0:07"));
        f.tickAfter(7000);  // after the last line comes the first
        QVERIFY(f.playing() && f.row() == 0);

        // Leaving the mode while on the separator: no song starts in the hidden panel.
        f.tickAfter(5000);
        f.window->selectMode(Mode::FindDuplicate);
        f.tickAfter(1000);
        f.window->selectMode(Mode::SongSearch);
        f.tickAfter(1000);
        QCOMPARE(f.row(), 1);
        QVERIFY(!f.playback->controller().playing());

        f.showResults({f.line(2), f.line(3)}, 0);  // two lines do not move on
        f.search->btnPlaySong->click();
        f.tickAfter(5000);
        QCOMPARE(f.row(), 0);
    }

    void refusedFilesAreNotPlayedAndATooLargeOneIsTold() {
        PlaybackFixture f;
        const std::string big = f.library.songs[1].midiPath;
        dadaz::testing::writeBytes(big, std::string(9 << 20, 'M').replace(0, 4, "MThd"));
        f.showResults({f.line(0), f.line(1), "../../x;T;A;C", kSeparator}, 1);
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           playback_text::fileTooLarge(big), Answer::Ok);
        for (int row : {1, 2, 3}) {
            f.search->lstSongSearch->setCurrentRow(row);
            f.search->btnPlaySong->click();
            QVERIFY(!f.playback->controller().playing() && f.length().isEmpty());
        }
        dadaz::testing::checkPrompt(f.prompt);
    }

    void duplicateModePlaysItsResultAndNeverMovesTheSearchList() {
        PlaybackFixture f;
        f.showResults({f.line(2), f.line(3), f.line(0)}, 0);
        f.window->selectMode(Mode::FindDuplicate);
        FindDuplicatePanel* duplicates = f.window->findDuplicatePanel();
        for (const std::string& line : {f.line(0), kSeparator})
            duplicates->lstSearchResult->addItem(QString::fromStdString(cp874ToUtf8(line)));
        duplicates->lstSearchResult->setCurrentRow(0);
        duplicates->btnPlayMIDI->setEnabled(true);
        duplicates->btnPlayMIDI->click();
        QVERIFY(f.playback->controller().playing());
        QVERIFY(duplicates->btnStopMIDI->isEnabled() && !duplicates->btnPlayMIDI->isEnabled());
        QVERIFY(f.length().isEmpty());
        f.tickAfter(66000);  // its end leaves the search results alone
        QCOMPARE(f.row(), 0);
        duplicates->btnStopMIDI->click();
        QVERIFY(duplicates->btnPlayMIDI->isEnabled() && !duplicates->btnStopMIDI->isEnabled());
        duplicates->lstSearchResult->setCurrentRow(1);  // a separator names no song
        duplicates->btnPlayMIDI->click();
        QVERIFY(!f.playback->controller().playing());
    }
};

QTEST_MAIN(PlaybackPanelTest)
#include "playback_panel_test.moc"
