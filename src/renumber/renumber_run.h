#pragma once

#include <functional>
#include <string>

#include "library/run_context.h"
#include "renumber/number_scheme.h"
#include "renumber/renumber_plan.h"
#include "renumber/renumber_texts.h"

namespace dadaz {

struct RenumberResult {
    enum class Status {
        Refused,    // a check or an answer ended the run before anything changed
        Stopped,    // stopped by the user; the journal completes it later
        Completed,  // every step done, the journal removed
        Planned,    // a dry run: the plan was shown, nothing changed
    };
    Status status = Status::Refused;
    std::string createdMoveTo;  // the move-to folder the run created, when it did
    renumber_text::Summary summary;
};

// The renumbering run of the rename frame: an interrupted run left in the program folder is
// completed first; then the start checks, the plan of the whole run written to the journal,
// the three passes and the final message.
// With `showPlan`, the run ends after the checks and the plan, which it is given: a dry run
// that changes nothing on disk (a missing move-to folder is still created when the user
// agrees).
using PlanViewer = std::function<void(const RenumberPlan&)>;
RenumberResult runRenumber(RunContext& ctx, const RenumberSettings& settings,
                           const PlanViewer& showPlan = {});

// Completes a run that a stop, a crash or a power cut interrupted, when the program folder
// holds its journal, and tells the user. Refused: no journal, or one that cannot be read
// (the user is told).
RenumberResult completeInterruptedRenumber(RunContext& ctx);

// Whether the program folder holds the journal of an interrupted run.
bool hasInterruptedRenumber(const std::string& programFolder);

}  // namespace dadaz
