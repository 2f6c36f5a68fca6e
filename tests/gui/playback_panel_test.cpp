#include <QCheckBox>
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
#include "playback/recording_sink.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"

using namespace dadaz;
using dadaz::testing::readBytes;

namespace {

const std::string kSeparator(100, '-');

// A library of 20 songs whose first four last 65, 187, 5 and 7 s, played into a recorder on a
// clock that moves only when the test says; the first `soundFailures` plays find no device.
struct PlaybackFixture : dadaz::testing::WindowFixture {
    ManualPlaybackClock clock;
    std::shared_ptr<dadaz::testing::SinkLog> log = std::make_shared<dadaz::testing::SinkLog>();
    Mci mci{MciOptions::withSink(&clock, dadaz::testing::RecordingSink::factory(log))};
    PlaybackPanel* playback = nullptr;
    SongSearchPanel* search = window->songSearchPanel();

    explicit PlaybackFixture(GeneratorLayout layout = GeneratorLayout::Separate,
                             int soundFailures = 0) {
        log->failuresLeft = soundFailures;
        GeneratorOptions options;
        options.songs = 20;
        options.layout = layout;
        options.songsPerVolume = 10;
        options.newSongs = 0;
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
    bool playing() const {
        return search->btnStopSong->isEnabled() && !search->btnPlaySong->isEnabled() &&
               playback->controller().playing();
    }
    QString length() const { return search->txtAfterEdit->text(); }
    std::string resetFile() const { return library.midiFolder + "/reset.mid"; }
};

}  // namespace

class PlaybackPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void playShowsTheLengthTheClockThePositionAndStopResets() {
        PlaybackFixture f;
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QVERIFY(f.playing());
        QVERIFY(!f.search->txtBeforeEdit->isHidden() && !f.search->txtAfterEdit->isHidden());
        QCOMPARE(f.length(), QStringLiteral("1:05"));
        f.tickAfter(62400);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("1:02"));

        f.search->btnStopSong->click();
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(f.search->btnPlaySong->isEnabled() && !f.search->btnStopSong->isEnabled());
        QVERIFY(f.search->txtBeforeEdit->isHidden());
        QVERIFY(f.length().isEmpty() && f.search->txtBeforeEdit->text().isEmpty());
        QCOMPARE(readBytes(f.resetFile()), resetFileBytes());  // written at the first stop
    }

    void theEndOfASongPlaysTheNextLineUnlessTheUserLeft() {
        PlaybackFixture f;
        f.showResults({f.line(2), kSeparator, f.line(3), f.line(0)}, 0);
        f.search->btnPlaySong->click();
        f.tickAfter(5000);  // on to the separator: selected, nothing plays
        QCOMPARE(f.row(), 1);
        QVERIFY(!f.playback->controller().playing());
        f.tickAfter(1000);  // past it
        QCOMPARE(f.row(), 2);
        QCOMPARE(f.length(), QStringLiteral("0:07"));
        f.tickAfter(7000);
        f.tickAfter(65000);  // after the last line comes the first
        QCOMPARE(f.row(), 0);
        QVERIFY(f.playing());
        QCOMPARE(f.length(), QStringLiteral("0:05"));

        // Leaving the mode while on the separator: no song starts in the hidden panel.
        f.tickAfter(5000);
        QCOMPARE(f.row(), 1);
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

    void refusedFilesAndSilentPlayAreToldOnce() {
        PlaybackFixture f(GeneratorLayout::Separate, 1);
        const std::string big = f.library.songs[1].midiPath;
        dadaz::testing::writeBytes(big,
                                   std::string(kMaxMidiFileBytes + 1, 'M').replace(0, 4, "MThd"));
        dadaz::testing::writeBytes(f.library.songs[2].midiPath, "RIFF\x10 not a song");
        f.showResults({f.line(0), f.line(1), f.line(2), "../../x;T;A;C", kSeparator}, 1);
        f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                           playback_text::fileTooLarge(big), Answer::Ok);
        for (int row : {1, 2, 3, 4}) {
            f.search->lstSongSearch->setCurrentRow(row);
            f.search->btnPlaySong->click();
            QVERIFY2(!f.playback->controller().playing(), qPrintable(QString::number(row)));
            QVERIFY(f.search->btnPlaySong->isEnabled() && f.length().isEmpty());
        }
        QVERIFY(!std::filesystem::exists(f.resetFile()));

        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                           playback_text::soundProblem(f.log->problem), Answer::Ok);
        f.search->lstSongSearch->setCurrentRow(0);
        for (int play = 0; play < 2; ++play) {  // the second play sounds, without a word
            f.search->btnPlaySong->click();
            QVERIFY(f.playing());
            f.search->btnStopSong->click();
        }
        QCOMPARE(f.log->opened, 1);
        dadaz::testing::checkPrompt(f.prompt);
    }

    void switchingModeOrClosingStopsTheSong() {
        PlaybackFixture f;
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        f.window->selectMode(Mode::AddRenameLister);
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(!f.search->btnStopSong->isEnabled() && f.length().isEmpty());

        f.window->selectMode(Mode::SongSearch);
        f.search->btnPlaySong->click();
        QVERIFY(f.playing());
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                           Answer::Yes, "Exit Program");
        QVERIFY(f.window->close());
        QVERIFY(!f.playback->controller().playing());
        dadaz::testing::checkPrompt(f.prompt);
    }

    void duplicateModePlaysItsResultAndNeverMovesTheSearchList() {
        PlaybackFixture f;
        f.showResults({f.line(1), f.line(2), f.line(3)}, 0);
        f.window->selectMode(Mode::FindDuplicate);
        FindDuplicatePanel* duplicates = f.window->findDuplicatePanel();
        for (const std::string& line : {f.line(0), f.line(14), kSeparator})
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
        QCOMPARE(readBytes(f.resetFile()), resetFileBytes());
        duplicates->lstSearchResult->setCurrentRow(2);  // a separator names no song
        duplicates->btnPlayMIDI->click();
        QVERIFY(!f.playback->controller().playing());
    }

    void multiFolderSongsPlayFromTheirVolumeAndResetThere() {
        PlaybackFixture f(GeneratorLayout::Multi);
        const GeneratedSong& song = f.library.songs[0];
        QVERIFY(!song.volume.empty());
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QCOMPARE(f.length(), QStringLiteral("1:05"));
        f.search->btnStopSong->click();
        QCOMPARE(readBytes(f.program / song.volume + "/SONG/reset.mid"), resetFileBytes());
        QVERIFY(!std::filesystem::exists(f.program / "reset.mid"));
    }
};

QTEST_MAIN(PlaybackPanelTest)
#include "playback_panel_test.moc"
