// Symbolic links inside the library: to a file and to a folder outside it, and loops. No run
// reads through a folder link out of the library or changes anything outside it.

#include <functional>

#include "addsong/add_run.h"
#include "duplicates/duplicate_review.h"
#include "faults/hostile_fixture.h"
#include "library/closing_cleanup.h"
#include "library/song_paths.h"
#include "operations/lyric_editor.h"
#include "operations/song_replacement.h"
#include "songlist/songlist_run.h"
#include "update/download.h"

namespace dadaz::testing {
namespace {

std::string firstFolderOf(const std::string& path) {
    return stdfs::path(path).parent_path().string();
}

// A first-character folder of lyrics leading outside, a loop back to the lyric folder (which
// holds a stray lyric) and one inside a first-character folder, a second name for a
// first-character folder, a link to a folder deeper inside, and a lyric whose MIDI folder
// leads outside (its cursor missing): the list holds the library's songs, once each, and the
// checking run moves only the lyric of the incomplete song.
TEST(HostileLinks, SongListNeitherReadsNorMovesThroughLinksOut) {
    for (const bool checking : {false, true}) {
        SCOPED_TRACE(checking ? "checking" : "plain");
        HostileLibrary h;
        stdfs::create_directory_symlink(h.outside + "/lyrics", h.lib.lyricFolder + "/Z");
        stdfs::create_directory_symlink(".", h.lib.lyricFolder + "/L");
        writeBytes(h.lib.lyricFolder + "/stray.LYR", "Stray\r\nNobody\r\nC\r\n");
        stdfs::create_directory_symlink(firstFolderOf(h.song(1).lyricPath),
                                        h.lib.lyricFolder + "/A");
        // The only way to a folder kept deeper in the library: listed.
        writeBytes(h.lib.lyricFolder + "/archive/B/B1.LYR", "Kept\r\nSomebody\r\nC\r\n");
        writeBytes(h.lib.midiFolder + "/B/B1.MID", "MThd");
        writeBytes(h.lib.cursorFolder + "/B/B1.CUR", "c");
        stdfs::create_directory_symlink("archive/B", h.lib.lyricFolder + "/B");
        stdfs::create_directory_symlink("..", firstFolderOf(h.song(0).lyricPath) + "/loop");
        writeBytes(h.lib.lyricFolder + "/Y/Y1.LYR", "Inside\r\nSomebody\r\nC\r\n");
        writeBytes(h.outside + "/deep/Y1.MID", "MThd outside");
        stdfs::create_directory_symlink(h.outside + "/deep", h.lib.midiFolder + "/Y");
        h.sentinel = treeOf(h.outside);
        SongListOptions options;
        options.checkFiles = checking;
        const SongListResult result = runSongList(h.ctx, options);
        EXPECT_EQ(result.status, SongListResult::Status::Written);
        EXPECT_EQ(result.listedSongs, static_cast<long>(h.lib.songs.size()) + (checking ? 1 : 2));
        const std::string list = readBytes(h.program + "/SongList.txt");
        EXPECT_EQ(list.find("Outside"), std::string::npos);
        EXPECT_EQ(list.find("Stray"), std::string::npos);
        EXPECT_EQ(result.filesMoved, checking ? 1 : 0);
        h.expectOutsideUntouched();
    }
}

// Renumbering renames and moves files only in the library's own folders: a MIDI folder that
// links outside keeps its files and their names.
TEST(HostileLinks, RenumberLeavesAFolderLinkedOutside) {
    HostileLibrary h;
    writeBytes(h.outside + "/deep/Z1.MID", "MThd outside");
    writeBytes(h.lib.lyricFolder + "/Z/Z1.LYR", "T\r\nA\r\nC\r\n");
    writeBytes(h.lib.cursorFolder + "/Z/Z1.CUR", "c");
    stdfs::create_directory_symlink(h.outside + "/deep", h.lib.midiFolder + "/Z");
    h.sentinel = treeOf(h.outside);
    const auto before = h.songContents();
    const CliResult run = runCli({"renumber", "--program-folder", h.program, "--move-to", h.moveTo,
                                  "--digits", "6", "--yes"});
    EXPECT_EQ(run.exit, 0) << run.out;
    EXPECT_EQ(h.songContents(), before);
    h.expectOutsideUntouched();
}

// Adding writes into the library's own folders only: a song whose first-character folder
// links outside is left out and named, the others are added.
TEST(HostileLinks, AddLeavesOutASongWhoseFolderLinksOutside) {
    HostileLibrary h;
    stdfs::create_directory_symlink(h.outside + "/deep", h.lib.lyricFolder + "/Z");
    h.sentinel = treeOf(h.outside);
    for (const std::string stem : {"Z1", "Y1"}) {
        const std::string source = h.dir / "in" + "/" + stem;
        writeBytes(source + ".lyr", "T\r\nA\r\nC\r\n");
        writeBytes(source + ".mid", "MThd");
        writeBytes(source + ".cur", "c");
    }
    const AddSongResult result =
        runAddSong(h.ctx, AddSongOptions{AddTarget::KeepNames, h.dir / "in"});
    EXPECT_EQ(result.added, 1);
    ASSERT_EQ(result.leftOut.size(), 1u);
    EXPECT_NE(result.message.find("Z1.lyr"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("เชื่อมโยงออกไปนอกที่เก็บเพลง"), std::string::npos);
    h.expectOutsideUntouched();
}

// Replacing a song and saving its lyric write into the song's own folders only: a folder
// that links outside is refused before anything is written.
TEST(HostileLinks, ReplaceAndLyricSaveRefuseAFolderLinkedOutside) {
    HostileLibrary h;
    const GeneratedSong& song = h.song(0);
    const CurrentSong current(song.code, "");
    const SongPaths paths(h.fs, h.folders());
    LyricEditor editor;
    ASSERT_EQ(editor.begin(h.fs, paths, current), std::nullopt);  // before the links came
    for (const std::string* file : {&song.midiPath, &song.lyricPath}) {
        const std::string folder = firstFolderOf(*file);
        const std::string target = h.outside + "/" + stdfs::path(*file).extension().string();
        stdfs::create_directory(target);
        stdfs::copy(*file, target);
        stdfs::remove_all(folder);
        stdfs::create_directory_symlink(target, folder);
    }
    writeBytes(h.dir / "new.mid", "MThd new");
    h.sentinel = treeOf(h.outside);
    h.fs.forgetIndexes();

    const ReplaceCheck check =
        checkReplacement(h.fs, paths, current, ReplaceMode::MidiOnly, h.dir / "new.mid");
    EXPECT_FALSE(check.plan.has_value());
    EXPECT_NE(check.refusal.find("นอกคลังเพลง"), std::string::npos) << check.refusal;
    const auto saved = editor.save(h.fs, paths);
    ASSERT_TRUE(saved.has_value());
    EXPECT_NE(saved->find("นอกคลังเพลง"), std::string::npos) << *saved;
    LyricEditor later;
    EXPECT_TRUE(later.begin(h.fs, paths, current).has_value());
    h.expectOutsideUntouched();
}

// Deletes and moves, also the duplicate finder's, take a file link away, never its target,
// and leave a song whose folder leads outside whole where it is.
TEST(HostileLinks, DeleteAndMoveNeverReachThroughALink) {
    struct Case {
        const char* name;
        std::function<void(HostileLibrary&)> link;  // on song 0
        int exit;
        bool songGone;
    };
    const Case cases[] = {
        {"lyric file links outside",
         [](HostileLibrary& h) {
             stdfs::remove(h.song(0).lyricPath);
             stdfs::create_symlink(h.outside + "/keep.kar", h.song(0).lyricPath);
         },
         0, true},
        {"MIDI folder links outside",
         [](HostileLibrary& h) {
             const std::string folder = firstFolderOf(h.song(0).midiPath);
             stdfs::copy(h.song(0).midiPath, h.outside + "/deep");
             stdfs::remove_all(folder);
             stdfs::create_directory_symlink(h.outside + "/deep", folder);
         },
         1, false},
    };
    for (const Case& c : cases) {
        for (const char* command : {"delete", "move", "duplicate delete", "duplicate move"}) {
            SCOPED_TRACE(std::string(c.name) + ", " + command);
            HostileLibrary h;
            c.link(h);
            h.sentinel = treeOf(h.outside);
            const auto before = h.songContents();
            const std::string name = command;
            if (name.starts_with("duplicate")) {
                const DuplicateRemovalRun removal{
                    name.ends_with("delete") ? RemovalKind::Delete : RemovalKind::Move, h.program,
                    h.folders(), "x"};
                const std::vector<ResultLine> lines = {{h.song(0).code + ";T;A;C", true}};
                EXPECT_EQ(removeMarkedSongs(h.fs, lines, removal, h.progress).anyGone(),
                          c.songGone);
            } else {
                const CliResult run = runCli({command, "--program-folder", h.program, "--move-to",
                                              h.moveTo, "--yes", h.songArgument(0)});
                EXPECT_EQ(run.exit, c.exit) << run.out;
            }
            EXPECT_EQ(stdfs::exists(stdfs::symlink_status(h.song(0).cursorPath)), !c.songGone);
            stdfs::remove_all(h.program + "/Log");  // the run's own log
            if (name.ends_with("move") || !c.songGone) {
                EXPECT_EQ(h.songContents(), before);
            }
            h.expectOutsideUntouched();
        }
    }
}

// The KAR run empties "Kar" in the chosen folder: a link there, or in it, goes, its target
// stays.
TEST(HostileLinks, KarFolderCleanupRemovesLinksNotTargets) {
    for (const bool karIsLink : {true, false}) {
        SCOPED_TRACE(karIsLink ? "Kar is a link" : "Kar holds a link");
        HostileLibrary h;
        writeBytes(h.program + "/MakeKar.exe", "#!/bin/sh\nexit 0\n");
        stdfs::permissions(h.program + "/MakeKar.exe", stdfs::perms::owner_all);
        const std::string chosen = h.dir / "karout";
        stdfs::create_directory(chosen);
        if (karIsLink) {
            stdfs::create_directory_symlink(h.outside + "/deep", chosen + "/Kar");
        } else {
            stdfs::create_directory(chosen + "/Kar");
            stdfs::create_directory_symlink(h.outside + "/deep", chosen + "/Kar/1");
            stdfs::create_symlink(h.outside + "/keep.kar", chosen + "/Kar/2.KAR");
        }
        h.sentinel = treeOf(h.outside);
        runCli({"songlist", "--program-folder", h.program, "--kar", chosen});
        EXPECT_FALSE(stdfs::is_symlink(chosen + "/Kar"));
        h.expectOutsideUntouched();
    }
}

// The closing clean-up removes links that carry a temporary file's name, never what they
// point to, and leaves a folder of such a name alone.
TEST(HostileLinks, ClosingCleanupRemovesLinksNotTargets) {
    HostileLibrary h;
    stdfs::create_symlink(h.outside + "/keep.kar", h.program + "/a.kar");
    stdfs::create_symlink(h.outside + "/deep/keep.mid", h.program + "/b.mid");
    stdfs::create_directory_symlink(h.outside + "/deep", h.program + "/c.tmp");
    stdfs::create_symlink(h.program + "/loop.tmp", h.program + "/loop.tmp");
    h.sentinel = treeOf(h.outside);
    removeTemporaryFiles(h.fs, h.program, h.folders());
    EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(h.program + "/a.kar")));
    EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(h.program + "/b.mid")));
    EXPECT_TRUE(stdfs::is_symlink(h.program + "/c.tmp"));
    h.expectOutsideUntouched();
}

// Files the program rewrites, when a link to a read-only file stands under their name: the
// run fails and says so, and the file the link points to keeps its read-only attribute.
TEST(HostileLinks, RewritesNeverUnlockAFileThroughALink) {
    HostileLibrary h;
    const std::string locked = h.outside + "/keep.kar";
    stdfs::permissions(locked, stdfs::perms::owner_read);
    stdfs::create_symlink(locked, h.program + "/SongList.txt");
    stdfs::remove(h.song(0).lyricPath);
    stdfs::create_symlink(locked, h.song(0).lyricPath);
    h.sentinel = treeOf(h.outside);
    const SongListResult result = runSongList(h.ctx);
    EXPECT_EQ(result.status, SongListResult::Status::WriteFailed);
    LyricEditor editor;
    ASSERT_EQ(editor.begin(h.fs, SongPaths(h.fs, h.folders()), {h.song(0).code, ""}), std::nullopt);
    EXPECT_TRUE(editor.save(h.fs, SongPaths(h.fs, h.folders())).has_value());
    EXPECT_EQ(stdfs::status(locked).permissions(), stdfs::perms::owner_read);
    h.expectOutsideUntouched();
}

// Work files the program writes under fixed names (the update download, the renumbering
// journal, the add log) are made afresh: a link left under such a name is replaced, never
// written through.
TEST(HostileLinks, WorkFilesAreNeverWrittenThroughALink) {
    struct Case {
        const char* name;
        std::string link;  // below the program folder
        std::function<void(HostileLibrary&)> run;
    };
    const Case cases[] = {
        {"update download", "vaz_izurev.txt.tmp",
         [](HostileLibrary& h) {
             EXPECT_FALSE(downloadFile("http://127.0.0.1:9/none", h.program + "/vaz_izurev.txt",
                                       {1024, std::chrono::milliseconds(3000)})
                              .ok);
         }},
        {"renumbering journal", ".Renumber.journal.new",
         [](HostileLibrary& h) {
             runCli({"renumber", "--program-folder", h.program, "--move-to", h.moveTo, "--digits",
                     "6", "--yes"});
         }},
        {"add log", "Log/ADD010120250000.txt",
         [](HostileLibrary& h) {
             writeBytes(h.dir / "in/a.lyr", "T\r\nA\r\nC\r\n");
             writeBytes(h.dir / "in/a.mid", "MThd");
             writeBytes(h.dir / "in/a.cur", "c");
             AddSongOptions options{AddTarget::KeepNames, h.dir / "in"};
             options.timeStamp = "010120250000";
             EXPECT_EQ(runAddSong(h.ctx, options).added, 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostileLibrary h;
        stdfs::create_directories(stdfs::path(h.program + "/" + c.link).parent_path());
        stdfs::create_symlink(h.outside + "/keep.kar", h.program + "/" + c.link);
        c.run(h);
        h.expectOutsideUntouched();
    }
}

}  // namespace
}  // namespace dadaz::testing
