#include <gtest/gtest.h>

#include <filesystem>

#include "fault_remove_library.h"
#include "fault_sweep.h"
#include "library/song_paths.h"
#include "operations/song_replacement.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

const char* const kNewBytes[] = {"MThd new music", "new title\r\nnew artist\r\nC\r\n", "new cur"};

// Whatever call fails, the song is its old self or, where the message says it was replaced,
// its new self: never old files beside new ones.
TEST(ReplaceFaults, EachCallOfAReplaceLeavesTheOldSongOrTheNew) {
    struct Case {
        const char* name;
        GeneratorLayout layout;
        ReplaceMode mode;
        bool lowerCase = false;  // the song's files named "12345.mid", ...
    };
    const Case cases[] = {
        {"all files, separate folders", GeneratorLayout::Separate, ReplaceMode::AllFiles},
        {"all files, volumes", GeneratorLayout::Multi, ReplaceMode::AllFiles},
        {"MIDI only, volumes", GeneratorLayout::Multi, ReplaceMode::MidiOnly},
        {"all files named in lower case", GeneratorLayout::Separate, ReplaceMode::AllFiles, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongLibrary library(c.layout);
        const std::size_t replaced = c.mode == ReplaceMode::AllFiles ? 3 : 1;
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            library.make(programFolder, 1);
            if (c.lowerCase) library.lowerExtensions(programFolder);
        };
        faultCase.run = [&](const std::string& programFolder) {
            const std::string source = programFolder + "-new/NEW.";
            for (std::size_t i = 0; i < 3; ++i) {
                const char* extension[] = {"MID", "LYR", "CUR"};
                if (!std::filesystem::exists(source + extension[i]))
                    writeBytes(source + extension[i], kNewBytes[i]);
            }
            FileSystem fs;
            const SongPaths paths(fs, library.folders(programFolder));
            const ReplaceCheck check = checkReplacement(fs, paths, library.songs(programFolder)[0],
                                                        c.mode, source + "MID");
            if (!check.plan) return RunOutcome{false, check.refusal};
            const ReplaceOutcome outcome = replaceSongFiles(fs, *check.plan);
            // Replaced with a warning is no plain success.
            return RunOutcome{outcome.replaced && outcome.icon == MessageIcon::Information,
                              outcome.message};
        };
        faultCase.songsRewritten = library.pickedFiles();
        faultCase.rewritten = faultCase.songsRewritten;
        faultCase.extraChecks = [&](const std::string& programFolder, const RunOutcome& outcome) {
            const std::vector<std::string>& files = library.picked()[0].files;
            std::size_t fresh = 0, old = 0;
            for (std::size_t i = 0; i < 3; ++i) {
                const std::string bytes = readBytes(programFolder + "/" + files[i]);
                fresh += i < replaced && bytes == kNewBytes[i];
                old += std::hash<std::string>{}(bytes) == library.before().at(files[i]).hash;
            }
            std::vector<std::string> problems;
            if (old != 3 && !(fresh == replaced && old == 3 - replaced))
                problems.push_back("neither the old song nor the new one: " + files[0]);
            // A warning after a whole replace names the files it left.
            const char* named = fresh == replaced ? "/." : "";
            if (!outcome.success &&
                (outcome.message.empty() || outcome.message.find(named) == std::string::npos))
                problems.push_back("the message says too little: " + outcome.message);
            return problems;
        };
        faultCase.callsPerKind = 6;
        EXPECT_GT(sweepFaults(faultCase), 5u);
    }
}

}  // namespace
}  // namespace dadaz::testing
