#include "library/folder_detection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::TempDir;

void makeFolder(const TempDir& dir, const std::string& name) {
    std::filesystem::create_directories(dir / name);
}

TEST(FolderDetection, NoSubFoldersFallsBackToTheProgramFolder) {
    TempDir program;
    testing::writeBytes(program / "SONG", "a file, not a folder");
    FileSystem fs;
    DetectedFolders found = detectFolders(fs, program.path());
    EXPECT_EQ(found.folders.midi, program.path());
    EXPECT_EQ(found.folders.lyric, program.path());
    EXPECT_EQ(found.folders.cursor, program.path());
    EXPECT_EQ(found.folders.moveTo, program / "Invalid Files");
    EXPECT_EQ(found.addSongSource, program / "New Song");
    EXPECT_FALSE(std::filesystem::exists(program / "Invalid Files"));
}

TEST(FolderDetection, NamesKeepTheirSpellingOnDisk) {
    TempDir program;
    for (const char* name : {"Data", "lyrics", "Cursors", "invalid FILES", "Other", "New Song"})
        makeFolder(program, name);
    FileSystem fs;
    DetectedFolders found = detectFolders(fs, program.path());
    EXPECT_EQ(found.folders.midi, program / "Data");
    EXPECT_EQ(found.folders.lyric, program / "lyrics");
    EXPECT_EQ(found.folders.cursor, program / "Cursors");
    EXPECT_EQ(found.folders.moveTo, program / "invalid FILES");
    EXPECT_EQ(found.addSongSource, program / "New Song");
}

TEST(FolderDetection, TheFolderListedLastWins) {
    // Listed by upper-cased name: CURSOR, CURSORS, LYRIC, LYRICS, MIDI, SONG, SONGS.
    TempDir program;
    for (const char* name : {"songs", "MIDI", "Song", "Lyric", "LYRICS", "cursors", "Cursor"})
        makeFolder(program, name);
    FileSystem fs;
    DetectedFolders found = detectFolders(fs, program.path());
    EXPECT_EQ(found.folders.midi, program / "songs");
    EXPECT_EQ(found.folders.lyric, program / "LYRICS");
    EXPECT_EQ(found.folders.cursor, program / "cursors");
}

TEST(FolderDetection, OtherNamesAreSkippedAndEachSubFolderIsAnnounced) {
    TempDir program;
    for (const char* name : {"MIDI files", "SONG2", "Log", "Kar"}) makeFolder(program, name);
    FileSystem fs;
    int calls = 0;
    DetectedFolders found = detectFolders(fs, program.path(), [&] { ++calls; });
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(found.folders.midi, program.path());
    EXPECT_EQ(found.folders.moveTo, program / "Invalid Files");
}

TEST(FolderDetection, MissingProgramFolderGivesTheFallbacks) {
    TempDir base;
    const std::string program = base / "gone";
    FileSystem fs;
    DetectedFolders found = detectFolders(fs, program);
    EXPECT_EQ(found.folders.midi, program);
    EXPECT_EQ(found.folders.moveTo, program + "/Invalid Files");
}

}  // namespace
}  // namespace dadaz
