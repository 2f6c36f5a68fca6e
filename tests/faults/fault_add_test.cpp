#include <gtest/gtest.h>

#include "addsong/add_run.h"
#include "addsong/song_placer.h"
#include "fault_run_context.h"
#include "fault_sweep.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// A song that did not come in leaves nothing in the library and is named to the user; the
// start of the next run clears what a failed or killed one left half made.
std::vector<std::string> addProblems(const std::string& program, const RunOutcome& outcome,
                                     const std::vector<NewSongTriple>& newSongs) {
    std::vector<std::string> problems;
    if (!outcome.success && outcome.message.empty()) problems.push_back("failure not told");
    const TreeState lyrics = snapshot(program + "/LYRICS");
    std::vector<std::string> unnamed;
    bool anyAdded = false;
    for (const NewSongTriple& song : newSongs) {
        const std::string name = song.lyricPath.substr(song.lyricPath.rfind('/') + 1);
        const std::size_t hash =
            snapshot(song.lyricPath.substr(0, song.lyricPath.rfind('/'))).at(name).hash;
        bool added = false;
        for (const auto& [path, file] : lyrics) added = added || file.hash == hash;
        anyAdded = anyAdded || added;
        if (!added && outcome.message.find(name) == std::string::npos) unnamed.push_back(name);
    }
    // A run refused before its copies tells so as a whole.
    if (anyAdded)
        for (const std::string& name : unnamed)
            problems.push_back("neither added nor named: " + name);
    FileSystem fs;
    SongPlacer(fs, program)
        .removeLeftovers({program + "/SONG", program + "/LYRICS", program + "/CURSOR", {}});
    for (const auto& [path, file] : snapshot(program)) {
        if (path.find("/.") != std::string::npos || path.front() == '.')
            problems.push_back("left after the next start: " + path);
    }
    return problems;
}

TEST(AddSongFaults, EachFailingCallLeavesWholeSongsAndNamesTheOthers) {
    struct Case {
        const char* name;
        AddTarget target;
        const char* prefix;
    };
    const Case cases[] = {
        {"numbered after folder 1", AddTarget::Automatic, "1"},
        {"under their own names", AddTarget::KeepNames, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<NewSongTriple> newSongs;
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& program) {
            newSongs = makeTestLibrary(program, 16, false, true).newSongs;
            writeBytes(program + "/NewSong.txt", "the last run's list\r\n");
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, false);
            AddSongOptions options{.target = c.target,
                                   .sourceFolder = program + "/New Song",
                                   .prefix = c.prefix,
                                   .patternBox = "0000",
                                   .timeStamp = "071220260600"};
            const AddSongResult result = runAddSong(run.ctx, options);
            const bool plain = result.status == AddSongResult::Status::Finished &&
                               result.leftOut.empty() && result.recordsWritten &&
                               !run.prompt.showed(MessageIcon::Exclamation) &&
                               !run.prompt.showed(MessageIcon::Critical);
            return RunOutcome{plain, result.message};
        };
        faultCase.rewritten = [](const std::string& path) {
            return path == "NewSong.txt" || path.starts_with("Log/");
        };
        faultCase.runTwice = false;
        faultCase.callsPerKind = 6;
        faultCase.extraChecks = [&](const std::string& program, const RunOutcome& outcome) {
            return addProblems(program, outcome, newSongs);
        };
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
