#include <gtest/gtest.h>

#include <filesystem>

#include "duplicates/duplicate_review.h"
#include "fault_remove_library.h"
#include "fault_sweep.h"
#include "platform/filesystem.h"
#include "platform/progress.h"
#include "support/answering_prompt.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

const char kStamp[] = "071220260930";

std::vector<ResultLine> resultLines(const SongLibrary& library, const std::string& programFolder) {
    std::vector<ResultLine> lines;
    for (const PickedSong& song : library.picked()) {
        std::string text = song.code + ";title " + song.code + ";artist;C";
        if (library.multiFolder()) text += ";" + programFolder + "/" + song.volume;
        lines.push_back({text, true});
        lines.push_back({duplicateSeparator(), false});
    }
    return lines;
}

// Whatever call fails, each marked song is whole in its place or gone whole (whole in the
// move-to folder), the log lists exactly the songs that went, the message names every song
// that stayed, and only a run that did everything shows the success text.
TEST(DuplicateFaults, EachCallOfADeleteOrMoveOfMarkedSongsFailsSafely) {
    struct Case {
        const char* name;
        GeneratorLayout layout;
        RemovalKind kind;
    };
    const Case cases[] = {
        {"delete, volumes", GeneratorLayout::Multi, RemovalKind::Delete},
        {"move, separate folders", GeneratorLayout::Separate, RemovalKind::Move},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongLibrary library(c.layout);
        const std::string log = std::string("Log/") +
                                (c.kind == RemovalKind::Delete ? "DDUP" : "MDUP") + kStamp + ".txt";
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            library.make(programFolder, 4);
            std::filesystem::create_directories(programFolder + "/Invalid Files");
        };
        faultCase.run = [&](const std::string& programFolder) {
            FileSystem fs;
            NullProgress progress;
            const DuplicateRemovalRun run{
                c.kind, programFolder,
                library.folders(programFolder, programFolder + "/Invalid Files"), kStamp};
            const auto result =
                removeMarkedSongs(fs, resultLines(library, programFolder), run, progress);
            MessageIcon icon{};
            const std::string message = removalMessage(c.kind, result, icon);
            return RunOutcome{icon == MessageIcon::Information, message};
        };
        if (c.kind == RemovalKind::Delete) faultCase.mayGo = library.pickedFiles();
        faultCase.rewritten = [&](const std::string& path) { return path == log; };
        faultCase.runTwice = false;  // the next run finds the songs gone: a log of nothing
        faultCase.extraChecks = [&](const std::string& programFolder, const RunOutcome& outcome) {
            auto problems = unnamedStayingSongs(library, programFolder, outcome.message);
            for (auto& left : unnamedLeftovers(library, programFolder, outcome.message))
                problems.push_back(left);
            const std::string logged = readBytes(programFolder + "/" + log);
            const bool logMissing = !std::filesystem::exists(programFolder + "/" + log);
            if (logMissing && outcome.message.find(log) == std::string::npos)
                problems.push_back("log missing, and the message does not say so");
            for (const PickedSong& song : library.picked()) {
                const bool gone = !std::filesystem::exists(programFolder + "/" + song.files[0]);
                const bool inLog = logged.find(song.code + ";") != std::string::npos;
                if (!logMissing && gone != inLog)
                    problems.push_back("song " + song.code + (gone ? " went" : " stayed") +
                                       (inLog ? ", yet is logged" : ", yet is not logged"));
            }
            return problems;
        };
        faultCase.callsPerKind = 6;
        EXPECT_GT(sweepFaults(faultCase), 10u);
    }
}

// Whatever call fails, the saved selection is the old file or the new one, and a failed save
// shows the critical message.
TEST(DuplicateFaults, EachCallOfASelectionSaveKeepsTheOldFileOrTheNew) {
    for (const std::string stored : {"SelectSong.txt", "selectsong.txt"}) {
        SCOPED_TRACE(stored);
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            writeBytes(programFolder + "/" + stored, "10001;old;artist;C\r\n");
        };
        faultCase.run = [](const std::string& programFolder) {
            FileSystem fs;
            AnsweringPrompt prompt;
            const std::vector<ResultLine> lines = {{"10002;two;artist;C", true},
                                                   {"10003;three;artist;C", false},
                                                   {"10004;four;a;D", true}};
            const bool saved = saveSelection(fs, programFolder, lines, prompt);
            const bool critical =
                prompt.shown.size() == 1 && prompt.shown[0].icon == MessageIcon::Critical;
            return RunOutcome{saved && prompt.shown.empty(), saved || critical ? prompt.all() : ""};
        };
        faultCase.rewritten = [&](const std::string& path) { return path == stored; };
        faultCase.oldOrNew = {stored};
        faultCase.extraChecks = [](const std::string&, const RunOutcome& outcome) {
            std::vector<std::string> problems;
            if (!outcome.success && outcome.message.empty())
                problems.push_back("a failed save without its critical message");
            return problems;
        };
        EXPECT_GT(sweepFaults(faultCase), 3u);
    }
}

}  // namespace
}  // namespace dadaz::testing
