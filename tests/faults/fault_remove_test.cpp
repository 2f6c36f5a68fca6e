#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "fault_remove_library.h"
#include "fault_sweep.h"
#include "library/song_paths.h"
#include "operations/removal_texts.h"
#include "operations/song_removal.h"
#include "platform/filesystem.h"

namespace dadaz::testing {
namespace {

enum class MoveTo { Nowhere, Inside, OtherDisk };

// A folder in memory: another file system than the library's, so files are copied over.
struct OtherDisk {
    OtherDisk() {
        if (!::mkdtemp(path.data())) path.clear();
    }
    ~OtherDisk() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
    std::string path = "/dev/shm/dadaz-faults-XXXXXX";
};

std::string moveToFolder(MoveTo where, const std::string& programFolder) {
    static const OtherDisk otherDisk;
    switch (where) {
        case MoveTo::Nowhere:
            return {};
        case MoveTo::Inside:
            return programFolder + "/Invalid Files";
        case MoveTo::OtherDisk:
            return otherDisk.path + programFolder;
    }
    return {};
}

bool everySongHandled(const RemovalReport& report) {
    return std::all_of(report.songs.begin(), report.songs.end(), [](const SongRemovalOutcome& s) {
        return s.result == SongRemoval::Removed || s.result == SongRemoval::NotFound;
    });
}

// Whatever call fails, each song is in its place whole, or gone whole (into the move-to
// folder whole), and the report names every song that stayed and every file left behind.
TEST(RemovalFaults, EachCallOfADeleteOrMoveFailsSafely) {
    struct Case {
        const char* name;
        GeneratorLayout layout;
        RemovalKind kind;
        MoveTo moveTo;
    };
    const Case cases[] = {
        {"delete, separate folders", GeneratorLayout::Separate, RemovalKind::Delete,
         MoveTo::Nowhere},
        {"delete, volumes", GeneratorLayout::Multi, RemovalKind::Delete, MoveTo::Nowhere},
        {"move inside, volumes", GeneratorLayout::Multi, RemovalKind::Move, MoveTo::Inside},
        {"move to another disk, separate folders", GeneratorLayout::Separate, RemovalKind::Move,
         MoveTo::OtherDisk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongLibrary library(c.layout);
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            library.make(programFolder, 4);
            if (c.moveTo == MoveTo::Inside)
                std::filesystem::create_directories(moveToFolder(c.moveTo, programFolder));
        };
        faultCase.run = [&](const std::string& programFolder) {
            const std::string moveTo = moveToFolder(c.moveTo, programFolder);
            if (c.moveTo == MoveTo::OtherDisk) std::filesystem::create_directories(moveTo);
            FileSystem fs;
            const SongPaths paths(fs, library.folders(programFolder, moveTo));
            SongRemover remover(fs, paths);
            const auto songs = library.songs(programFolder);
            const RemovalReport report = c.kind == RemovalKind::Delete
                                             ? remover.deleteSongs(songs)
                                             : remover.moveSongs(songs, moveTo);
            return RunOutcome{everySongHandled(report),
                              removal_text::reportText(c.kind, report, false)};
        };
        if (c.moveTo != MoveTo::Inside) faultCase.mayGo = library.pickedFiles();
        faultCase.extraChecks = [&](const std::string& programFolder, const RunOutcome& outcome) {
            auto problems = unnamedStayingSongs(library, programFolder, outcome.message);
            for (auto& left : unnamedLeftovers(library, programFolder, outcome.message))
                problems.push_back(left);
            if (c.moveTo == MoveTo::OtherDisk) {
                TreeState both = snapshot(programFolder);
                merge(both, snapshot(moveToFolder(c.moveTo, programFolder)), "moved");
                for (auto& problem : songProblems(library.before(), both))
                    problems.push_back("library and move-to folder: " + problem);
            }
            return problems;
        };
        faultCase.callsPerKind = 6;
        EXPECT_GT(sweepFaults(faultCase), 10u);
    }
}

}  // namespace
}  // namespace dadaz::testing
