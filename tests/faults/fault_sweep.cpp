#include "fault_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz::testing {

namespace fs = std::filesystem;
using faults::FileOp;

namespace {

void copyTree(const std::string& from, const std::string& to) {
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

std::vector<std::size_t> spreadCalls(std::size_t calls, std::size_t most) {
    std::vector<std::size_t> picked;
    if (calls == 0) return picked;
    const std::size_t count = std::min(calls, most);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t call = count == 1 ? 1 : 1 + i * (calls - 1) / (count - 1);
        if (picked.empty() || picked.back() != call) picked.push_back(call);
    }
    return picked;
}

TreeState without(TreeState tree, const PathFilter& leftOut) {
    if (leftOut) std::erase_if(tree, [&](const auto& item) { return leftOut(item.first); });
    return tree;
}

void report(const std::string& what, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) ADD_FAILURE() << what << ": " << problem;
}

// Files missing or added, by path.
std::vector<std::string> pathDifferences(const TreeState& expected, const TreeState& actual,
                                         const PathFilter& skip) {
    std::vector<std::string> problems;
    for (const auto& [path, file] : expected) {
        if (!actual.count(path) && !(skip && skip(path))) problems.push_back("missing: " + path);
    }
    for (const auto& [path, file] : actual) {
        if (!expected.count(path) && !(skip && skip(path))) problems.push_back("extra: " + path);
    }
    return problems;
}

}  // namespace

std::size_t sweepFaults(const FaultCase& faultCase) {
    TempDir work;
    const std::string pristine = work / "pristine";
    faultCase.makeLibrary(pristine);
    const TreeState before = snapshot(pristine);
    // Beside the library: no run may touch it.
    const std::string sentinel = work / "sentinel";
    writeBytes(sentinel + "/10001.MID", "MThd beside the library");
    writeBytes(sentinel + "/SongList.txt", "not the library's list\r\n");
    const TreeState sentinelBefore = snapshot(sentinel);

    // A fault-free run: what a whole run leaves, and how many calls of each kind it makes.
    const std::string reference = work / "reference";
    copyTree(pristine, reference);
    std::size_t callCounts[static_cast<std::size_t>(FileOp::Count)] = {};
    {
        faults::FaultPlan counting;
        const RunOutcome outcome = faultCase.run(reference);
        EXPECT_TRUE(outcome.success) << "the run without faults failed: " << outcome.message;
        for (std::size_t kind = 0; kind < std::size(callCounts); ++kind) {
            callCounts[kind] = counting.calls(static_cast<FileOp>(kind));
        }
    }
    const TreeState finished = snapshot(reference);
    TreeState finishedTwice;
    if (faultCase.runTwice && faultCase.settles) {
        EXPECT_TRUE(faultCase.run(reference).success) << "a second run without faults failed";
        finishedTwice = snapshot(reference);
    }

    std::vector<FileOp> kinds = faultCase.kinds;
    if (kinds.empty()) {
        for (std::size_t kind = 0; kind < std::size(callCounts); ++kind) {
            kinds.push_back(static_cast<FileOp>(kind));
        }
    }
    static const int errors[] = {EIO, ENOSPC, EACCES, EROFS};
    std::size_t runs = 0;
    for (FileOp kind : kinds) {
        const auto calls =
            spreadCalls(callCounts[static_cast<std::size_t>(kind)], faultCase.callsPerKind);
        for (std::size_t call : calls) {
            const int error = errors[(runs++) % std::size(errors)];
            const std::string what = std::string(faults::name(kind)) + " call " +
                                     std::to_string(call) + " failing with " + std::strerror(error);
            const std::string library = work / ("run" + std::to_string(runs));
            copyTree(pristine, library);
            RunOutcome outcome;
            std::size_t failed = 0;
            {
                faults::FaultPlan plan;
                plan.fail(kind, call, error);
                outcome = faultCase.run(library);
                failed = plan.failed();
            }
            const TreeState after = snapshot(library);
            if (failed > 0 && outcome.success) {
                // Only a run that got round the failure may say it did everything.
                std::vector<std::string> differences = changes(finished, after);
                std::erase_if(differences, [&](const std::string& text) {
                    return text.rfind("changed: ", 0) == 0;  // times differ between runs
                });
                for (auto& text : differences) text = "reported success, yet " + text;
                report(what, differences);
            }
            const TreeState finishedSongs = without(finished, faultCase.songsRewritten);
            report(what, songProblems(without(before, faultCase.songsRewritten),
                                      without(after, faultCase.songsRewritten), faultCase.mayGo,
                                      &finishedSongs));
            report(what, lostFiles(before, after, [&](const std::string& path) {
                       return (faultCase.rewritten && faultCase.rewritten(path)) ||
                              (faultCase.mayGo && faultCase.mayGo(path));
                   }));
            report(what, neitherOldNorNew(before, finished, after, faultCase.oldOrNew));
            report(what + ", beside the library", changes(sentinelBefore, snapshot(sentinel)));
            if (faultCase.extraChecks) report(what, faultCase.extraChecks(library, outcome));
            if (faultCase.runTwice) {
                const RunOutcome again = faultCase.run(library);
                if (!again.success)
                    ADD_FAILURE() << what << ": the next run failed: " << again.message;
                const TreeState settled = snapshot(library);
                report(what + ", then a whole run", temporaries(before, settled));
                if (faultCase.settles) {
                    report(what + ", then a whole run",
                           pathDifferences(finishedTwice, settled, faultCase.rewritten));
                    report(what + ", then a whole run", songProblems(finishedTwice, settled));
                }
            }
            fs::remove_all(library);
        }
    }
    return runs;
}

}  // namespace dadaz::testing
