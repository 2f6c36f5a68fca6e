#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "generator/library_generator.h"
#include "gui/gui_test_support.h"
#include "platform/codepage.h"
#include "playback/gui/playback_panel.h"
#include "playback/mci.h"
#include "playback/playback_clock.h"
#include "playback/playback_controller.h"
#include "playback/reset_file.h"
#include "playback/smf_builder.h"
#include "shell/main_window.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::readBytes;
using dadaz::testing::writeBytes;

namespace {

using namespace std::string_literals;

const std::string kSeparator(100, '-');

// A song line as SongList.txt holds it; in the multi-folder layout it ends in the volume path.
std::string lineOf(const GeneratedLibrary& library, const GeneratedSong& song) {
    std::string line =
        song.code + ";" + song.titleLine + ";" + song.artistLine + ";" + song.keyLine;
    if (!song.volume.empty()) line += ";" + library.programFolder + "/" + song.volume;
    return line;
}

QString shown(const std::string& cp874) {
    return QString::fromStdString(cp874ToUtf8(cp874));
}

}  // namespace

class PlaybackPanelTest : public QObject {
    Q_OBJECT

  private:
    // A small library in the program folder; songs 0 to 3 get MIDI files of known lengths.
    // The Mci is silent on a manual clock: songs end when the test moves the clock.
    struct Fixture {
        dadaz::testing::TempDir program;
        GeneratedLibrary library;
        ManualPlaybackClock clock;
        Mci mci{MciOptions::silent(&clock)};
        dadaz::testing::ScriptedPrompt prompt;
        dadaz::testing::RecordingSettings settings;
        dadaz::testing::RecordingLauncher launcher;
        std::unique_ptr<MainWindow> window;
        PlaybackPanel* playback = nullptr;
        SongSearchPanel* search = nullptr;
        FindDuplicatePanel* duplicates = nullptr;

        explicit Fixture(GeneratorLayout layout = GeneratorLayout::Separate) {
            GeneratorOptions options;
            options.songs = 20;
            options.layout = layout;
            options.songsPerVolume = 10;
            options.newSongs = 0;
            options.extras = false;
            options.threads = 1;
            library = generateLibrary(program.path(), options);
            const std::uint32_t lengths[] = {65000, 187000, 5000, 7000};
            for (std::size_t i = 0; i < 4; ++i)
                writeBytes(library.songs[i].midiPath,
                           dadaz::testing::smf::songOfLength(lengths[i]));

            window = std::make_unique<MainWindow>(program.path());
            window->setPrompt(prompt);
            window->setSettingsStore(settings);
            window->setLauncher(launcher);
            window->folderPanel()->setFolders({library.midiFolder, library.lyricFolder,
                                               library.cursorFolder, program / "Invalid Files"});
            playback = attachPlayback(*window, &mci);
            search = window->songSearchPanel();
            duplicates = window->findDuplicatePanel();
            window->show();
            window->selectMode(Mode::SongSearch);
        }
        std::string line(std::size_t song) const { return lineOf(library, library.songs[song]); }
        void showResults(std::vector<std::string> lines, int current) {
            search->lstSongSearch->setLines(std::move(lines));
            search->lstSongSearch->setCurrentRow(current);
            search->btnPlaySong->setEnabled(true);
        }
        // Timer1 after `ms` of playing.
        void tickAfter(std::int64_t ms) {
            clock.advanceMs(ms);
            window->clockTick();
        }
        bool songPlaying() const {
            return search->btnStopSong->isEnabled() && !search->btnPlaySong->isEnabled() &&
                   playback->controller().playing();
        }
        bool timesShown() const {
            return !search->txtBeforeEdit->isHidden() && !search->txtAfterEdit->isHidden();
        }
        std::string resetFile() const { return library.midiFolder + "/reset.mid"; }
    };

  private slots:
    void playShowsTheLengthAndTheClockThePosition() {
        Fixture f;
        QVERIFY(f.library.ok);
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QVERIFY(f.songPlaying());
        QVERIFY(f.timesShown());
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("1:05"));

        f.tickAfter(3000);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("0:03"));
        f.tickAfter(59400);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("1:02"));
        QCOMPARE(f.search->lstSongSearch->currentRow(), 0);

        // The first stop writes the synthesizer reset file; a later stop plays it, unchanged.
        QVERIFY(!std::filesystem::exists(f.resetFile()));
        f.search->btnStopSong->click();
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(f.search->btnPlaySong->isEnabled());
        QVERIFY(!f.search->btnStopSong->isEnabled());
        QVERIFY(f.search->txtBeforeEdit->isHidden());
        QVERIFY(f.search->txtAfterEdit->text().isEmpty());
        QVERIFY(f.search->txtBeforeEdit->text().isEmpty());
        const std::string reset = readBytes(f.resetFile());
        QCOMPARE(reset.size(), std::size_t(70));
        QCOMPARE(reset, resetFileBytes());
        QCOMPARE(reset.substr(0, 4), std::string("MThd"));

        f.search->lstSongSearch->setCurrentRow(1);
        f.search->btnPlaySong->click();
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("3:07"));
        f.search->btnStopSong->click();
        QCOMPARE(readBytes(f.resetFile()), resetFileBytes());
    }

    void theEndOfASongPlaysTheNextLinePastSeparatorsAndRoundToTheFirst() {
        Fixture f;
        f.showResults({f.line(0), f.line(1), kSeparator, f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("1:05"));

        f.tickAfter(65000);  // song 0 has ended: line 1 plays
        QCOMPARE(f.search->lstSongSearch->currentRow(), 1);
        QVERIFY(f.songPlaying());
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("3:07"));
        QVERIFY(std::filesystem::exists(f.resetFile()));  // the finished song was stopped

        f.tickAfter(100000);
        QCOMPARE(f.search->lstSongSearch->currentRow(), 1);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("1:40"));
        f.tickAfter(87000);  // to the separator: selected, nothing plays
        QCOMPARE(f.search->lstSongSearch->currentRow(), 2);
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(!f.search->btnStopSong->isEnabled());

        f.tickAfter(1000);  // past it to the next song
        QCOMPARE(f.search->lstSongSearch->currentRow(), 3);
        QVERIFY(f.songPlaying());
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("0:05"));

        f.tickAfter(5000);  // after the last line comes the first
        QCOMPARE(f.search->lstSongSearch->currentRow(), 0);
        QVERIFY(f.songPlaying());
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("1:05"));

        // A separator at the end: round past it to the first line.
        f.showResults({f.line(2), f.line(3), kSeparator}, 1);
        f.search->btnStopSong->click();
        f.search->btnPlaySong->click();
        f.tickAfter(7000);
        QCOMPARE(f.search->lstSongSearch->currentRow(), 2);
        f.tickAfter(1000);
        QCOMPARE(f.search->lstSongSearch->currentRow(), 0);
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("0:05"));
        QVERIFY(f.songPlaying());
    }

    void twoLinesOrFewerDoNotMoveOn() {
        Fixture f;
        f.showResults({f.line(2), f.line(3)}, 0);
        f.search->btnPlaySong->click();
        f.tickAfter(6000);
        f.tickAfter(1000);
        QCOMPARE(f.search->lstSongSearch->currentRow(), 0);
        QCOMPARE(f.search->txtBeforeEdit->text(), QStringLiteral("0:05"));
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("0:05"));
    }

    void aFileWithoutTheMidiHeaderIsNotPlayedAndStaysAsItIs() {
        Fixture f;
        const std::string bytes = "RIFF\x10\0\0\0not a song"s;
        writeBytes(f.library.songs[0].midiPath, bytes);
        std::filesystem::remove(f.library.songs[1].midiPath);
        f.showResults({f.line(0), f.line(1), "../../x;T;A;C", kSeparator}, 0);
        for (int row = 0; row < 4; ++row) {
            f.search->lstSongSearch->setCurrentRow(row);
            f.search->btnPlaySong->click();
            QVERIFY2(!f.playback->controller().playing(), qPrintable(QString::number(row)));
            QVERIFY(f.search->btnPlaySong->isEnabled());
            QVERIFY(!f.search->btnStopSong->isEnabled());
            QVERIFY(f.search->txtAfterEdit->text().isEmpty());
        }
        QCOMPARE(readBytes(f.library.songs[0].midiPath), bytes);
        QVERIFY(!std::filesystem::exists(f.resetFile()));
    }

    void stopWithNothingPlayingOnlySetsThePlayButton() {
        Fixture f;
        f.search->chkSearchAll->setChecked(true);
        f.showResults({f.line(0), kSeparator, f.line(1)}, 0);
        f.search->btnStopSong->setEnabled(true);
        f.search->btnStopSong->click();
        QVERIFY(!f.search->btnPlaySong->isEnabled());  // an every-part search needs 4 lines
        f.showResults({f.line(0), kSeparator, f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->setEnabled(false);
        f.search->btnStopSong->click();
        QVERIFY(f.search->btnPlaySong->isEnabled());
        f.search->chkSearchAll->setChecked(false);
        f.showResults({}, -1);
        f.search->btnStopSong->click();
        QVERIFY(!f.search->btnPlaySong->isEnabled());
        QVERIFY(!std::filesystem::exists(f.resetFile()));
    }

    void switchingModeOrClosingStopsTheSong() {
        Fixture f;
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QVERIFY(f.songPlaying());
        f.window->selectMode(Mode::AddRenameLister);
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(!f.search->btnStopSong->isEnabled());
        QVERIFY(f.search->txtAfterEdit->text().isEmpty());
        QCOMPARE(readBytes(f.resetFile()), resetFileBytes());

        f.window->selectMode(Mode::SongSearch);
        f.search->btnPlaySong->click();
        QVERIFY(f.songPlaying());
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                           Answer::Yes, "Exit Program");
        QVERIFY(f.window->close());
        QVERIFY(f.prompt.mismatches().empty());
        QVERIFY(!f.playback->controller().playing());
    }

    void duplicateModePlaysTheCurrentResultAndNeverMovesTheSearchList() {
        Fixture f;
        f.showResults({f.line(1), f.line(2), f.line(3)}, 0);
        f.window->selectMode(Mode::FindDuplicate);
        QListWidget* list = f.duplicates->lstSearchResult;
        for (std::size_t song : {0, 14}) list->addItem(shown(f.line(song)));
        list->addItem(QString::fromStdString(kSeparator));
        list->setCurrentRow(0);
        f.duplicates->btnPlayMIDI->setEnabled(true);
        f.duplicates->btnPlayMIDI->click();
        QVERIFY(f.playback->controller().playing());
        QVERIFY(f.duplicates->btnStopMIDI->isEnabled());
        QVERIFY(!f.duplicates->btnPlayMIDI->isEnabled());
        QVERIFY(f.search->txtAfterEdit->text().isEmpty());

        // Its end leaves the search results alone.
        f.tickAfter(66000);
        QCOMPARE(f.search->lstSongSearch->currentRow(), 0);
        QVERIFY(f.playback->controller().playing());

        f.duplicates->btnStopMIDI->click();
        QVERIFY(!f.playback->controller().playing());
        QVERIFY(f.duplicates->btnPlayMIDI->isEnabled());
        QVERIFY(!f.duplicates->btnStopMIDI->isEnabled());
        QCOMPARE(readBytes(f.resetFile()), resetFileBytes());

        list->setCurrentRow(2);  // a separator names no song
        f.duplicates->btnPlayMIDI->click();
        QVERIFY(!f.playback->controller().playing());
    }

    void multiFolderSongsPlayFromTheirVolumeAndResetThere() {
        Fixture f(GeneratorLayout::Multi);
        QVERIFY(f.library.ok);
        const GeneratedSong& song = f.library.songs[0];
        QVERIFY(!song.volume.empty());
        f.showResults({f.line(0), f.line(1), f.line(2)}, 0);
        f.search->btnPlaySong->click();
        QVERIFY(f.songPlaying());
        QCOMPARE(f.search->txtAfterEdit->text(), QStringLiteral("1:05"));
        f.search->btnStopSong->click();
        QCOMPARE(readBytes(f.program / song.volume + "/SONG/reset.mid"), resetFileBytes());
        QVERIFY(!std::filesystem::exists(f.program / "reset.mid"));
    }
};

QTEST_MAIN(PlaybackPanelTest)
#include "playback_panel_test.moc"
