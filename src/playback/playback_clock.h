#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace dadaz {

// The time base of playback: positions are measured on it and the sequencer waits on it.
// Tests use ManualPlaybackClock so that songs "play" without taking real time.
class PlaybackClock {
  public:
    virtual ~PlaybackClock() = default;
    // Monotonic microseconds.
    virtual std::int64_t nowUs() = 0;
    // Waits on `cv` (whose mutex `lock` holds) until the clock reaches `deadlineUs` or the
    // condition is notified; may also return early, so callers check again.
    virtual void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                           std::int64_t deadlineUs) = 0;
    // Blocks the caller until the clock reaches `deadlineUs`.
    virtual void sleepUntil(std::int64_t deadlineUs) = 0;
};

class SteadyPlaybackClock : public PlaybackClock {
  public:
    std::int64_t nowUs() override;
    void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   std::int64_t deadlineUs) override;
    void sleepUntil(std::int64_t deadlineUs) override;
};

// Time moves only when told to, or when someone sleeps on it (a blocking wait jumps the
// clock to its deadline, as if the wait had happened). Waiting threads poll every
// millisecond of real time, so they see the clock move.
class ManualPlaybackClock : public PlaybackClock {
  public:
    std::int64_t nowUs() override { return nowUs_.load(); }
    void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   std::int64_t deadlineUs) override;
    void sleepUntil(std::int64_t deadlineUs) override;

    void advanceMs(std::int64_t ms) { nowUs_ += ms * 1000; }
    void advanceUs(std::int64_t us) { nowUs_ += us; }

  private:
    std::atomic<std::int64_t> nowUs_{0};
};

}  // namespace dadaz
