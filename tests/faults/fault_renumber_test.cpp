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
            makeTestLibrary(program, 16, false);
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, false);
            const RenumberResult result = runRenumber(run.ctx, c.settings);
            // No name is taken in this library: a song kept by a failing call is the disk's
            // doing, told with a warning and never blamed on a taken name.
            EXPECT_EQ(run.prompt.all().find("มีแฟ้มอื่นใช้ชื่อใหม่อยู่แล้ว"), std::string::npos)
                << run.prompt.all();
            const bool plain = result.status == RenumberResult::Status::Completed &&
                               !run.prompt.showed(MessageIcon::Exclamation) &&
                               !run.prompt.showed(MessageIcon::Critical);
            return RunOutcome{plain, run.prompt.all()};
        };
        faultCase.settles = true;
        faultCase.callsPerKind = 6;
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

// A song added after a custom-pattern run whose name sorts before that run's names gets a
// name of the pattern like the others, not its temporary one.
TEST(RenumberFaults, ASecondCustomPatternRunRenamesASongSortingFirst) {
    TempDir dir;
    const std::string program = dir / "program";
    makeTestLibrary(program, 16, false, true);
    const RenumberSettings settings{
        .digitText = "5", .customPattern = true, .patternText = "K0000"};
    FaultRunContext first(program, false);
    runRenumber(first.ctx, settings);
    const std::string stem = first.fs.listFiles(program + "/LYRICS/1").at(0).name.substr(0, 6);
    for (const char* kind : {"SONG/1/%.MID", "LYRICS/1/%.LYR", "CURSOR/1/%.CUR"}) {
        std::string from = kind, to = kind;
        from.replace(from.find('%'), 1, stem);
        to.replace(to.find('%'), 1, "10000");
        writeBytes(program + "/" + to, readBytes(program + "/" + from));
    }
    FaultRunContext second(program, false);
    EXPECT_EQ(runRenumber(second.ctx, settings).summary.keptSongs, std::vector<std::string>{});
    for (const auto& [path, file] : snapshot(program))
        EXPECT_EQ(path.find("TEMP"), std::string::npos) << path;
}

}  // namespace
}  // namespace dadaz::testing
