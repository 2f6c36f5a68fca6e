#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "fault_run_context.h"
#include "fault_sweep.h"
#include "library/song_paths.h"
#include "operations/song_export.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The export folder beside the copy of the library, so the library can be compared whole.
std::string exportFolder(const std::string& program) {
    return program + ".export";
}

// Every file in the export folder is a whole copy of the library file of its name (or what an
// earlier export left), the library keeps every file as it was, and a failure names its song.
std::vector<std::string> exportProblems(const std::string& program, const RunOutcome& outcome,
                                        const TreeState& library,
                                        const std::map<std::string, std::set<std::size_t>>& whole,
                                        const std::vector<CurrentSong>& songs) {
    std::vector<std::string> problems;
    for (const auto& [path, file] : snapshot(exportFolder(program))) {
        const auto known = whole.find(nameOf(path));
        if (known == whole.end() || !known->second.count(file.hash))
            problems.push_back("not a whole copy: " + path);
    }
    const TreeState now = snapshot(program);
    for (const auto& [path, file] : now) {
        const auto was = library.find(path);
        if (was == library.end() || was->second.hash != file.hash)
            problems.push_back("library changed: " + path);
    }
    if (now.size() != library.size()) problems.push_back("library lost files");
    if (!outcome.success) {
        bool named = false;
        for (const CurrentSong& song : songs)
            named =
                named || outcome.message.find("\n     " + song.code() + ": ") != std::string::npos;
        if (!named) problems.push_back("failure names no song: " + outcome.message);
    }
    return problems;
}

TEST(ExportFaults, EachFailingCallLeavesWholeCopiesAndAnUntouchedLibrary) {
    struct Case {
        const char* name;
        ExportForm form;
        bool multi;
        // A file of the first song an earlier export left ("%" its code, "#" its first
        // character), which this one
        // replaces.
        const char* earlier;
    };
    const Case cases[] = {
        {"three files flat, volumes", ExportForm::AllFlat, true, "%.LYR"},
        {"three files in folders", ExportForm::AllStructured, false, "SONG/#/%.MID"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CurrentSong> songs;  // volumes by name; in a copy under its folder
        std::map<std::string, std::set<std::size_t>> whole;  // file name: bytes it may have
        TreeState library;
        std::string earlier;
        std::optional<TreeState> wholeExport;
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& program) {
            const GeneratedLibrary generated = makeTestLibrary(program, 16, c.multi);
            // Every other whole song, one per code (volumes may share codes).
            std::set<std::string> codes;
            for (std::size_t i = 0; i < generated.songs.size(); i += 2) {
                const GeneratedSong& song = generated.songs[i];
                if (song.missing == MissingPartner::None && codes.insert(song.code).second)
                    songs.emplace_back(song.code, song.volume);
            }
            library = snapshot(program);
            for (const auto& [path, file] : library) whole[nameOf(path)].insert(file.hash);
            earlier = c.earlier;
            earlier.replace(earlier.find('%'), 1, songs.front().code());
            if (earlier[5] == '#') earlier[5] = songs.front().code()[0];
            whole[nameOf(earlier)].insert(std::hash<std::string>{}("an earlier export"));
        };
        faultCase.run = [&](const std::string& program) {
            FaultRunContext run(program, c.multi);
            const std::string folder = exportFolder(program);
            std::filesystem::remove_all(folder);
            writeBytes(folder + "/" + earlier, "an earlier export");
            const SongPaths paths(run.fs, run.ctx.folders);
            std::vector<CurrentSong> chosen;
            for (const CurrentSong& song : songs)
                chosen.emplace_back(song.code(),
                                    song.volume().empty() ? "" : program + "/" + song.volume());
            const ExportReport report = copySongs(run.fs, paths, chosen, folder, c.form);
            if (!wholeExport) wholeExport = snapshot(folder);  // the fault-free run comes first
            return RunOutcome{report.complete(),
                              export_text::closing(c.form, folder, songs, report)};
        };
        faultCase.extraChecks = [&](const std::string& program, const RunOutcome& outcome) {
            std::vector<std::string> problems =
                exportProblems(program, outcome, library, whole, songs);
            if (outcome.success && snapshot(exportFolder(program)).size() != wholeExport->size())
                problems.push_back("reported whole, yet files are missing from the export");
            return problems;
        };
        faultCase.callsPerKind = 6;
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
