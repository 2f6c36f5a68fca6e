#include "operations/song_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "generator/library_generator.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

namespace stdfs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

const std::string kCannot = "ไม่สามารถดำเนินการต่อได้...\n\n";
const std::string kKept = "\n\nแฟ้มของเพลงนี้ยังคงเป็นแฟ้มเดิมทุกแฟ้ม";

// A small library whose first song is replaced, usually by the "New Song" triple (its
// extensions in lower case).
struct SongReplacementTest : ::testing::Test {
    testing::TempDir dir;
    GeneratedLibrary lib =
        generateLibrary(dir.path(), {.songs = 4, .newSongs = 1, .extras = false});
    FileSystem fs;
    SongPaths paths{fs, {lib.midiFolder, lib.lyricFolder, lib.cursorFolder, dir / "Invalid"}};
    const GeneratedSong& song = lib.songs[0];
    const NewSongTriple& fresh = lib.newSongs[0];
    const std::vector<std::string> targetPaths{song.midiPath, song.lyricPath, song.cursorPath};
    const std::vector<std::string> before = bytesOf(targetPaths);
    const std::vector<std::string> freshBytes =
        bytesOf({fresh.midiPath, fresh.lyricPath, fresh.cursorPath});

    static std::vector<std::string> bytesOf(const std::vector<std::string>& paths) {
        std::vector<std::string> bytes;
        for (const std::string& path : paths) bytes.push_back(readBytes(path));
        return bytes;
    }
    ReplaceCheck check(const std::string& picked, ReplaceMode mode = ReplaceMode::AllFiles,
                       const std::string& code = {}) {
        return checkReplacement(fs, paths, {code.empty() ? song.code : code, ""}, mode, picked);
    }
    // Names left beside the targets (the temporary copies are hidden).
    int hiddenFiles() const {
        int count = 0;
        for (const std::string& path : targetPaths)
            for (const auto& entry : stdfs::directory_iterator(stdfs::path(path).parent_path()))
                count += entry.path().filename().string().starts_with(".");
        return count;
    }
};

TEST_F(SongReplacementTest, OnlyTheStemOfThePickedNameCountsAndMissingTargetsAreMade) {
    const std::string dotted = dir / "New.Songs/new";  // a dot in a folder is no extension's
    for (auto [i, ext] : {std::pair{0, ".MID"}, {1, ".LYR"}, {2, ".CUR"}})
        writeBytes(dotted + ext, freshBytes[i]);
    writeBytes(dotted, "");
    stdfs::remove_all(stdfs::path(song.cursorPath).parent_path());  // the first case makes it again
    const struct {
        std::string picked;
        ReplaceMode mode;
        std::vector<bool> replaced;  // MIDI, lyric, cursor
    } cases[] = {
        {fresh.lyricPath, ReplaceMode::AllFiles, {true, true, true}},
        {dir / "New Song/" + fresh.code + ".txt", ReplaceMode::AllFiles, {true, true, true}},
        {dotted, ReplaceMode::AllFiles, {true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picked);
        const ReplaceCheck checked = check(c.picked, c.mode);
        ASSERT_TRUE(checked.plan) << checked.refusal;
        const ReplaceOutcome outcome = replaceSongFiles(fs, *checked.plan);
        EXPECT_EQ(outcome.message, kReplaceDone);
        const std::vector<std::string> now = bytesOf(targetPaths);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(now[i], c.replaced[i] ? freshBytes[i] : before[i]) << i;
        EXPECT_EQ(hiddenFiles(), 0);
        for (std::size_t i = 0; i < 3; ++i) writeBytes(targetPaths[i], before[i]);
    }
}

TEST_F(SongReplacementTest, RefusalsComeBeforeAnyFileIsTouched) {
    const std::string partial = dir / "partial/new.";
    writeBytes(partial + "mid", "MThd");
    writeBytes(partial + "lyr", "title\r\n");
    stdfs::create_directory_symlink(stdfs::path(song.midiPath).parent_path(), dir / "link");
    const struct {
        std::string picked;
        ReplaceMode mode;
        std::string refusal;
        std::string code = {};
    } cases[] = {
        {partial + "lyr", ReplaceMode::AllFiles, kCannot + "ไม่พบไฟล์ " + partial + "CUR"},
        {dir / "partial/none.lyr", ReplaceMode::MidiOnly, kCannot + "แฟ้มที่เลือกไม่ใช้แฟ้ม MIDI"},
        {dir / "link/" + song.code + ".mid", ReplaceMode::MidiOnly,
         kCannot + "แฟ้มที่เลือกเป็นแฟ้มของเพลงรหัส " + song.code +
             " เอง\nกรุณาเลือกแฟ้มเพลงใหม่ที่ไม่ใช่แฟ้มเดิมของเพลงนี้"},
        {fresh.midiPath, ReplaceMode::AllFiles,
         kCannot + "รหัสเพลง \"../1\" หรือโฟลเดอร์ของเพลงนี้ไม่ถูกต้อง\n"
                   "จึงไม่สามารถหาแฟ้มของเพลงที่ต้องการแทนที่ได้",
         "../1"},
    };
    for (const auto& c : cases) {
        const ReplaceCheck checked = check(c.picked, c.mode, c.code);
        EXPECT_FALSE(checked.plan);
        EXPECT_EQ(checked.refusal, c.refusal);
    }
    EXPECT_EQ(bytesOf(targetPaths), before);
}

TEST_F(SongReplacementTest, AFailureBeforeTheLastCopyLeavesTheSongWhole) {
    const std::string readOnly = "ไม่สามารถแทนที่เพลงรหัส " + song.code +
                                 " ได้...\n\nแฟ้มต่อไปนี้เป็นแฟ้มอ่านอย่างเดียว (Read-only) "
                                 "จึงไม่ถูกแทนที่\n" +
                                 song.cursorPath + kKept;
    const ReplaceCheck checked = check(fresh.midiPath);
    ASSERT_TRUE(checked.plan);
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, true));
    EXPECT_EQ(replaceSongFiles(fs, *checked.plan).message, readOnly);
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, false));
    stdfs::remove(fresh.cursorPath);
    const ReplaceOutcome outcome = replaceSongFiles(fs, *checked.plan);
    EXPECT_FALSE(outcome.replaced);
    EXPECT_EQ(outcome.message, "ไม่สามารถแทนที่เพลงรหัส " + song.code + " ได้...\n\nไม่สามารถคัดลอกแฟ้ม " +
                                   fresh.cursorPath + "\nไปไว้ในโฟลเดอร์ " +
                                   stdfs::path(song.cursorPath).parent_path().string() + kKept);
    EXPECT_EQ(bytesOf(targetPaths), before);
    EXPECT_EQ(hiddenFiles(), 0);
}

}  // namespace
}  // namespace dadaz
