#pragma once

#include <chrono>

#include "library/run_context.h"

namespace dadaz {

// Lets the window's events run while a catalogue run loops, about every 16 ms rather than
// before every entry, and tells when the user asked to stop. The clock is read only every
// 256 entries: reading it costs more than taking a prefix match.
class RunPacer {
  public:
    explicit RunPacer(RunContext& ctx) : ctx_(ctx), last_(ctx.now()) {}
    // Called before each entry: true when the run must end now.
    bool stopNow() {
        if (++entries_ % 256 == 0) {
            const auto now = ctx_.now();
            if (now - last_ >= std::chrono::milliseconds(16)) {
                last_ = now;
                ctx_.pumpEvents();
            }
        }
        return ctx_.state.stopRequested;
    }

  private:
    RunContext& ctx_;
    std::chrono::steady_clock::time_point last_;
    unsigned entries_ = 0;
};

}  // namespace dadaz
