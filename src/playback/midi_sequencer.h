#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "playback/midi_sink.h"
#include "playback/playback_clock.h"
#include "playback/smf_reader.h"

namespace dadaz {

// Holds opened songs and plays one at a time: a thread of its own sends each event to the
// synthesizer at its time. Positions are measured on the clock, so a song keeps time also
// when there is no synthesizer (no sound device): it then plays silently. All members are
// thread-safe.
class MidiSequencer {
  public:
    // Gives the synthesizer, or nothing and why.
    using SinkFactory = std::function<std::unique_ptr<MidiSink>(SoundProblem&)>;
    // `openSink` is called at a play while no synthesizer is open, so one that failed (no
    // sound device yet) is tried again at the next; a song plays silently meanwhile. An empty
    // factory means silence on purpose.
    MidiSequencer(PlaybackClock& clock, SinkFactory openSink);
    ~MidiSequencer();
    MidiSequencer(const MidiSequencer&) = delete;
    MidiSequencer& operator=(const MidiSequencer&) = delete;

    using Handle = int;
    Handle add(std::shared_ptr<const MidiSong> song);
    // Stops the song if it plays and forgets it.
    void remove(Handle handle);
    // Plays from the song's current position, stopping any other song first. A song at its
    // end stays there.
    void play(Handle handle);
    void stop(Handle handle);
    // Blocks until the song's last event has played (not the synthesizer's release tail), or
    // it was stopped, but for at most `limitUs` of clock time: a song still playing then is
    // stopped there, and the answer is false. Returns at once when it does not play.
    bool waitUntilFinished(Handle handle, std::int64_t limitUs);

    // Milliseconds; the position is the length exactly once the song has reached its end.
    std::int64_t positionMs(Handle handle);
    std::int64_t lengthMs(Handle handle);
    // Playing and not yet at its end.
    bool isPlaying(Handle handle);
    // True once a synthesizer is open (after a play, on a machine with sound).
    bool hasSound();
    // Why the last try to open the synthesizer failed; Kind::None when it has not failed.
    SoundProblem soundProblem();

  private:
    struct Entry {
        std::shared_ptr<const MidiSong> song;
        bool playing = false;
        std::int64_t startUs = 0;      // clock time of position 0 while playing
        std::int64_t stoppedAtUs = 0;  // position while not playing
    };

    Entry* find(Handle handle);
    std::int64_t positionUsLocked(const Entry& entry);
    void stopLocked(Handle handle);
    // The song's thread has yet to send an event due by `untilUs` (clock time).
    bool deliveringLocked(Handle handle, std::int64_t untilUs) const;
    void openSinkLocked();
    void run();

    PlaybackClock& clock_;
    SinkFactory openSink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<Handle, Entry> entries_;
    Handle nextHandle_ = 1;
    Handle active_ = 0;  // the song the thread plays, 0 for none
    std::size_t nextEvent_ = 0;
    std::unique_ptr<MidiSink> sink_;
    SoundProblem soundProblem_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace dadaz
