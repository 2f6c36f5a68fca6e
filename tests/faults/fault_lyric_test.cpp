#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fault_remove_library.h"
#include "fault_sweep.h"
#include "library/song_paths.h"
#include "operations/lyric_editor.h"
#include "platform/filesystem.h"

namespace dadaz::testing {
namespace {

bool writable(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) != 0;
}

// Whatever call fails, the lyric holds its old bytes or the new ones, keeps its read-only
// mark, and a save that did not happen says so.
TEST(LyricSaveFaults, EachCallOfASaveLeavesTheOldLyricOrTheNew) {
    struct Case {
        const char* name;
        GeneratorLayout layout;
        bool readOnly;
    };
    const Case cases[] = {
        {"separate folders", GeneratorLayout::Separate, false},
        {"volumes, read-only lyric", GeneratorLayout::Multi, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongLibrary library(c.layout);
        std::string lyric;
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            library.make(programFolder, 1);
            lyric = library.picked()[0].files[1];
            if (c.readOnly) ::chmod((programFolder + "/" + lyric).c_str(), 0444);
            faultCase.oldOrNew = {lyric};  // known once the library is made
        };
        faultCase.run = [&](const std::string& programFolder) {
            FileSystem fs;
            const SongPaths paths(fs, library.folders(programFolder));
            LyricEditor editor;
            if (auto refused = editor.begin(fs, paths, library.songs(programFolder)[0]))
                return RunOutcome{false, *refused};
            editor.take(0);
            if (auto refused = editor.accept("A title saved on a failing disk"))
                return RunOutcome{false, *refused};
            const auto failed = editor.save(fs, paths);
            return RunOutcome{!failed, failed.value_or("")};
        };
        faultCase.songsRewritten = library.pickedFiles();
        faultCase.rewritten = [&](const std::string& path) { return path == lyric; };
        faultCase.extraChecks = [&](const std::string& programFolder, const RunOutcome& outcome) {
            std::vector<std::string> problems;
            if (writable(programFolder + "/" + lyric) == c.readOnly)
                problems.push_back("the read-only mark changed");
            if (!outcome.success && outcome.message.empty()) problems.push_back("silent failure");
            return problems;
        };
        EXPECT_GT(sweepFaults(faultCase), 3u);
    }
}

}  // namespace
}  // namespace dadaz::testing
