#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playback/midi_sequencer.h"
#include "playback/midi_sink.h"
#include "playback/playback_clock.h"

namespace dadaz {

enum class MciError {
    None,
    UnrecognizedCommand,
    UnrecognizedKeyword,
    MissingParameter,
    InvalidDevice,   // no device of that name is open
    DuplicateAlias,  // a device of that name is already open
    CannotOpenFile,  // missing, unreadable, not a regular file, or not a playable MIDI file
    FileTooLarge,    // larger than any song (kMaxMidiFileBytes)
    BadTimeFormat,   // only milliseconds are kept
};

struct MciReply {
    MciError error = MciError::None;
    std::string text;  // the return string ("" when the command returns none)
    bool ok() const { return error == MciError::None; }
};

std::string describeMciError(MciError error);

struct MciOptions {
    // The time base; nullptr means real time.
    PlaybackClock* clock = nullptr;
    // False: never touch the synthesizer, keep time silently.
    bool sound = true;
    // Empty: the soundfont FluidSynth users expect (see soundFontCandidates).
    std::string soundFontPath;
    // "wait" blocks the caller, the window, so a song played with it (a synthesizer reset,
    // well under a second) is cut off after this long.
    std::int64_t waitLimitMs = 2000;
    // Replaces FluidSynth as the synthesizer (tests record what would sound).
    MidiSequencer::SinkFactory openSink;

    // Silent, on `clock`: for tests (with ManualPlaybackClock songs take no real time).
    static MciOptions silent(PlaybackClock* clock) {
        MciOptions options;
        options.clock = clock;
        options.sound = false;
        return options;
    }
    // `openSink` in place of FluidSynth, on `clock` (nullptr: real time).
    static MciOptions withSink(PlaybackClock* clock, MidiSequencer::SinkFactory openSink) {
        MciOptions options;
        options.clock = clock;
        options.openSink = std::move(openSink);
        return options;
    }
};

// The media control strings of the playback code, played through our own sequencer:
//   Open ELEMENT [alias NAME] [type sequencer] [wait]
//   Play NAME|ELEMENT [wait] [notify]     (an element not open is opened for this play, and
//                                          closed again when it ends waiting or is stopped;
//                                          a wait lasts at most MciOptions::waitLimitMs)
//   Stop NAME [wait] [notify]
//   Close NAME|all
//   Set NAME time format milliseconds|ms
//   Status NAME length|position|mode
// Keywords and names ignore case. An element holding spaces is written in double quotes.
// Lengths and positions are whole milliseconds from the file's own tempo map. Only one song
// sounds at a time: playing one stops the other. Commands from several threads are taken
// one after the other.
class Mci {
  public:
    explicit Mci(MciOptions options = {});
    ~Mci();
    Mci(const Mci&) = delete;
    Mci& operator=(const Mci&) = delete;

    MciReply send(std::string_view command);
    // Why the synthesizer could not be opened at the last play (Kind::None once it sounds, or
    // when the device is silent on purpose); the next play tries it again.
    SoundProblem soundProblem();

  private:
    struct Device {
        std::string name;
        std::string element;
        bool implicit = false;
        MidiSequencer::Handle handle = 0;
    };

    MciReply open(const std::vector<std::string>& words);
    MciReply play(const std::vector<std::string>& words);
    MciReply stop(const std::vector<std::string>& words);
    MciReply close(const std::vector<std::string>& words);
    MciReply set(const std::vector<std::string>& words);
    MciReply status(const std::vector<std::string>& words);

    Device* findDevice(std::string_view name);
    MciError openDevice(const std::string& element, const std::string& name, bool implicit);
    void closeDevice(std::string_view name);
    void closeImplicitDevicesBut(std::string_view keep);

    std::mutex commandMutex_;
    std::unique_ptr<PlaybackClock> ownClock_;
    std::unique_ptr<MidiSequencer> sequencer_;
    std::vector<Device> devices_;
    std::int64_t waitLimitUs_ = 0;
};

// Splits a command string into words; a word in double quotes may hold spaces. Nothing when a
// quote is not closed.
std::optional<std::vector<std::string>> splitMciWords(std::string_view command);

}  // namespace dadaz
