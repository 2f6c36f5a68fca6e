#include "playback/playback_clock.h"

#include <chrono>
#include <thread>

namespace dadaz {
namespace {

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point toTimePoint(std::int64_t us) {
    return SteadyClock::time_point(
        std::chrono::duration_cast<SteadyClock::duration>(std::chrono::microseconds(us)));
}

}  // namespace

std::int64_t SteadyPlaybackClock::nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               SteadyClock::now().time_since_epoch())
        .count();
}

void SteadyPlaybackClock::waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                                    std::int64_t deadlineUs) {
    cv.wait_until(lock, toTimePoint(deadlineUs));
}

void SteadyPlaybackClock::sleepUntil(std::int64_t deadlineUs) {
    std::this_thread::sleep_until(toTimePoint(deadlineUs));
}

void ManualPlaybackClock::waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                                    std::int64_t deadlineUs) {
    if (nowUs() < deadlineUs) cv.wait_for(lock, std::chrono::milliseconds(1));
}

void ManualPlaybackClock::sleepUntil(std::int64_t deadlineUs) {
    std::int64_t now = nowUs_.load();
    while (now < deadlineUs && !nowUs_.compare_exchange_weak(now, deadlineUs)) {
    }
}

}  // namespace dadaz
