#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fault_run_context.h"
#include "fault_sweep.h"
#include "songlist/songlist_run.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// Makes the KAR file of its three inputs and leaves a work file in the program folder, as the
// real converter does.
const char* const kConverter =
    "#!/bin/sh\ncat \"$1\" \"$2\" \"$3\" > \"$4\"\necho work > \"$(dirname \"$0\")/temp.txt\"\n";

// The KAR form empties "Kar" under the chosen folder, checks the library on the way (moving
// invalid files aside, emptying fourth lyric lines) and has every valid song converted.
TEST(KarFaults, EachFailingCallLeavesTheLibraryWholeAndIsTold) {
    {  // in volume folders; the song list's sweep covers the separate-folder layout
        const bool multi = true;
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& program) {
            for (const GeneratedSong& song : makeTestLibrary(program, 12, multi).songs)
                faultCase.oldOrNew.push_back(song.lyricPath.substr(program.size() + 1));
            writeBytes(program + "/MakeKar.exe", kConverter);
            ::chmod((program + "/MakeKar.exe").c_str(), 0755);
            writeBytes(program + "/Out/Kar/1/10001.KAR", "an earlier run's");
            writeBytes(program + "/Out/Kar/Old/notes.txt", "also in Kar");
            writeBytes(program + "/Out/mine.txt", "the user's, beside Kar");
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, multi);
            run.state.makeKarAvailable = true;
            SongListOptions options;
            options.checkFiles = true;
            options.karMode = true;
            options.karFolder = program + "/Out";
            const SongListResult result = runSongList(run.ctx, options);
            const bool plain = result.status == SongListResult::Status::KarFilesMade &&
                               result.karNotWritten == 0 &&
                               !run.prompt.showed(MessageIcon::Critical) &&
                               !run.prompt.showed(MessageIcon::Exclamation);
            return RunOutcome{plain, run.prompt.all()};
        };
        faultCase.rewritten = [](const std::string& path) {
            return path.starts_with("Out/Kar/") || path.ends_with(".LYR") ||
                   path.starts_with("Log/") || path == "temp.txt";
        };
        faultCase.extraChecks = [](const std::string& program, const RunOutcome& outcome) {
            std::vector<std::string> problems;
            if (!outcome.success && outcome.message.empty()) problems.push_back("failure not told");
            if (readBytes(program + "/Out/mine.txt") != "the user's, beside Kar")
                problems.push_back("a file beside Kar changed");
            return problems;
        };
        faultCase.callsPerKind = 5;
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
