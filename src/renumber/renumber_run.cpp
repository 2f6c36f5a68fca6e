#include "renumber/renumber_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "library/song_code.h"
#include "library/song_paths.h"
#include "renumber/renumber_journal.h"
#include "renumber/renumber_plan.h"
#include "renumber/sync_folders.h"

namespace dadaz {

namespace {

namespace text = renumber_text;
using Status = RenumberResult::Status;

constexpr std::uint32_t kPhaseColours[kPhaseCount] = {0xFFC0C0, 0xFFE0C0, 0xC0FFC0, 0xC0FFFF,
                                                      0xFFC0C0, 0xFFE0C0, 0xC0FFC0};

int passOf(int phase) {
    return phase < kRenamePhase ? 1 : phase == kRenamePhase ? 2 : 3;
}

std::string phaseText(int phase) {
    if (phase < kRenamePhase) return text::checkingText(phase);
    if (phase == kRenamePhase) return text::renamingText();
    return text::validatingText(phase - kRenamePhase - 1);
}

std::string lastComponent(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Carries out a plan's steps from the journal's point on: the run's own, or an interrupted
// run's when resuming. A stop takes effect between steps, never inside one, and not during
// pass 1, whose temporary names only pass 2 gives back.
class Execution {
  public:
    Execution(RunContext& ctx, RenumberPlan& plan, JournalWriter& journal, bool resuming)
        : ctx_(ctx),
          plan_(plan),
          journal_(journal),
          mover_(ctx.fs, plan.folders),
          resuming_(resuming) {
        summary_.moveTo = plan.folders.empty() ? "" : plan.folders[0];
        summary_.keptSongs = plan.keptSongs;
        summary_.notMoved = plan.notMoved;
    }

    // True when every step is done.
    bool run(std::size_t from, int passesDone) {
        const auto& steps = plan_.steps;
        std::size_t i = from;
        while (i < steps.size() && passOf(steps[i].phase) <= passesDone) ++i;
        int phase = firstPhaseOfPass(std::min(passesDone + 1, 3));
        if (i < steps.size()) phase = std::min<int>(phase, steps[i].phase);
        startPhase(phase);
        for (;; ++i) {
            const int next = i < steps.size() ? steps[i].phase : kPhaseCount;
            while (phase < next) {
                endPhase(phase, passesDone);
                if (++phase < kPhaseCount) startPhase(phase);
            }
            if (i == steps.size()) break;
            if (passOf(phase) > 1 && ctx_.state.stopRequested) {
                journal_.markDone(i);
                journal_.flush();
                return false;
            }
            execute(steps[i]);
            if ((i & 255) == 0) {
                ctx_.progress.progress(steps[i].progress, plan_.totals[phase], phaseText(phase));
                ctx_.pumpEvents();
            }
            if (((i + 1) & 1023) == 0) {
                journal_.markDone(i + 1);
                journal_.flush();
            }
        }
        return true;
    }

    bool changedAnything() const { return changed_; }

    text::Summary summary() const {
        text::Summary summary = summary_;
        summary.midi = plan_.found[0] + foundChange_[0];
        summary.lyric = plan_.found[1] + foundChange_[1];
        summary.cursor = plan_.found[2] + foundChange_[2];
        return summary;
    }

  private:
    void startPhase(int phase) {
        ctx_.progress.barColour(kPhaseColours[phase]);
        ctx_.progress.progress(0, plan_.totals[phase], phaseText(phase));
    }

    void endPhase(int phase, int passesDone) {
        ctx_.progress.progress(plan_.totals[phase], plan_.totals[phase], phaseText(phase));
        ctx_.pumpEvents();
        // Pass 2 reuses names pass 1 freed: pass 1's renames and its mark go to disk before
        // pass 2 changes anything. Later steps never touch what an earlier one made, so
        // passes 2 and 3 can be repeated from any point.
        if (phase != kRenamePhase - 1 || passesDone >= 1) return;
        if (resuming_) {
            for (std::uint32_t folder = 0; folder < plan_.folders.size(); ++folder)
                syncFolder(plan_.folders[folder]);
        }
        mover_.syncTouched();
        journal_.markPassDone(1);
    }

    void execute(const RenumberStep& step) {
        const bool done = resuming_ ? resume(step) : carryOut(step);
        if (done) {
            if (step.kind == RenumberStep::Kind::Aside || step.kind == RenumberStep::Kind::Check)
                summary_.movedFiles = true;
            return;
        }
        // The step's files stay under their names: count them where they are.
        for (const FileMove& move : step.moves) {
            countValid(move.to, move.toName, -1);
            countValid(move.from, move.fromName, +1);
        }
        // A taken name is the plan's business; any other failure is the disk's, and told so.
        const bool nameTaken = failure_ == EEXIST;
        if (step.kind == RenumberStep::Kind::Rename || step.kind == RenumberStep::Kind::Temporary) {
            const FileMove& last = step.moves.back();
            (nameTaken ? summary_.keptSongs : summary_.failedSongs)
                .push_back(lastComponent(plan_.folders[last.from]) + "/" +
                           codeFromFileName(last.fromName));
        } else {
            (nameTaken ? summary_.notMoved : summary_.movesFailed) +=
                static_cast<long long>(step.moves.size());
        }
    }

    void countValid(std::uint32_t folder, const std::string& name, int change) {
        const int kind = plan_.kindOfFolder(folder);
        if (kind < 0) return;
        static constexpr const char* extensions[] = {"MID", "LYR", "CUR"};
        if (hasExtension(name, extensions[kind]) &&
            characterCount(codeFromFileName(name)) == plan_.validLength)
            foundChange_[kind] += change;
    }

    // All of a step's moves, or none: a move refused half-way is undone.
    bool carryOut(const RenumberStep& step) {
        for (std::size_t k = 0; k < step.moves.size(); ++k) {
            const FileMove& move = step.moves[k];
            if (mover_.move(move.from, move.fromName, move.to, move.toName)) continue;
            failure_ = mover_.lastError();
            while (k-- > 0) {
                const FileMove& back = step.moves[k];
                mover_.move(back.to, back.toName, back.from, back.fromName);
            }
            return false;
        }
        changed_ = true;
        return true;
    }

    // A step of an interrupted run may be done, half done or not begun. A target that exists
    // was made by this step: every target was free when the plan was made, and no later step
    // of the same pass renames it away.
    bool resume(const RenumberStep& step) {
        std::size_t present = 0;
        for (const FileMove& move : step.moves) present += mover_.exists(move.to, move.toName);
        if (present == step.moves.size()) return true;
        if (present == 0) return carryOut(step);
        changed_ = true;
        for (const FileMove& move : step.moves) {
            if (mover_.exists(move.to, move.toName)) continue;
            if (mover_.move(move.from, move.fromName, move.to, move.toName)) continue;
            // The song goes back whole under its old names rather than stay split.
            failure_ = mover_.lastError();
            for (const FileMove& back : step.moves) {
                if (mover_.exists(back.to, back.toName))
                    mover_.move(back.to, back.toName, back.from, back.fromName);
            }
            return false;
        }
        return true;
    }

    RunContext& ctx_;
    RenumberPlan& plan_;
    JournalWriter& journal_;
    FolderMover mover_;
    bool resuming_;
    bool changed_ = false;
    int failure_ = 0;  // errno of the failed move of the last step not carried out
    text::Summary summary_;
    long long foundChange_[3] = {};
};

void markLibraryChanged(SessionState& state) {
    state.songsRenamed = true;
    state.songListCurrent = false;
    state.songsRemoved = false;
}

// Runs a written plan to its end or to a stop, and tells the user.
RenumberResult execute(RunContext& ctx, RenumberPlan& plan, JournalWriter& journal,
                       std::size_t from, int passesDone, bool resuming) {
    RenumberResult result;
    Execution execution(ctx, plan, journal, resuming);
    const bool complete = execution.run(from, passesDone);
    // The run's renames went around the file system's indexes.
    ctx.fs.forgetIndexes();
    result.summary = execution.summary();
    if (!complete) {
        journal.flush();
        // The library no longer matches the song list, even though the run is not over.
        if (execution.changedAnything() || resuming) ctx.state.songsRenamed = true;
        ctx.state.songListCurrent = false;
        result.status = Status::Stopped;
        ctx.prompt.inform(text::stopped());
        return result;
    }
    // Should the journal stay, it says all is done: a later start renames nothing by it.
    journal.markPassDone(3);
    const bool removed = journal.remove();
    markLibraryChanged(ctx.state);
    result.status = Status::Completed;
    std::string message =
        resuming ? text::interruptedCompleted(result.summary) : text::finished(result.summary);
    if (!removed) message += "\n\n" + text::journalNotRemoved(journalPath(ctx.programFolder));
    ctx.prompt.ask(
        removed && result.summary.whole() ? MessageIcon::Information : MessageIcon::Exclamation,
        MessageButtons::Ok, message);
    return result;
}

class BusyScope {
  public:
    explicit BusyScope(RunContext& ctx) : ctx_(ctx) { ctx.enterBusy("Rename"); }
    ~BusyScope() {
        ctx_.state.stopRequested = false;
        ctx_.leaveBusy();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    RunContext& ctx_;
};

RenumberResult refuse(Prompt& prompt, MessageIcon icon, const std::string& message) {
    prompt.ask(icon, MessageButtons::Ok, message);
    return {};
}

bool yes(Prompt& prompt, MessageIcon icon, const std::string& question) {
    return prompt.ask(icon, MessageButtons::YesNo, question) == Answer::Yes;
}

}  // namespace

bool hasInterruptedRenumber(const std::string& programFolder) {
    struct stat status;
    return ::lstat(journalPath(programFolder).c_str(), &status) == 0;
}

RenumberResult completeInterruptedRenumber(RunContext& ctx) {
    const std::string path = journalPath(ctx.programFolder);
    JournalState state;
    const JournalRead read = readJournal(path, state);
    if (read == JournalRead::Missing) return {};
    if (read == JournalRead::Damaged)
        return refuse(ctx.prompt, MessageIcon::Critical, text::journalUnreadable(path));
    std::optional<JournalWriter> journal = JournalWriter::reopen(path);
    if (!journal) return refuse(ctx.prompt, MessageIcon::Critical, text::journalUnreadable(path));
    ctx.state.stopRequested = false;
    BusyScope busy(ctx);
    return execute(ctx, state.plan, *journal, state.resumeAt, state.passesDone, true);
}

RenumberResult runRenumber(RunContext& ctx, const RenumberSettings& settings,
                           const PlanViewer& showPlan) {
    Prompt& prompt = ctx.prompt;
    // A folder that cannot be listed looks empty (from then on): its songs' partners would
    // look missing.
    const std::size_t listingFailures = ctx.fs.listingFailures();
    if (hasInterruptedRenumber(ctx.programFolder)) {
        const RenumberResult recovered = completeInterruptedRenumber(ctx);
        if (recovered.status != Status::Completed) return {};
    }
    ctx.state.stopRequested = false;

    const SchemeResult derived = deriveScheme(settings);
    if (derived.problem == SchemeProblem::DigitCount)
        return refuse(prompt, MessageIcon::Critical, text::digitCountInvalid());
    if (derived.problem == SchemeProblem::LeaveCount)
        return refuse(prompt, MessageIcon::Critical, text::leaveCountInvalid());
    const NumberScheme& scheme = derived.scheme;
    const int digits = scheme.digitCount;

    if (!yes(prompt, MessageIcon::Question, text::backupWarning())) return {};
    const bool numericPattern = isNumericText(settings.patternText);
    if (numericPattern && digits > 8 &&
        !yes(prompt, MessageIcon::Exclamation, text::moreThanEightDigits()))
        return {};
    if (!numericPattern && digits > 7 &&
        !yes(prompt, MessageIcon::Exclamation, text::patternLongerThanSeven(digits)))
        return {};
    Folders& folders = ctx.folders;
    if (isMultiFolderLayout(folders))
        return refuse(prompt, MessageIcon::Critical, text::multiFolderRefusal());
    if (!ctx.fs.isFolder(folders.midi) || !ctx.fs.isFolder(folders.lyric) ||
        !ctx.fs.isFolder(folders.cursor))
        return refuse(prompt, MessageIcon::Critical, text::foldersMissing());
    // Two kinds in one folder: each kind's pass would move the other kind's files away.
    const auto midi = ctx.fs.resolve(folders.midi), lyric = ctx.fs.resolve(folders.lyric),
               cursor = ctx.fs.resolve(folders.cursor);
    if (midi == lyric || midi == cursor || lyric == cursor)
        return refuse(prompt, MessageIcon::Critical, text::foldersShared());
    RenumberResult result;
    if (!ctx.fs.isFolder(folders.moveTo)) {
        const std::string created = joinPath(ctx.programFolder, "Invalid Files");
        if (!yes(prompt, MessageIcon::Exclamation, text::createMoveTo(created))) return {};
        if (!ctx.fs.createFolder(created))
            return refuse(prompt, MessageIcon::Critical, text::foldersMissing());
        folders.moveTo = created;
        result.createdMoveTo = created;
    }

    BusyScope busy(ctx);
    if (derived.problem == SchemeProblem::InvalidPattern) {
        prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::invalidPattern());
        return result;
    }
    const LibraryListing listing = listLibrary(ctx.fs, folders);
    if (listing.largestFolder() > scheme.capacity) {
        prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::tooManyFiles(scheme.capacity));
        return result;
    }
    std::optional<RenumberPlan> plan = planRenumber(ctx.fs, listing, folders.moveTo, scheme, [&] {
        if (yes(prompt, MessageIcon::Question, text::alreadyHasDigits(digits))) return true;
        prompt.inform(text::alreadyHasDigitsDeclined(digits));
        return false;
    });
    if (!plan) return result;
    if (ctx.fs.listingFailures() != listingFailures) {
        prompt.ask(MessageIcon::Critical, MessageButtons::Ok,
                   text::folderUnreadable(ctx.fs.lastUnlistedFolder()));
        return result;
    }
    if (showPlan) {
        showPlan(*plan);
        result.status = Status::Planned;
        return result;
    }
    const std::string path = journalPath(ctx.programFolder);
    std::optional<JournalWriter> journal = JournalWriter::create(path, *plan);
    if (!journal) {
        prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::journalNotWritten(path));
        return result;
    }
    RenumberResult outcome = execute(ctx, *plan, *journal, 0, 0, false);
    outcome.createdMoveTo = result.createdMoveTo;
    return outcome;
}

}  // namespace dadaz
