#include "library/folder_detection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::TempDir;

DetectedFolders detectIn(const std::string& program, std::initializer_list<const char*> folders,
                         int* announced = nullptr) {
    for (const char* name : folders) std::filesystem::create_directories(program + "/" + name);
    FileSystem fs;
    return detectFolders(fs, program, [announced] {
        if (announced) ++*announced;
    });
}

TEST(FolderDetection, WithoutSongFoldersTheProgramFolderHoldsTheSongs) {
    TempDir base;
    testing::writeBytes(base / "SONG", "a file, not a folder");
    // A program folder with only unknown names, and one that does not exist at all.
    for (const std::string& program : {base.path(), base / "gone"}) {
        DetectedFolders found = detectIn(program, {});
        EXPECT_EQ(found.folders.midi, program);
        EXPECT_EQ(found.folders.lyric, program);
        EXPECT_EQ(found.folders.cursor, program);
        EXPECT_EQ(found.folders.moveTo, program + "/Invalid Files");
        EXPECT_EQ(found.addSongSource, program + "/New Song");
    }
    EXPECT_FALSE(std::filesystem::exists(base / "Invalid Files"));
}

TEST(FolderDetection, NamesKeepTheirSpellingAndOthersAreSkipped) {
    TempDir program;
    int announced = 0;
    DetectedFolders found =
        detectIn(program.path(),
                 {"Data", "lyrics", "Cursors", "invalid FILES", "MIDI files", "SONG2"}, &announced);
    EXPECT_EQ(announced, 6);
    EXPECT_EQ(found.folders.midi, program / "Data");
    EXPECT_EQ(found.folders.lyric, program / "lyrics");
    EXPECT_EQ(found.folders.cursor, program / "Cursors");
    EXPECT_EQ(found.folders.moveTo, program / "invalid FILES");
}

TEST(FolderDetection, TheFolderListedLastWins) {
    // Listed by upper-cased name: CURSOR, CURSORS, LYRIC, LYRICS, MIDI, SONG, SONGS.
    TempDir program;
    DetectedFolders found =
        detectIn(program.path(), {"songs", "MIDI", "Song", "Lyric", "LYRICS", "cursors", "Cursor"});
    EXPECT_EQ(found.folders.midi, program / "songs");
    EXPECT_EQ(found.folders.lyric, program / "LYRICS");
    EXPECT_EQ(found.folders.cursor, program / "cursors");
}

}  // namespace
}  // namespace dadaz
