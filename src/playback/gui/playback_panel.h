#pragma once

#include <QObject>
#include <memory>
#include <string>

namespace dadaz {

class MainWindow;
class Mci;
class PlaybackController;
struct PlaybackView;
struct StopContext;

// Playback in the main window: btnPlaySong and btnStopSong of the song search mode,
// btnPlayMIDI and btnStopMIDI of the duplicate mode, the song's length and running position
// in txtAfterEdit and txtBeforeEdit, and Timer1's move to the next search result when a song
// has ended. Mode changes and closing stop the song through the window's stopPlayback hook.
class PlaybackPanel : public QObject {
    Q_OBJECT
  public:
    // `mci` null: the panel makes its own, sounding through the synthesizer. One put in (a
    // silent one on a manual clock, in tests) must outlive the panel.
    explicit PlaybackPanel(MainWindow& window, Mci* mci = nullptr);
    ~PlaybackPanel() override;

    // btnPlaySong: the current line of lstSongSearch.
    void playSearchResult();
    // btnPlayMIDI: the current line of lstSearchResult.
    void playDuplicateResult();
    // The stop buttons and everything that must release the song file; with nothing playing
    // it only brings the play buttons up to date.
    void stop();
    // Timer1's share: the running position, and the next result line at a song's end.
    void tick();

    const PlaybackController& controller() const { return *controller_; }

  private:
    // The song's MIDI file and the reset file's place for a song line; both empty when the
    // line names no song that may build a path.
    struct SongFiles {
        std::string midiFile;
        std::string resetFile;
    };
    SongFiles filesOfLine(const std::string& line) const;
    StopContext stopContext() const;
    void apply(const PlaybackView& view);

    MainWindow& window_;
    std::unique_ptr<Mci> ownMci_;
    std::unique_ptr<PlaybackController> controller_;
    // Where the playing song's synthesizer reset lies (its volume's, in the multi-folder
    // layout), so the stop resets the device that played it.
    std::string resetFile_;
};

// Wires playback into the window (the program does it once, window tests when they drive
// playback). The panel belongs to the window.
PlaybackPanel* attachPlayback(MainWindow& window, Mci* mci = nullptr);

}  // namespace dadaz
