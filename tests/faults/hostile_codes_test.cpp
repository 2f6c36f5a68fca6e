// Codes and volume folders read from SongList.txt and SelectSong.txt that try to leave the
// library: no operation on such a line reads, starts, copies, deletes or moves a file
// outside it.

#include "catalogue/song_detail.h"
#include "catalogue/song_files.h"
#include "duplicates/duplicate_review.h"
#include "faults/hostile_fixture.h"
#include "operations/favourites.h"
#include "operations/song_export.h"
#include "operations/song_removal.h"

namespace dadaz::testing {
namespace {

// Song lines (code;title;artist;key[;volume]) aimed at dir/outside from the library.
std::vector<std::string> hostileLines(const HostileLibrary& h, bool multi) {
    const std::string volume = multi ? ";" + h.program + "/" + h.lib.volumes[0] : "";
    const std::string longText(5000, '9');
    std::vector<std::string> lines = {
        "../../outside/lyrics/90001;Outside;Nobody;C" + volume,
        "./../../outside/lyrics/90001;Outside;Nobody;C" + volume,
        h.outside + "/lyrics/90001;Outside;Nobody;C" + volume,
        "9\\..\\..\\outside;Outside;Nobody;C" + volume,
        std::string("9\0/../../../outside/lyrics/90001;Outside;Nobody;C", 48) + volume,
        longText + ";" + longText + ";" + longText + ";C" + volume,
        "*;Star;Nobody;C" + volume,
    };
    if (multi) {
        for (const std::string& to : std::vector<std::string>{
                 h.program + "/..", h.program + "/../outside", h.outside, h.program + "/VOL1/../..",
                 std::string("/"), h.program + "/.." + std::string(1, '\0'), longText}) {
            lines.push_back(h.song(0).code + ";Title;Artist;C;" + to);
        }
    }
    return lines;
}

TEST(HostileCodes, NoOperationOnALineLeavesTheLibrary) {
    for (const GeneratorLayout layout : {GeneratorLayout::Separate, GeneratorLayout::Multi}) {
        const bool multi = layout == GeneratorLayout::Multi;
        SCOPED_TRACE(multi ? "multi" : "separate");
        HostileLibrary h(layout);
        const std::string exportFolder = h.dir / "export";
        stdfs::create_directory(exportFolder);
        const auto library = treeOf(h.program);
        const SongPaths paths(h.fs, h.folders());
        std::string list = "note\r\ncolumns\r\n";
        std::vector<ResultLine> marked;
        for (const std::string& line : hostileLines(h, multi)) {
            SCOPED_TRACE(line.substr(0, 80));
            list += line + "\r\n";
            marked.push_back({line, true});
            const SongDetail detail = showSongDetail(line, paths, h.fs, h.prompt);
            EXPECT_EQ(detail.lyricText.find("Outside"), std::string::npos);
            openSongMidi(line, paths, h.fs, h.program, h.launcher);
            const CurrentSong song = currentSongOfLine(line, multi);
            SongRemover remover(h.fs, paths);
            for (const RemovalReport& report :
                 {remover.deleteSongs({song}), remover.moveSongs({song}, h.moveTo)}) {
                EXPECT_EQ(report.filesRemoved, 0u);
            }
            for (ExportForm form : {ExportForm::MidiOnly, ExportForm::AllStructured}) {
                EXPECT_EQ(copySongs(h.fs, paths, {song}, exportFolder, form).filesWritten, 0u);
            }
            EXPECT_NE(FavouritesFile(h.fs, h.program).add(line), FavouriteAdd::Failed);
        }
        for (const RemovalKind kind : {RemovalKind::Delete, RemovalKind::Move}) {
            const DuplicateRemovalRun run{kind, h.program, h.folders(), "x"};
            EXPECT_EQ(removeMarkedSongs(h.fs, marked, run, h.progress).report.filesRemoved, 0u);
        }
        for (const RecordingLauncher::Call& call : h.launcher.calls) {
            EXPECT_TRUE(call.program.starts_with(h.program + "/")) << call.program;
            EXPECT_EQ(call.program.find_first_of(std::string("\0", 1)), std::string::npos);
            EXPECT_EQ(call.program.find("/.."), std::string::npos) << call.program;
        }
        EXPECT_TRUE(stdfs::is_empty(exportFolder));
        EXPECT_TRUE(stdfs::is_empty(h.moveTo));

        // The catalogue loads such a list and searches it.
        writeBytes(h.program + "/SongList.txt", list);
        for (const char* query : {"Outside", "9", "++O"}) {
            const CliResult run = runCli({"search", "--program-folder", h.program, "--", query});
            EXPECT_EQ(run.exit, 0) << run.out;
        }
        auto after = treeOf(h.program);
        after.erase(h.program + "/SongList.txt");
        after.erase(h.program + "/SelectSong.txt");
        std::erase_if(
            after, [&](const auto& entry) { return entry.first.starts_with(h.program + "/Log"); });
        EXPECT_EQ(after, library);
        h.expectOutsideUntouched();
    }
}

}  // namespace
}  // namespace dadaz::testing
