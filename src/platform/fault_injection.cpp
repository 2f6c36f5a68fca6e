#include "platform/fault_injection.h"

#include <array>
#include <cassert>

namespace dadaz::faults {

namespace {

constexpr std::size_t kinds = static_cast<std::size_t>(FileOp::Count);

struct Target {
    std::size_t nth = 0;  // 0: never
    int error = 0;
    bool lasting = false;
};

// Written only while no run is going (a plan is made and dropped between runs); the counters
// are atomic because runs use several threads.
std::array<Target, kinds> targets;
std::array<std::atomic<std::size_t>, kinds> counts;
std::atomic<std::size_t> failures{0};

}  // namespace

namespace detail {

std::atomic<bool> armed{false};

int takeArmed(FileOp op) noexcept {
    const auto kind = static_cast<std::size_t>(op);
    const std::size_t call = counts[kind].fetch_add(1) + 1;
    const Target& target = targets[kind];
    if (target.nth == 0 || call < target.nth || (call > target.nth && !target.lasting)) return 0;
    failures.fetch_add(1);
    return target.error;
}

}  // namespace detail

const char* name(FileOp op) {
    static const char* const names[] = {"create", "write",  "flush", "rename",
                                        "copy",   "delete", "list"};
    return names[static_cast<std::size_t>(op)];
}

FaultPlan::FaultPlan() {
    assert(!detail::armed.load());
    targets = {};
    for (auto& count : counts) count = 0;
    failures = 0;
    detail::armed = true;
}

FaultPlan::~FaultPlan() {
    detail::armed = false;
}

void FaultPlan::fail(FileOp op, std::size_t nth, int error, bool lasting) {
    targets[static_cast<std::size_t>(op)] = Target{nth, error, lasting};
}

std::size_t FaultPlan::calls(FileOp op) const {
    return counts[static_cast<std::size_t>(op)].load();
}

std::size_t FaultPlan::failed() const {
    return failures.load();
}

}  // namespace dadaz::faults
