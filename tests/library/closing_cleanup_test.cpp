#include "library/closing_cleanup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

class ClosingCleanup : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"copy.mid", "COPY2.MID", "copy.lyr", "copy.Cur", "song.kar",
                                 "x.tmp", "SongList.txt", "keep.midi", "List.vk2"})
            writeBytes(program / name, name);
        writeBytes(program / "SONG/1/10001.MID", "MThd");
        writeBytes(program / "LYRICS/1/10001.LYR", "title");
        fs.setReadOnly(program / "copy.lyr", true);
    }
    Folders subFolders() const {
        return {program / "SONG", program / "LYRICS", program / "CURSOR",
                program / "Invalid Files"};
    }
    TempDir program;
    FileSystem fs;
};

TEST_F(ClosingCleanup, RemovesTemporaryCopiesAndNothingElse) {
    CleanupResult result = removeTemporaryFiles(fs, program.path(), subFolders());
    EXPECT_FALSE(result.songPatternsKept);
    EXPECT_EQ(result.deleted, 6);
    for (const char* gone : {"copy.mid", "COPY2.MID", "copy.lyr", "copy.Cur", "song.kar", "x.tmp"})
        EXPECT_FALSE(exists(program / gone)) << gone;
    for (const char* kept : {"SongList.txt", "keep.midi", "List.vk2"})
        EXPECT_EQ(readBytes(program / kept), kept);
    EXPECT_TRUE(exists(program / "SONG/1/10001.MID"));
    EXPECT_TRUE(exists(program / "LYRICS/1/10001.LYR"));
}

TEST_F(ClosingCleanup, KeepsSongsWhenTheProgramFolderIsALibraryFolder) {
    // A program folder without song sub-folders is the MIDI, Lyric and Cursor folder at once:
    // its loose MIDI files are songs, not temporary copies.
    Folders here{program.path(), program.path(), program.path(), program / "Invalid Files"};
    CleanupResult result = removeTemporaryFiles(fs, program.path(), here);
    EXPECT_TRUE(result.songPatternsKept);
    EXPECT_EQ(result.deleted, 2);
    for (const char* kept : {"copy.mid", "COPY2.MID", "copy.lyr", "copy.Cur"})
        EXPECT_EQ(readBytes(program / kept), kept);
    EXPECT_FALSE(exists(program / "song.kar"));
    EXPECT_FALSE(exists(program / "x.tmp"));
}

TEST_F(ClosingCleanup, AnyOneLibraryFolderSpelledAnyWayKeepsTheSongs) {
    std::filesystem::create_directory_symlink(program.path(), program / "link");
    const std::string spellings[] = {
        program.path() + "/",  // trailing separator
        program / "SONG/..",   // a step back
        program / "link",      // a link to it
    };
    for (const std::string& same : spellings) {
        for (int slot = 0; slot < 4; ++slot) {
            Folders folders = subFolders();
            std::string* target[] = {&folders.midi, &folders.lyric, &folders.cursor,
                                     &folders.moveTo};
            *target[slot] = same;
            writeBytes(program / "copy.mid", "copy.mid");
            CleanupResult result = removeTemporaryFiles(fs, program.path(), folders);
            EXPECT_TRUE(result.songPatternsKept) << same << " slot " << slot;
            EXPECT_TRUE(exists(program / "copy.mid")) << same << " slot " << slot;
        }
    }
}

TEST_F(ClosingCleanup, CaseOfTheFolderTextDoesNotMatter) {
    TempDir base;
    const std::string prog = base / "Karaoke";
    writeBytes(prog + "/1.mid", "song");
    Folders folders{base / "KARAOKE", base / "karaoke", base / "Karaoke", ""};
    CleanupResult result = removeTemporaryFiles(fs, prog, folders);
    EXPECT_TRUE(result.songPatternsKept);
    EXPECT_EQ(readBytes(prog + "/1.mid"), "song");
}

TEST_F(ClosingCleanup, EmptyOrMissingFolderTextsAreNotTheProgramFolder) {
    Folders folders{"", program / "missing", "relative", ""};
    CleanupResult result = removeTemporaryFiles(fs, program.path(), folders);
    EXPECT_FALSE(result.songPatternsKept);
    EXPECT_FALSE(exists(program / "copy.mid"));
}

TEST(ClosingCleanupMissing, AMissingProgramFolderIsNoError) {
    TempDir base;
    FileSystem fs;
    CleanupResult result = removeTemporaryFiles(fs, base / "gone", Folders{});
    EXPECT_EQ(result.deleted, 0);
}

}  // namespace
}  // namespace dadaz
