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
    using SinkFactory = std::function<std::unique_ptr<MidiSink>()>;
    // `openSink` is called once, at the first play; an empty one, or one that gives nothing,
    // makes every song play silently.
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
    // it was stopped. Returns at once when it does not play.
    void waitUntilFinished(Handle handle);

    // Milliseconds; the position is the length exactly once the song has reached its end.
    std::int64_t positionMs(Handle handle);
    std::int64_t lengthMs(Handle handle);
    // Playing and not yet at its end.
    bool isPlaying(Handle handle);
    // True once a synthesizer is open (after the first play, on a machine with sound).
    bool hasSound();

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
    bool deliveringLocked(Handle handle) const;
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
    bool sinkTried_ = false;
    std::unique_ptr<MidiSink> sink_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace dadaz
