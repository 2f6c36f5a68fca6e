#pragma once

// Failures made on purpose, for tests: a plan makes the Nth call of a kind of file operation
// fail with a chosen error, so every run that changes the library can be shown to survive a
// failing disk at each of its steps. With no plan armed a check costs one relaxed load.

#include <atomic>
#include <cstddef>

namespace dadaz::faults {

enum class FileOp : unsigned { Create, Write, Flush, Rename, Copy, Delete, List, Count };

const char* name(FileOp op);

namespace detail {
extern std::atomic<bool> armed;
int takeArmed(FileOp op) noexcept;
}  // namespace detail

// The error the current call of `op` is to fail with, or 0 to go ahead.
inline int take(FileOp op) noexcept {
    return detail::armed.load(std::memory_order_relaxed) ? detail::takeArmed(op) : 0;
}

// Armed while it lives; one at a time. Counts every call of each kind, so a first run under
// an empty plan tells how many calls there are to fail.
class FaultPlan {
  public:
    FaultPlan();
    ~FaultPlan();
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // Fails the `nth` call (from 1) of `op` with `error`, and with `lasting` every later one
    // too (a full or read-only disk stays so).
    void fail(FileOp op, std::size_t nth, int error, bool lasting = false);
    std::size_t calls(FileOp op) const;
    // How many calls were failed so far.
    std::size_t failed() const;
};

}  // namespace dadaz::faults
