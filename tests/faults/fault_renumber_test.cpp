#include <gtest/gtest.h>

#include "fault_run_context.h"
#include "fault_sweep.h"
#include "renumber/renumber_journal.h"
#include "renumber/renumber_run.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// Whatever call fails, the journal lets the next run finish the renumbering: two runs leave
// the library as two whole runs do; a song left under its old code is named.
TEST(RenumberFaults, EachFailingCallIsToldAndTheNextRunFinishesTheJob) {
    struct Case {
        const char* name;
        RenumberSettings settings;
    };
    const Case cases[] = {
        {"six digits", {}},
        {"custom pattern", {.digitText = "5", .customPattern = true, .patternText = "K0000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultCase faultCase;
        faultCase.makeLibrary = [](const std::string& program) {
            makeTestLibrary(program, 30, false);
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, false);
            const RenumberResult result = runRenumber(run.ctx, c.settings);
            const bool plain = result.status == RenumberResult::Status::Completed &&
                               result.summary.keptSongs.empty() && result.summary.notMoved == 0 &&
                               !run.prompt.showed(MessageIcon::Exclamation) &&
                               !run.prompt.showed(MessageIcon::Critical);
            return RunOutcome{plain, run.prompt.all()};
        };
        faultCase.settles = true;
        faultCase.callsPerKind = 10;
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
