#include "library/closing_cleanup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;

const char* const kSongCopies[] = {"copy.mid", "COPY2.MID", "copy.lyr", "copy.Cur"};

class ClosingCleanup : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"SongList.txt", "keep.midi", "List.vk2"})
            writeBytes(program + "/" + name, name);
        writeBytes(program + "/SONG/1/10001.MID", "MThd");
        writeTemporaryFiles();
        fs.setReadOnly(program + "/copy.lyr", true);
    }
    void writeTemporaryFiles() {
        for (const char* name : kSongCopies) writeBytes(program + "/" + name, name);
        for (const char* name : {"song.kar", "x.tmp"}) writeBytes(program + "/" + name, name);
    }
    std::vector<std::string> programFolderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(program))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    Folders library() const {
        return {program + "/SONG", program + "/LYRICS", program + "/CURSOR",
                program + "/Invalid Files"};
    }
    testing::TempDir dir;
    std::string program = dir / "Karaoke";
    FileSystem fs;
};

TEST_F(ClosingCleanup, RemovesTemporaryCopiesReadOnlyOnesTooAndNothingElse) {
    const CleanupResult result = removeTemporaryFiles(fs, program, library());
    EXPECT_FALSE(result.songPatternsKept);
    EXPECT_EQ(result.deleted, 6);
    EXPECT_EQ(programFolderNames(),
              (std::vector<std::string>{"List.vk2", "SONG", "SongList.txt", "keep.midi"}));
    EXPECT_EQ(readBytes(program + "/SONG/1/10001.MID"), "MThd");
}

TEST_F(ClosingCleanup, KeepsSongsWhenTheProgramFolderIsALibraryFolderHoweverSpelled) {
    // A program folder without song sub-folders is the MIDI, Lyric and Cursor folder at once:
    // its loose MIDI files are songs, not temporary copies.
    std::filesystem::create_directory_symlink(program, dir / "link");
    const std::string spellings[] = {program, program + "/", program + "/SONG/..", dir / "link",
                                     dir / "KARAOKE"};
    for (const std::string& same : spellings) {
        for (std::string Folders::*slot :
             {&Folders::midi, &Folders::lyric, &Folders::cursor, &Folders::moveTo}) {
            Folders folders = library();
            folders.*slot = same;
            writeTemporaryFiles();
            const CleanupResult result = removeTemporaryFiles(fs, program, folders);
            EXPECT_TRUE(result.songPatternsKept) << same;
            EXPECT_EQ(result.deleted, 2) << same;  // the .kar and .tmp copies
            for (const char* name : kSongCopies)
                EXPECT_EQ(readBytes(program + "/" + name), name) << same;
        }
    }
    // Songs waiting in the program folder to be added are the user's too.
    EXPECT_TRUE(removeTemporaryFiles(fs, program, library(), program + "/").songPatternsKept);
    for (const char* name : kSongCopies) EXPECT_EQ(readBytes(program + "/" + name), name);
}

TEST_F(ClosingCleanup, EmptyOrMissingFolderTextsAreNotTheProgramFolder) {
    const CleanupResult result =
        removeTemporaryFiles(fs, program, {"", program + "/missing", "relative", ""});
    EXPECT_FALSE(result.songPatternsKept);
    EXPECT_EQ(result.deleted, 6);
    EXPECT_EQ(removeTemporaryFiles(fs, dir / "gone", Folders{}).deleted, 0);
}

}  // namespace
}  // namespace dadaz
