#include "operations/song_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "generator/library_generator.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr const char* kCannot = "ไม่สามารถดำเนินการต่อได้...\n\n";

// A small library; its first song is the one replaced, the "New Song" triple (lower-case
// extensions) the usual source.
class SongReplacementTest : public ::testing::Test {
  protected:
    TempDir dir;
    GeneratedLibrary lib =
        generateLibrary(dir.path(), {.songs = 4, .newSongs = 1, .extras = false});
    FileSystem fs;
    SongPaths paths{fs, {lib.midiFolder, lib.lyricFolder, lib.cursorFolder, dir / "Invalid"}};
    const GeneratedSong& song = lib.songs[0];
    const NewSongTriple& fresh = lib.newSongs[0];
    const std::vector<std::string> before = targets();

    std::vector<std::string> targets() const {
        return {readBytes(song.midiPath), readBytes(song.lyricPath), readBytes(song.cursorPath)};
    }
    std::vector<std::string> freshBytes() const {
        return {readBytes(fresh.midiPath), readBytes(fresh.lyricPath), readBytes(fresh.cursorPath)};
    }
    ReplaceCheck check(const std::string& picked, ReplaceMode mode = ReplaceMode::AllFiles) {
        return checkReplacement(fs, paths, {song.code, ""}, mode, picked);
    }
    // Files left beside the targets under temporary names.
    std::size_t hiddenFiles() const {
        std::size_t count = 0;
        for (const std::string& path : {song.midiPath, song.lyricPath, song.cursorPath})
            for (const auto& entry :
                 std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
                count += entry.path().filename().string().starts_with(".") ? 1 : 0;
        return count;
    }
};

TEST_F(SongReplacementTest, OnlyTheStemOfThePickedNameCounts) {
    // A copy of the new triple in a folder whose name has a dot, with an extensionless file.
    const std::string dotted = dir / "New.Songs/new";
    const std::vector<std::string> bytes = freshBytes();
    for (auto [i, ext] : {std::pair{0, ".MID"}, {1, ".LYR"}, {2, ".CUR"}})
        writeBytes(dotted + ext, bytes[i]);
    writeBytes(dotted, "");
    struct Case {
        std::string picked;
        ReplaceMode mode;
        std::vector<bool> replaced;  // MIDI, lyric, cursor
    } cases[] = {
        {fresh.lyricPath, ReplaceMode::AllFiles, {true, true, true}},
        {dir / "New Song/" + fresh.code + ".txt", ReplaceMode::AllFiles, {true, true, true}},
        {fresh.lyricPath, ReplaceMode::MidiOnly, {true, false, false}},
        {dotted, ReplaceMode::AllFiles, {true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picked);
        for (auto [i, path] :
             {std::pair{0, song.midiPath}, {1, song.lyricPath}, {2, song.cursorPath}})
            writeBytes(path, before[i]);
        const ReplaceCheck checked = check(c.picked, c.mode);
        ASSERT_TRUE(checked.plan) << checked.refusal;
        const ReplaceOutcome outcome = replaceSongFiles(fs, *checked.plan);
        EXPECT_TRUE(outcome.replaced);
        EXPECT_EQ(outcome.message, kReplaceDone);
        const std::vector<std::string> now = targets();
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(now[i], c.replaced[i] ? bytes[i] : before[i]) << i;
        EXPECT_EQ(hiddenFiles(), 0u);
    }
}

TEST_F(SongReplacementTest, RefusalsTouchNothing) {
    const std::string partial = dir / "partial/new.";
    writeBytes(partial + "mid", "MThd");
    writeBytes(partial + "lyr", "title\r\n");
    std::filesystem::create_directory_symlink(std::filesystem::path(song.midiPath).parent_path(),
                                              dir / "elsewhere");
    const std::string ownByLink = dir / "elsewhere/" + song.code + ".mid";
    struct Case {
        std::string picked;
        ReplaceMode mode;
        std::string refusal;
        std::string code = song.code;
    } cases[] = {
        {partial + "lyr", ReplaceMode::AllFiles,
         kCannot + std::string("ไม่พบไฟล์ ") + partial + "CUR"},
        {dir / "partial/none.lyr", ReplaceMode::MidiOnly,
         kCannot + std::string("แฟ้มที่เลือกไม่ใช้แฟ้ม MIDI")},
        {ownByLink, ReplaceMode::MidiOnly,
         kCannot + ("แฟ้มที่เลือกเป็นแฟ้มของเพลงรหัส " + song.code +
                    " เอง\nกรุณาเลือกแฟ้มเพลงใหม่ที่ไม่ใช่แฟ้มเดิมของเพลงนี้")},
        {fresh.midiPath, ReplaceMode::AllFiles,
         kCannot + std::string("รหัสเพลง \"../1\" หรือโฟลเดอร์ของเพลงนี้ไม่ถูกต้อง\n"
                               "จึงไม่สามารถหาแฟ้มของเพลงที่ต้องการแทนที่ได้"),
         "../1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picked);
        const ReplaceCheck checked = checkReplacement(fs, paths, {c.code, ""}, c.mode, c.picked);
        EXPECT_FALSE(checked.plan);
        EXPECT_EQ(checked.refusal, c.refusal);
        EXPECT_EQ(targets(), before);
    }
}

TEST_F(SongReplacementTest, AFailureBeforeTheLastCopyLeavesTheSongWhole) {
    const std::string readOnlyRefusal =
        "ไม่สามารถแทนที่เพลงรหัส " + song.code +
        " ได้...\n\nแฟ้มต่อไปนี้เป็นแฟ้มอ่านอย่างเดียว (Read-only) จึงไม่ถูกแทนที่\n" + song.cursorPath +
        "\n\nแฟ้มของเพลงนี้ยังคงเป็นแฟ้มเดิมทุกแฟ้ม";
    // A read-only target is refused before the question.
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, true));
    EXPECT_EQ(check(fresh.midiPath).refusal, readOnlyRefusal);
    EXPECT_TRUE(check(fresh.midiPath, ReplaceMode::MidiOnly).plan);  // the cursor stays out
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, false));

    // ... and again when it became read-only after the question.
    ReplaceCheck checked = check(fresh.midiPath);
    ASSERT_TRUE(checked.plan);
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, true));
    ReplaceOutcome outcome = replaceSongFiles(fs, *checked.plan);
    EXPECT_FALSE(outcome.replaced);
    EXPECT_EQ(outcome.message, readOnlyRefusal);
    EXPECT_EQ(targets(), before);
    ASSERT_TRUE(fs.setReadOnly(song.cursorPath, false));

    // The cursor source vanishes after the check: its copy fails after two others were made.
    std::filesystem::remove(fresh.cursorPath);
    outcome = replaceSongFiles(fs, *checked.plan);
    EXPECT_FALSE(outcome.replaced);
    EXPECT_EQ(outcome.icon, MessageIcon::Critical);
    EXPECT_EQ(outcome.message, "ไม่สามารถแทนที่เพลงรหัส " + song.code + " ได้...\n\nไม่สามารถคัดลอกแฟ้ม " +
                                   fresh.cursorPath + "\nไปไว้ในโฟลเดอร์ " +
                                   std::filesystem::path(song.cursorPath).parent_path().string() +
                                   "\n\nแฟ้มของเพลงนี้ยังคงเป็นแฟ้มเดิมทุกแฟ้ม");
    EXPECT_EQ(targets(), before);
    EXPECT_EQ(hiddenFiles(), 0u);
}

TEST_F(SongReplacementTest, AMissingTargetAndItsFolderAreCreated) {
    const std::filesystem::path cursorFolder = std::filesystem::path(song.cursorPath).parent_path();
    std::filesystem::remove_all(cursorFolder);
    const ReplaceCheck checked = check(fresh.cursorPath);
    ASSERT_TRUE(checked.plan);
    EXPECT_TRUE(replaceSongFiles(fs, *checked.plan).replaced);
    EXPECT_EQ(targets(), freshBytes());
}

}  // namespace
}  // namespace dadaz
