#pragma once

#include <chrono>
#include <functional>

#include "library/run_context.h"

namespace dadaz {

// Lets the window's events run while a catalogue run loops, about every 16 ms rather than
// before every entry, and tells when the user asked to stop.
class RunPacer {
  public:
    explicit RunPacer(RunContext& ctx) : ctx_(ctx), last_(ctx.now()) {}
    // Called before each entry: true when the run must end now. `onPump` runs just before
    // the events do (to refresh a label).
    bool stopNow(const std::function<void()>& onPump = {}) {
        const auto now = ctx_.now();
        if (now - last_ >= std::chrono::milliseconds(16)) {
            last_ = now;
            if (onPump) onPump();
            ctx_.pumpEvents();
        }
        return ctx_.state.stopRequested;
    }

  private:
    RunContext& ctx_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace dadaz
