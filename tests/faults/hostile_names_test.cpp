// File and folder names with control characters and bytes that are not UTF-8: every run
// goes on, no name breaks a line of a file the program writes, and a song that cannot be
// handled is reported.

#include "faults/hostile_fixture.h"
#include "songlist/songlist_run.h"

namespace dadaz::testing {
namespace {

// Line feed, carriage return, tab, escape (octal, so the digits after it stay digits), and
// bytes that are not UTF-8.
const std::string kHostileStems[] = {"1\n234", "1\r99", "1\t77", "1\03355", "1\xff\xfe"};

// Lines of a written text file: each ends in CR LF and holds no other control character.
void expectCleanLines(const std::string& bytes, std::size_t expectedLines) {
    std::size_t lines = 0;
    for (std::size_t at = 0; at < bytes.size(); ++lines) {
        const std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "no CR LF after byte " << at;
        for (std::size_t i = at; i < end; ++i)
            EXPECT_GE(static_cast<unsigned char>(bytes[i]), 0x20) << "line " << lines;
        at = end + 2;
    }
    EXPECT_EQ(lines, expectedLines);
}

// Names that cannot be codes are counted as not listed; the list keeps one line a song.
TEST(HostileNames, SongListLeavesOutNamesThatCannotBeCodes) {
    for (const bool checking : {false, true}) {
        SCOPED_TRACE(checking ? "checking" : "plain");
        HostileLibrary h;
        const std::string folder = h.lib.lyricFolder + "/1";
        for (const std::string& stem : kHostileStems) {
            writeBytes(folder + "/" + stem + ".LYR", "Title\r\nArtist\r\nC\r\n");
            writeBytes(h.lib.midiFolder + "/1/" + stem + ".MID", "MThd");
            writeBytes(h.lib.cursorFolder + "/1/" + stem + ".CUR", "cur");
        }
        SongListOptions options;
        options.checkFiles = checking;
        const SongListResult result = runSongList(h.ctx, options);
        EXPECT_EQ(result.status, SongListResult::Status::Written);
        EXPECT_EQ(result.notListed, static_cast<long>(std::size(kHostileStems)));
        expectCleanLines(readBytes(h.program + "/SongList.txt"), h.lib.songs.size() + 2);
    }
}

// A volume folder whose name holds a control character cannot stand in a song line: the run
// names the folder and keeps the old list instead of breaking a line in two.
TEST(HostileNames, SongListRefusesAVolumeNameThatWouldBreakALine) {
    for (const char* control : {"\n", "\r", "\t", "\x1b"}) {
        SCOPED_TRACE(static_cast<int>(control[0]));
        HostileLibrary h(GeneratorLayout::Multi);
        const std::string volume = h.program + "/" + h.lib.volumes.back();
        stdfs::rename(volume, volume + control + "X");
        writeBytes(h.program + "/SongList.txt", "old\r\n");
        const SongListResult result = runSongList(h.ctx);
        EXPECT_EQ(result.status, SongListResult::Status::VolumeNameUnwritable);
        ASSERT_EQ(h.prompt.texts(MessageIcon::Critical).size(), 1u);
        EXPECT_NE(h.prompt.texts(MessageIcon::Critical)[0].find(volume + "?X\nมีตัวอักษรควบคุม"),
                  std::string::npos);
        EXPECT_EQ(readBytes(h.program + "/SongList.txt"), "old\r\n");
    }
}

// Adding renames songs whatever their names were; the record of the run keeps one line a
// song, the old name made harmless.
TEST(HostileNames, AddRecordsKeepOneLineASong) {
    for (const char* target : {"auto", "keep-names"}) {
        SCOPED_TRACE(target);
        HostileLibrary h;
        const std::string source = h.dir / "incoming";
        for (const std::string& stem : kHostileStems) {
            writeBytes(source + "/" + stem + ".lyr", "Title\r\nArtist\r\nC\r\n");
            writeBytes(source + "/" + stem + ".mid", "MThd" + stem);
            writeBytes(source + "/" + stem + ".cur", "cur" + stem);
        }
        const CliResult run = runCli({"add", "--program-folder", h.program, "--source", source,
                                      "--target", target, "--yes"});
        const bool kept = std::string(target) == "keep-names";
        EXPECT_EQ(run.exit, kept ? 1 : 0) << run.out;
        const std::string records = readBytes(h.program + "/NewSong.txt");
        // Heading, blank line and a line a song; left-out songs get a blank line and a heading.
        expectCleanLines(records, 2 + std::size(kHostileStems) + (kept ? 2 : 0));
        h.expectOutsideUntouched();
    }
}

// Control characters in a code given on the command line name no file and touch nothing.
TEST(HostileNames, CommandsRefuseCodesWithControlCharacters) {
    HostileLibrary h;
    ASSERT_EQ(runCli({"songlist", "--program-folder", h.program}).exit, 0);
    const auto before = treeOf(h.program);
    const std::string code = h.song(0).code.substr(0, 1) + "\n" + h.song(0).code.substr(1);
    const std::vector<std::vector<std::string>> commands = {
        {"delete", "--program-folder", h.program, "--yes", code},
        {"move", "--program-folder", h.program, "--move-to", h.moveTo, "--yes", code},
        {"export", "--program-folder", h.program, "--to", h.moveTo, "--all", code},
        {"search", "--program-folder", h.program, "--", "\x1b\n"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0]);
        const CliResult run = runCli(command);
        // The search finds nothing and says so; the others name the song they left.
        EXPECT_EQ(run.exit, command[0] == "search" ? 0 : 1) << run.out;
        EXPECT_EQ(treeOf(h.program), before);
        EXPECT_TRUE(stdfs::is_empty(h.moveTo));
    }
}

}  // namespace
}  // namespace dadaz::testing
