#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/prompt.h"
#include "playback/midi_sink.h"

namespace dadaz {

class FileSystem;
class Mci;

// A message box the window shows after an action (text UTF-8).
struct PlaybackMessage {
    MessageIcon icon = MessageIcon::Exclamation;
    std::string text;
};

// What the window shows of playback after an action. Fields left empty stay as they are.
struct PlaybackView {
    std::optional<bool> playSongEnabled;      // btnPlaySong (song search mode)
    std::optional<bool> stopSongEnabled;      // btnStopSong
    std::optional<bool> playMidiEnabled;      // btnPlayMIDI (duplicate mode)
    std::optional<bool> stopMidiEnabled;      // btnStopMIDI
    std::optional<bool> timesVisible;         // txtBeforeEdit and txtAfterEdit
    std::optional<std::string> lengthText;    // txtAfterEdit
    std::optional<std::string> positionText;  // txtBeforeEdit
    std::optional<PlaybackMessage> message;   // shown after the controls are updated
};

// What stop needs to know of the window at that moment.
struct StopContext {
    bool songSearchMode = true;          // the window's current mode
    std::string resetFile;               // resetFilePath(); empty: no reset
    std::size_t searchListCount = 0;     // lines of lstSongSearch
    bool searchAll = false;              // chkSearchAll
    std::size_t duplicateListCount = 0;  // lines of lstSearchResult
};

// The result list as the clock sees it.
struct TickInput {
    std::size_t searchListCount = 0;  // lines of lstSongSearch
    int selectedIndex = -1;           // its selected line, -1 for none
    std::function<std::string(std::size_t)> lineText;
    StopContext stop;  // for releasing a finished song before the next line is selected
};

// What the clock's tick asks of the window.
struct TickResult {
    std::optional<std::string> positionText;  // txtBeforeEdit, while a song plays
    PlaybackView view;                        // the finished song released
    // Select this line of lstSongSearch ...
    std::optional<std::size_t> select;
    // ... and then play it (the handler of btnPlaySong).
    bool play = false;
};

// "m:ss": whole minutes without a leading zero, seconds in two digits (65000 gives "1:05").
std::string formatPlayTime(std::int64_t ms);
// Whether the file begins with "MThd". A missing file, or anything but a regular file, does
// not.
bool hasMidiHeader(const FileSystem& fs, const std::string& path);
// A result line whose first five characters are "-----" separates groups; it is no song.
bool isSeparatorLine(const std::string& line);

// Playback of the main window: one song at a time under the device alias "MidiFile", the
// synthesizer reset after each stop, the length and running position, and the clock's
// move to the next result when a song has ended. Windows call it from their handlers and
// show the PlaybackView it returns.
class PlaybackController {
  public:
    PlaybackController(Mci& mci, FileSystem& fs);

    // btnPlaySong: plays `midiFile` (the song's MIDI file on disk, empty when it is missing)
    // and shows its length. A file that is missing, lacks the MIDI header or cannot be read as
    // a song is not played: the returned view is then empty and nothing changes (a file too
    // large for a song says so in its message). The first play that finds no working sound
    // device or soundfont says which, once; every play tries the synthesizer again.
    PlaybackView playSearchSong(const std::string& midiFile);
    // btnPlayMIDI of duplicate mode: the same without length and times.
    PlaybackView playDuplicateSong(const std::string& midiFile);
    // btnStopSong, btnStopMIDI, and everything that must release the song file: stops and
    // closes the song and resets the synthesizer (playing the reset file, or writing it the
    // first time it is missing). When nothing plays it only brings the play buttons up to
    // date. Either way it cancels a move past a separator that a tick left pending.
    PlaybackView stop(const StopContext& context);
    // Timer1, every second: the running position, and when a song started by btnPlaySong has
    // reached its end, the next result line (after the last comes the first; a separator
    // line is selected but not played, and the next tick moves on past it unless a stop came
    // between).
    TickResult tick(const TickInput& input);

    bool playing() const { return playing_; }                  // midiPlaying
    std::int64_t lengthMs() const { return lengthMs_; }        // midiLengthMs
    const std::string& filePath() const { return filePath_; }  // midiFilePath

  private:
    // The view's message says why a file that has the header is refused.
    bool open(const std::string& midiFile, PlaybackView& view);
    std::int64_t statusNumber(const std::string& command);
    PlaybackView release(const StopContext& context);
    void warnOfSilence(PlaybackView& view);

    Mci& mci_;
    FileSystem& fs_;
    bool playing_ = false;
    bool playingSearchSong_ = false;
    std::int64_t lengthMs_ = 0;
    std::string filePath_;
    // A separator line was selected by the last tick; the next one moves on from it.
    std::optional<std::size_t> skippedSeparator_;
    SoundProblem toldProblem_;
};

// The separate duplicate results window plays by file name, without the alias.
class ResultWindowPlayer {
  public:
    ResultWindowPlayer(Mci& mci, FileSystem& fs);
    // Resets the synthesizer when the reset file exists, then plays `midiFile`. True when it
    // plays: the window then enables its btnStopMIDI and disables its btnPlayMIDI.
    bool play(const std::string& resetFile, const std::string& midiFile);
    // Its btnStopMIDI: the window then disables it and enables btnPlayMIDI.
    void stop();

  private:
    Mci& mci_;
    FileSystem& fs_;
    std::string playingFile_;
};

}  // namespace dadaz
