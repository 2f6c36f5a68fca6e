// Files where folders belong and folders where files belong, locked files and folders, and a
// library that goes away during a run: each run says it could not do everything, and no song
// loses a file.

#include <functional>

#include "addsong/add_run.h"
#include "faults/hostile_fixture.h"
#include "operations/favourites.h"
#include "songlist/songlist_messages.h"
#include "songlist/songlist_run.h"

namespace dadaz::testing {
namespace {

std::string parentOf(const std::string& path) {
    return stdfs::path(path).parent_path().string();
}

void replaceByFile(const std::string& folder) {
    stdfs::remove_all(folder);
    writeBytes(folder, "in the way");
}

void replaceByFolder(const std::string& file) {
    stdfs::remove(file);
    stdfs::create_directories(file + "/inner");
}

struct ShapeCase {
    const char* name;
    std::function<bool(HostileLibrary&)> setUp;  // false: the case cannot be made here
    std::vector<std::string> command;            // after "--program-folder DIR"
    int exit;
};

// The command fails with a message, every file of the library stays where it was (the
// blocked parts too), and no temporary file is left.
TEST(HostileShapes, CommandsFailClearlyOnTheWrongKindOfEntry) {
    std::vector<std::unique_ptr<Immutable>> locks;
    auto lock = [&](const std::string& path) {
        locks.push_back(std::make_unique<Immutable>(path));
        return locks.back()->set;
    };
    const ShapeCase cases[] = {
        {"file named SONG",
         [](HostileLibrary& h) {
             replaceByFile(h.lib.midiFolder);
             return true;
         },
         {"songlist", "--midi", "MIDI", "--lyric", "LYRIC", "--cursor", "CURSOR"},
         1},
        {"folder named SongList.txt",
         [](HostileLibrary& h) {
             replaceByFolder(h.program + "/SongList.txt");
             return true;
         },
         {"songlist"},
         1},
        {"folder named List.vk2",
         [](HostileLibrary& h) {
             replaceByFolder(h.program + "/List.vk2");
             return true;
         },
         {"songlist"},
         1},
        {"SongList.txt locked",
         [&](HostileLibrary& h) {
             writeBytes(h.program + "/SongList.txt", "old\r\n");
             return lock(h.program + "/SongList.txt");
         },
         {"songlist"},
         1},
        {"program folder locked",
         [&](HostileLibrary& h) { return lock(h.program); },
         {"songlist"},
         1},
        {"folder named NewSong.txt",
         [](HostileLibrary& h) {
             writeBytes(h.dir / "in/A.lyr", "T\r\nA\r\nC\r\n");
             writeBytes(h.dir / "in/A.mid", "MThd new");
             writeBytes(h.dir / "in/A.cur", "c new");
             replaceByFolder(h.program + "/NewSong.txt");
             return true;
         },
         {"add", "--source", "IN", "--yes"},
         1},
        {"file in place of the add target folder",
         [](HostileLibrary& h) {
             writeBytes(h.dir / "in/A.lyr", "T\r\nA\r\nC\r\n");
             writeBytes(h.dir / "in/A.mid", "MThd new");
             writeBytes(h.dir / "in/A.cur", "c new");
             replaceByFile(h.lib.cursorFolder + "/N");
             return true;
         },
         {"add", "--source", "IN", "--target", "N", "--yes"},
         1},
        {"lyric folder of the song locked",
         [&](HostileLibrary& h) { return lock(parentOf(h.song(0).lyricPath)); },
         {"delete", "--yes", "SONG0"},
         1},
        {"MIDI folder of the song locked, move",
         [&](HostileLibrary& h) { return lock(parentOf(h.song(0).midiPath)); },
         {"move", "--move-to", "MOVED", "--yes", "SONG0"},
         1},
        {"move-to folder locked",
         [&](HostileLibrary& h) { return lock(h.moveTo); },
         {"move", "--move-to", "MOVED", "--yes", "SONG0"},
         1},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        HostileLibrary h;
        if (!c.setUp(h)) {
            std::printf("skipped (no immutable flag here): %s\n", c.name);
            continue;
        }
        const auto before = treeOf(h.dir.path());
        std::vector<std::string> args = {c.command[0], "--program-folder", h.program};
        for (std::size_t i = 1; i < c.command.size(); ++i) {
            const std::string& arg = c.command[i];
            const std::map<std::string, std::string> placeholders = {
                {"IN", h.dir / "in"},         {"MOVED", h.moveTo},
                {"SONG0", h.songArgument(0)}, {"MIDI", h.lib.midiFolder},
                {"LYRIC", h.lib.lyricFolder}, {"CURSOR", h.lib.cursorFolder}};
            args.push_back(placeholders.contains(arg) ? placeholders.at(arg) : arg);
        }
        const CliResult run = runCli(args);
        EXPECT_EQ(run.exit, c.exit) << run.out;
        EXPECT_FALSE(run.out.empty());
        locks.clear();
        // Whatever the run wrote, nothing that was there before is gone or changed.
        const auto after = treeOf(h.dir.path());
        for (const auto& [path, digest] : before) {
            if (path.ends_with("SongList.txt") && digest == "folder") continue;
            EXPECT_EQ(after.contains(path) ? after.at(path) : "<gone>", digest) << path;
        }
        for (const auto& [path, digest] : after) {
            EXPECT_EQ(stdfs::path(path).filename().string().front() == '.', false) << path;
        }
    }
}

// The checking run cannot tidy a locked lyric folder: it says how many files it could not
// move and how many fourth lines it could not empty, and lists the rest.
TEST(HostileShapes, CheckingRunReportsWhatALockedFolderKeeps) {
    HostileLibrary h;
    const std::string folder = parentOf(h.song(0).lyricPath);
    writeBytes(folder + "/0.LYR", "Lonely\r\nNobody\r\nC\r\n");  // no partners
    writeBytes(h.song(0).lyricPath, "Title\r\nArtist\r\nC\r\nfourth\r\nla la\r\n");
    const Immutable lock(folder);
    if (!lock.set) GTEST_SKIP() << "no immutable flag here";
    const auto before = treeOf(folder);
    SongListOptions options;
    options.checkFiles = true;
    const SongListResult result = runSongList(h.ctx, options);
    EXPECT_EQ(result.status, SongListResult::Status::Written);
    ASSERT_FALSE(h.prompt.shown.empty());
    const std::string closing = h.prompt.shown.front().text;
    EXPECT_NE(closing.find("ย้ายแฟ้มที่ไม่เกี่ยวข้องไม่สำเร็จ 1 แฟ้ม"), std::string::npos) << closing;
    EXPECT_NE(closing.find("ลบข้อความบรรทัดที่ 4 ของแฟ้มเนื้อเพลงไม่สำเร็จ 1 แฟ้ม"), std::string::npos)
        << closing;
    // The command line's own list says the same.
    const CliResult own =
        runCli({"songlist", "--program-folder", h.program, "--check", "--own-list"});
    EXPECT_NE(own.out.find("ย้ายแฟ้มที่ไม่เกี่ยวข้องไม่สำเร็จ 1 แฟ้ม"), std::string::npos) << own.out;
    EXPECT_EQ(treeOf(folder), before);
}

// The lyric folder goes away after the first song is added: the others are reported as left
// out, the source keeps every file, and no song stands half in the library.
TEST(HostileShapes, AddWhenTheLyricFolderGoesMidway) {
    HostileLibrary h;
    const std::string source = h.dir / "incoming";
    for (const char* stem : {"a", "b", "c"}) {
        writeBytes(source + "/" + stem + ".lyr", std::string(stem) + "\r\nArtist\r\nC\r\n");
        writeBytes(source + "/" + stem + ".mid", std::string("MThd ") + stem);
        writeBytes(source + "/" + stem + ".cur", std::string("cur ") + stem);
    }
    const auto sourceBefore = treeOf(source);
    const std::string away = h.dir / "away";
    h.progress.onProgress = [&](long done, long, const std::string&) {
        if (done == 1) stdfs::rename(h.lib.lyricFolder, away);
    };
    AddSongOptions options;
    options.sourceFolder = source;
    options.target = AddTarget::KeepNames;
    const AddSongResult result = runAddSong(h.ctx, options);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.leftOut.size(), 2u);
    EXPECT_NE(result.message.find("เพลงที่ไม่ได้เพิ่ม 2 เพลง"), std::string::npos) << result.message;
    EXPECT_EQ(treeOf(source), sourceBefore);
    // MIDI and cursor files stand in pairs; no hidden work file is left.
    std::size_t midi = 0, cursor = 0;
    for (const auto& [path, digest] : treeOf(h.dir.path())) {
        const std::string name = stdfs::path(path).filename().string();
        EXPECT_NE(name.front(), '.') << path;
        midi += path.starts_with(h.lib.midiFolder) && digest != "folder";
        cursor += path.starts_with(h.lib.cursorFolder) && digest != "folder";
    }
    EXPECT_EQ(midi, cursor);
}

// A folder named like a song's MIDI file is no file of the song: deletes and moves take the
// song's files and leave that folder, with what it holds, where it is.
TEST(HostileShapes, AFolderNamedLikeASongFileStays) {
    for (const char* command : {"delete", "move"}) {
        SCOPED_TRACE(command);
        HostileLibrary h;
        replaceByFolder(h.song(0).midiPath);
        writeBytes(h.song(0).midiPath + "/inner/keep", "keep");
        const CliResult run = runCli({command, "--program-folder", h.program, "--move-to", h.moveTo,
                                      "--yes", h.songArgument(0)});
        EXPECT_EQ(run.exit, 0) << run.out;
        EXPECT_EQ(readBytes(h.song(0).midiPath + "/inner/keep"), "keep");
        EXPECT_FALSE(stdfs::exists(h.song(0).lyricPath));
        for (const auto& entry : stdfs::directory_iterator(h.moveTo))
            EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    }
}

// The KAR run empties "Kar" in the chosen folder: never when that is the library itself.
TEST(HostileShapes, KarRunNeverEmptiesTheLibrary) {
    TempDir dir;
    const std::string library = dir / "Kar";
    ASSERT_TRUE(generateLibrary(library, {.songs = 6, .newSongs = 0, .extras = false}).ok);
    writeBytes(library + "/MakeKar.exe", "#!/bin/sh\nexit 0\n");
    stdfs::permissions(library + "/MakeKar.exe", stdfs::perms::owner_all);
    const auto before = treeOf(dir.path());
    const CliResult run = runCli({"songlist", "--program-folder", library, "--kar", dir.path()});
    EXPECT_EQ(run.exit, 1) << run.out;
    EXPECT_NE(run.out.find("ไม่สามารถสร้างแฟ้มคาราโอเกะได้!"), std::string::npos) << run.out;
    auto after = treeOf(dir.path());
    std::erase_if(after, [&](const auto& entry) { return !before.contains(entry.first); });
    EXPECT_EQ(after, before);
}

// A named pipe or a folder where the renumbering journal belongs: the run stops with a message
// at once instead of waiting for the pipe, and renames nothing.
TEST(HostileShapes, RenumberStopsAtAJournalThatIsNoFile) {
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "pipe" : "folder");
        HostileLibrary h;
        const std::string journal = h.program + "/Renumber.journal";
        if (pipe) {
            ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
        } else {
            stdfs::create_directory(journal);
        }
        const auto before = treeOf(h.program);
        const CliResult run = runCli({"renumber", "--program-folder", h.program, "--move-to",
                                      h.moveTo, "--digits", "6", "--yes"});
        EXPECT_EQ(run.exit, 1) << run.out;
        EXPECT_NE(run.out.find(journal), std::string::npos) << run.out;
        EXPECT_EQ(treeOf(h.program), before);
    }
}

// A folder where SelectSong.txt belongs: adding a favourite fails and says so.
TEST(HostileShapes, FavouriteAddFailsOnAFolder) {
    HostileLibrary h;
    replaceByFolder(h.program + "/SelectSong.txt");
    EXPECT_EQ(FavouritesFile(h.fs, h.program).add("1;T;A;C"), FavouriteAdd::Failed);
    EXPECT_TRUE(stdfs::is_directory(h.program + "/SelectSong.txt/inner"));
}

// The library goes away between the scan and the writing: the run fails with a message and the
// folder it was in holds no half-written file.
TEST(HostileShapes, SongListWhenTheProgramFolderGoesDuringTheWrite) {
    HostileLibrary h;
    const std::string away = h.dir / "away";
    h.progress.onProgress = [&](long, long, const std::string& text) {
        if (text == songlist_text::kWriteProgress && !stdfs::exists(away))
            stdfs::rename(h.program, away);
    };
    SongListOptions options;
    options.databaseFolder = h.program;
    const SongListResult result = runSongList(h.ctx, options);
    EXPECT_NE(result.status, SongListResult::Status::Written);
    EXPECT_TRUE(h.prompt.showed(MessageIcon::Critical));
    for (const auto& [path, digest] : treeOf(away))
        EXPECT_NE(stdfs::path(path).filename().string().front(), '.') << path;
}

}  // namespace
}  // namespace dadaz::testing
