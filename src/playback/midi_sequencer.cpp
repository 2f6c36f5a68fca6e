#include "playback/midi_sequencer.h"

#include <algorithm>

namespace dadaz {

MidiSequencer::MidiSequencer(PlaybackClock& clock, SinkFactory openSink)
    : clock_(clock), openSink_(std::move(openSink)) {}

MidiSequencer::~MidiSequencer() {
    {
        std::lock_guard lock(mutex_);
        if (active_ != 0) stopLocked(active_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

MidiSequencer::Handle MidiSequencer::add(std::shared_ptr<const MidiSong> song) {
    std::lock_guard lock(mutex_);
    Handle handle = nextHandle_++;
    entries_[handle].song = std::move(song);
    return handle;
}

void MidiSequencer::remove(Handle handle) {
    std::lock_guard lock(mutex_);
    stopLocked(handle);
    entries_.erase(handle);
}

void MidiSequencer::play(Handle handle) {
    std::lock_guard lock(mutex_);
    Entry* entry = find(handle);
    if (!entry || entry->playing) return;
    if (active_ != 0) stopLocked(active_);
    openSinkLocked();
    const MidiSong& song = *entry->song;
    if (entry->stoppedAtUs >= song.lengthUs && song.lengthUs > 0) return;  // at its end
    entry->playing = true;
    entry->startUs = clock_.nowUs() - entry->stoppedAtUs;
    active_ = handle;
    nextEvent_ = static_cast<std::size_t>(
        std::lower_bound(song.events.begin(), song.events.end(), entry->stoppedAtUs,
                         [](const MidiEvent& e, std::int64_t t) { return e.timeUs < t; }) -
        song.events.begin());
    changed_.notify_all();
}

void MidiSequencer::stop(Handle handle) {
    std::lock_guard lock(mutex_);
    stopLocked(handle);
}

bool MidiSequencer::waitUntilFinished(Handle handle, std::int64_t limitUs) {
    std::unique_lock lock(mutex_);
    Entry* entry = find(handle);
    if (!entry || !entry->playing) return true;
    const std::int64_t end = entry->startUs + entry->song->lengthUs;
    const std::int64_t until = std::min(end, clock_.nowUs() + std::max<std::int64_t>(0, limitUs));
    lock.unlock();
    clock_.sleepUntil(until);
    lock.lock();
    changed_.wait(lock, [&] { return !deliveringLocked(handle, until); });
    if (until >= end) return true;
    stopLocked(handle);
    return false;
}

std::int64_t MidiSequencer::positionMs(Handle handle) {
    std::lock_guard lock(mutex_);
    Entry* entry = find(handle);
    if (!entry) return 0;
    std::int64_t us = positionUsLocked(*entry);
    // Rounding the length to whole milliseconds must not keep the position from reaching it.
    if (us >= entry->song->lengthUs) return entry->song->lengthMs;
    return std::min(us / 1000, entry->song->lengthMs);
}

std::int64_t MidiSequencer::lengthMs(Handle handle) {
    std::lock_guard lock(mutex_);
    Entry* entry = find(handle);
    return entry ? entry->song->lengthMs : 0;
}

bool MidiSequencer::isPlaying(Handle handle) {
    std::lock_guard lock(mutex_);
    Entry* entry = find(handle);
    return entry && entry->playing && positionUsLocked(*entry) < entry->song->lengthUs;
}

bool MidiSequencer::hasSound() {
    std::lock_guard lock(mutex_);
    return sink_ != nullptr;
}

SoundProblem MidiSequencer::soundProblem() {
    std::lock_guard lock(mutex_);
    return soundProblem_;
}

MidiSequencer::Entry* MidiSequencer::find(Handle handle) {
    auto it = entries_.find(handle);
    return it == entries_.end() ? nullptr : &it->second;
}

std::int64_t MidiSequencer::positionUsLocked(const Entry& entry) {
    if (!entry.playing) return entry.stoppedAtUs;
    std::int64_t elapsed = std::max<std::int64_t>(0, clock_.nowUs() - entry.startUs);
    return std::min(elapsed, entry.song->lengthUs);
}

void MidiSequencer::stopLocked(Handle handle) {
    Entry* entry = find(handle);
    if (!entry || !entry->playing) return;
    entry->stoppedAtUs = positionUsLocked(*entry);
    entry->playing = false;
    if (active_ == handle) active_ = 0;
    if (sink_) sink_->silence();
    changed_.notify_all();
}

bool MidiSequencer::deliveringLocked(Handle handle, std::int64_t untilUs) const {
    if (!sink_ || active_ != handle) return false;
    auto it = entries_.find(handle);
    if (it == entries_.end() || !it->second.playing) return false;
    const auto& events = it->second.song->events;
    return nextEvent_ < events.size() && it->second.startUs + events[nextEvent_].timeUs <= untilUs;
}

void MidiSequencer::openSinkLocked() {
    if (sink_ || !openSink_) return;
    SoundProblem problem;
    sink_ = openSink_(problem);
    soundProblem_ = sink_ ? SoundProblem{} : problem;
    if (sink_ && !thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void MidiSequencer::run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        Entry* entry = active_ != 0 ? find(active_) : nullptr;
        if (!entry || !entry->playing || nextEvent_ >= entry->song->events.size()) {
            changed_.wait(lock);
            continue;
        }
        const MidiSong& song = *entry->song;
        const MidiEvent& event = song.events[nextEvent_];
        std::int64_t due = entry->startUs + event.timeUs;
        if (clock_.nowUs() < due) {
            clock_.waitUntil(changed_, lock, due);
            continue;
        }
        std::string_view sysex;
        if (event.status == 0xF0) {
            sysex = std::string_view(song.sysexBytes).substr(event.sysexOffset, event.sysexLength);
        }
        // Sent under the lock, so a stop cannot slip in between and leave a note hanging.
        sink_->send(event, sysex);
        ++nextEvent_;
        changed_.notify_all();  // a bounded wait may be waiting for this event
    }
}

}  // namespace dadaz
