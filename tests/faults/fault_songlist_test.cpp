#include <gtest/gtest.h>

#include <optional>

#include "fault_run_context.h"
#include "fault_sweep.h"
#include "songlist/songlist_run.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// SongList.txt names the volume folders by their full path: the copy's own folder is "@".
std::string songListOf(const std::string& program) {
    std::string bytes = readBytes(program + "/SongList.txt");
    for (std::size_t at = 0; (at = bytes.find(program, at)) != std::string::npos;)
        bytes.replace(at, program.size(), "@");
    return bytes;
}

// What a whole run leaves, taken from the first (fault-free) run.
struct WholeRun {
    std::string songList;
    TreeState files;
};

// The player database files belong together: a player reading a new List.vk2 with an old
// Tarn.vk2 (or the other way round) finds songs at the wrong records. A run that tells of no
// trouble did all a whole run does, lyric fixes included.
std::vector<std::string> songListProblems(const std::string& program, const RunOutcome& outcome,
                                          const WholeRun& whole) {
    std::vector<std::string> problems;
    const bool oldList = readBytes(program + "/List.vk2") == "old list";
    const bool oldTarn = readBytes(program + "/Tarn.vk2") == "old tarn";
    if (oldList != oldTarn) problems.push_back("List.vk2 and Tarn.vk2 are one old, one new");
    const std::string songList = songListOf(program);
    if (songList != "old songlist\r\n" && songList != whole.songList)
        problems.push_back("SongList.txt neither old nor new");
    if (!outcome.success && outcome.message.empty()) problems.push_back("failure not told");
    if (!outcome.success) return problems;
    const TreeState now = snapshot(program);
    for (const auto& [path, file] : whole.files) {
        const auto found = now.find(path);
        if (path != "SongList.txt" && (found == now.end() || found->second.hash != file.hash))
            problems.push_back("told of no trouble, yet not as a whole run left it: " + path);
    }
    return problems;
}

TEST(SongListFaults, EachFailingCallLeavesOldOrNewFilesAndIsTold) {
    struct Case {
        const char* name;
        bool multi;
        bool checkFiles;  // also moves invalid files and empties fourth lyric lines
        bool ownList;     // SongList.txt only, no closing message
    };
    const Case cases[] = {
        {"separate folders, own list, checking", false, true, true},
        {"volume folders, checking", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultCase faultCase;
        std::optional<WholeRun> whole;
        faultCase.makeLibrary = [&](const std::string& program) {
            // Every lyric file the checking form may rewrite is old or new, never half.
            for (const GeneratedSong& song : makeTestLibrary(program, 24, c.multi).songs)
                faultCase.oldOrNew.push_back(song.lyricPath.substr(program.size() + 1));
            writeBytes(program + "/SongList.txt", "old songlist\r\n");
            writeBytes(program + "/List.vk2", "old list");
            writeBytes(program + "/Tarn.vk2", "old tarn");
            writeBytes(program + "/Old.vk2", "players read only the pair");
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, c.multi);
            run.state.catalogueRequested = c.ownList;
            SongListOptions options;
            options.checkFiles = c.checkFiles;
            const SongListResult result = runSongList(run.ctx, options);
            const bool plain = result.status == SongListResult::Status::Written &&
                               (c.ownList || result.databaseWritten) &&
                               !run.prompt.showed(MessageIcon::Critical) &&
                               !run.prompt.showed(MessageIcon::Exclamation);
            if (!whole) whole = WholeRun{songListOf(program), snapshot(program)};
            return RunOutcome{plain, run.prompt.all()};
        };
        faultCase.rewritten = [](const std::string& path) {
            return endsWith(path, ".vk2") || endsWith(path, ".LYR") || path == "SongList.txt";
        };
        faultCase.oldOrNew = {"List.vk2", "Tarn.vk2"};  // lyric files added above
        faultCase.callsPerKind = 6;
        faultCase.extraChecks = [&](const std::string& program, const RunOutcome& outcome) {
            return songListProblems(program, outcome, *whole);
        };
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
