#include "operations/song_removal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "generator/library_generator.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;
// Every file under the test folder, with a digest of its bytes (short failure messages).
using Files = std::map<std::string, std::size_t>;

class SongRemovalTest : public ::testing::TestWithParam<GeneratorLayout> {
  protected:
    SongRemovalTest() { regenerate(); }

    // The library as generated and an empty move-to folder, nothing else.
    void regenerate() {
        std::filesystem::remove_all(dir / "lib");
        std::filesystem::remove_all(dir / "outside");
        std::filesystem::remove_all(dir / "Moved");
        library = generateLibrary(dir / "lib", {.songs = 40,
                                                .layout = GetParam(),
                                                .newSongs = 0,
                                                .songsPerVolume = 15,
                                                .extras = false});
        folders = {library.midiFolder, library.lyricFolder, library.cursorFolder, dir / "Moved"};
        std::filesystem::create_directory(folders.moveTo);
    }

    Files files() const {
        Files all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            if (entry.is_regular_file())
                all[entry.path().string()] = std::hash<std::string>{}(readBytes(entry.path()));
        }
        return all;
    }
    CurrentSong song(std::size_t i) const {
        const GeneratedSong& s = library.songs.at(i);
        return {s.code, s.volume.empty() ? "" : library.programFolder + "/" + s.volume};
    }
    RemovalReport remove(FileSystem& fs, RemovalKind kind, const std::vector<CurrentSong>& songs) {
        SongPaths paths(fs, folders);
        SongRemover remover(fs, paths);
        return kind == RemovalKind::Delete ? remover.deleteSongs(songs)
                                           : remover.moveSongs(songs, folders.moveTo);
    }

    testing::TempDir dir;
    GeneratedLibrary library;
    Folders folders;
};

TEST_P(SongRemovalTest, TakesEveryFileOfEachSongAndNothingElse) {
    const std::size_t last = library.songs.size() - 1;  // another volume in the multi layout
    const auto backup = std::filesystem::path(library.songs[3].lyricPath).replace_extension(".bak");
    const auto otherCode =  // a code that starts with song 4's
        std::filesystem::path(library.songs[4].midiPath).replace_extension().string() + "X.MID";
    for (RemovalKind kind : {RemovalKind::Delete, RemovalKind::Move}) {
        SCOPED_TRACE(kind == RemovalKind::Delete ? "delete" : "move");
        regenerate();
        writeBytes(backup, "b");
        writeBytes(otherCode, "n");
        std::filesystem::permissions(library.songs[4].midiPath, std::filesystem::perms::owner_read);
        const Files before = files();
        Files expected = before;
        std::vector<std::string> gone = {backup};
        for (std::size_t i : {std::size_t{3}, std::size_t{4}, last})
            for (const auto& s = library.songs[i];
                 auto file : {s.midiPath, s.lyricPath, s.cursorPath})
                gone.push_back(file);
        for (const std::string& file : gone) {
            ASSERT_TRUE(expected.contains(file)) << file;
            if (kind == RemovalKind::Move)
                expected[joinPath(folders.moveTo,
                                  std::filesystem::path(file).filename().string())] =
                    before.at(file);
            expected.erase(file);
        }

        FileSystem fs;
        const RemovalReport report = remove(fs, kind, {song(3), song(4), song(3), song(last)});
        ASSERT_EQ(report.songs.size(), 4u);
        EXPECT_TRUE(report.allRemoved());
        EXPECT_EQ(report.filesRemoved, gone.size());
        EXPECT_EQ(files(), expected);
    }
}

// Songs that may not go, or cannot go whole, stay whole where they are.
TEST_P(SongRemovalTest, LeavesASongWholeWhenAnyOfItsFilesCannotGo) {
    const bool multi = GetParam() == GeneratorLayout::Multi;
    struct Case {
        const char* name;
        RemovalKind kind;
        std::function<CurrentSong(FileSystem&)> setUp;
        SongRemoval expected;
    };
    const Case cases[] = {
        {"name taken in another case", RemovalKind::Move,
         [&](FileSystem&) {
             writeBytes(folders.moveTo + "/" + library.songs[5].code + ".lyr", "taken");
             return song(5);
         },
         SongRemoval::NameTaken},
        {"taken after the move-to folder was read", RemovalKind::Move,
         [&](FileSystem& fs) {
             fs.exists(folders.moveTo + "/x");  // another program writes after this look
             writeBytes(folders.moveTo + "/" + library.songs[5].code + ".CUR", "came later");
             return song(5);
         },
         SongRemoval::Failed},
        {"unsafe code", RemovalKind::Delete,
         [&](FileSystem&) { return CurrentSong("../" + library.songs[5].code, song(5).volume()); },
         SongRemoval::UnsafeSong},
        {"foreign volume", RemovalKind::Delete,
         [&](FileSystem&) { return CurrentSong(library.songs[5].code, dir / "lib/../x"); },
         multi ? SongRemoval::UnsafeSong : SongRemoval::Removed},  // no volumes there
        {"first-character folder linked out", RemovalKind::Delete,
         [&](FileSystem&) {
             const std::filesystem::path folder =
                 std::filesystem::path(library.songs[5].lyricPath).parent_path();
             std::filesystem::rename(folder, dir / "outside");
             std::filesystem::create_directory_symlink(dir / "outside", folder);
             return song(5);
         },
         SongRemoval::OutsideLibrary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        regenerate();
        FileSystem fs;
        const CurrentSong asked = c.setUp(fs);
        const Files before = files();
        const RemovalReport report = remove(fs, c.kind, {asked});
        ASSERT_EQ(report.songs.size(), 1u);
        EXPECT_EQ(report.songs[0].result, c.expected);
        if (c.expected != SongRemoval::Removed) {
            EXPECT_EQ(files(), before);
        }
    }
}

// A delete killed midway leaves hidden names: the next removal finishes a song whose lyric
// was hidden too and gives any other its files back, whatever song it is asked for.
TEST_P(SongRemovalTest, NextRemovalFinishesOrUndoesAKilledDelete) {
    const auto hide = [](const std::string& file) {
        const std::filesystem::path path(file);
        std::filesystem::rename(
            path, path.parent_path() / ("." + path.filename().string() + ".DELETING"));
    };
    for (const bool lyricHidden : {false, true}) {
        SCOPED_TRACE(lyricHidden ? "whole song hidden" : "stopped before the lyric");
        regenerate();
        const GeneratedSong& killed = library.songs[6];
        Files expected = files();
        hide(killed.midiPath);
        hide(killed.cursorPath);
        if (lyricHidden) {
            hide(killed.lyricPath);
            for (const auto& file : {killed.midiPath, killed.lyricPath, killed.cursorPath})
                expected.erase(file);
        }
        for (const auto& file :
             {library.songs[7].midiPath, library.songs[7].lyricPath, library.songs[7].cursorPath})
            expected.erase(file);
        FileSystem fs;
        EXPECT_TRUE(remove(fs, RemovalKind::Delete, {song(7)}).allRemoved());
        EXPECT_EQ(files(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SongRemovalTest,
                         ::testing::Values(GeneratorLayout::Separate, GeneratorLayout::Multi),
                         [](const auto& info) {
                             return info.param == GeneratorLayout::Multi ? "Multi" : "Separate";
                         });

}  // namespace
}  // namespace dadaz
