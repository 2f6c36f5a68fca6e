#include "operations/lyric_editor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/catalogue.h"
#include "generator/library_generator.h"
#include "library/song_paths.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// Line 4 holds Thai vowels and tone marks (UTF-8 here, code page 874 on disk).
const std::vector<std::string> kLyric = {"เพลงรัก", "ศิลปิน", "C", "", "ใจสั่น ไหวหวั่น"};
const char kSwapped[] = "ใจสลาย ไหวหวั่น";

std::string cpBytes(std::vector<std::string> lines, const std::string& line4) {
    if (!line4.empty()) lines[4] = line4;
    std::string bytes;
    for (const std::string& line : lines) bytes += utf8ToCp874(line) + "\r\n";
    return bytes;
}

// Root ignores a folder's permission bits, not its immutable flag.
void blockFolder(const std::string& folder, bool blocked) {
    ::chmod(folder.c_str(), blocked ? 0555 : 0755);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
    flags = blocked ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
}

struct EditedSong {
    explicit EditedSong(GeneratorLayout layout = GeneratorLayout::Separate) {
        lib = generateLibrary(
            dir.path(),
            {.songs = 4, .layout = layout, .newSongs = 0, .songsPerVolume = 2, .extras = false});
        song = lib.songs.at(1);
        writeBytes(song.lyricPath, cpBytes(kLyric, {}));
        const CurrentSong current(song.code, song.volume.empty() ? "" : dir / song.volume);
        EXPECT_EQ(editor.begin(fs, paths(), current), std::nullopt);
    }
    SongPaths paths() const {
        return SongPaths(fs, {lib.midiFolder, lib.lyricFolder, lib.cursorFolder, dir / "x"});
    }
    TempDir dir;
    FileSystem fs;
    GeneratedLibrary lib;
    GeneratedSong song;
    LyricEditor editor;
};

TEST(LyricEditor, AcceptKeepsLyricLinesAtTheirLengthInCodePageCharacters) {
    const struct {
        int line;
        std::string typed;
        std::string refusal;  // found in the message; empty: accepted
    } cases[] = {
        {0, "เพลงรัก (แสดงสด) ฉบับเต็ม", ""},  // a title takes any length
        {4, kSwapped, ""},                  // marks above and below count one each
        {4, "heart! ไหวหวั่น", ""},           // Latin for Thai, character for character
        {4, "ใจสั่น ไหวหวั่น ", lyric_edit_text::kLengthChanged},  // one more blank
        {4, "ใจ😀น ไหวหวั่น😀", "ได้: 😀\n"},                        // no place in the code page
        {0, "Café", "ได้: é\n"},
    };
    for (const auto& c : cases) {
        EditedSong s;
        s.editor.take(c.line);
        EXPECT_TRUE(s.editor.differs(c.typed));
        const std::string message = s.editor.accept(c.typed).value_or("");
        EXPECT_TRUE(c.refusal.empty() ? message.empty() : message.find(c.refusal) != message.npos)
            << c.typed << ": " << message;
        EXPECT_EQ(cp874ToUtf8(s.editor.lines()[c.line]),
                  c.refusal.empty() ? c.typed : kLyric[c.line]);
    }
}

TEST(LyricEditor, SaveWritesCodePageLinesWithCrLfAlsoOverAReadOnlyLyric) {
    for (const GeneratorLayout layout : {GeneratorLayout::Separate, GeneratorLayout::Multi}) {
        EditedSong s(layout);
        ASSERT_TRUE(s.fs.setReadOnly(s.song.lyricPath, layout == GeneratorLayout::Multi));
        s.editor.take(4);
        ASSERT_EQ(s.editor.accept(kSwapped), std::nullopt);
        EXPECT_EQ(s.editor.save(s.fs, s.paths()), std::nullopt);
        EXPECT_EQ(readBytes(s.song.lyricPath), cpBytes(kLyric, kSwapped));
        EXPECT_EQ(s.fs.isReadOnly(s.song.lyricPath), layout == GeneratorLayout::Multi);
    }
}

TEST(LyricEditor, AFailedSaveKeepsTheOldLyricAndSaysWhichFile) {
    EditedSong s;
    s.editor.take(4);
    ASSERT_EQ(s.editor.accept(kSwapped), std::nullopt);
    const std::string folder = s.song.lyricPath.substr(0, s.song.lyricPath.rfind('/'));
    blockFolder(folder, true);
    if (::access(folder.c_str(), W_OK) == 0) {
        blockFolder(folder, false);
        GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    EXPECT_EQ(s.editor.save(s.fs, s.paths()),
              "ไม่สามารถบันทึกเนื้อเพลงรหัส " + s.song.code + " ได้\n     " + s.song.lyricPath +
                  "\n\nแฟ้มเนื้อเพลงเดิมยังคงอยู่ตามเดิม\n"
                  "กรุณาตรวจสอบว่าโฟลเดอร์นี้สามารถเขียนได้ แล้วบันทึกใหม่อีกครั้ง");
    blockFolder(folder, false);
    EXPECT_EQ(readBytes(s.song.lyricPath), cpBytes(kLyric, {}));

    // A lyric deleted meanwhile is not made again, alone, without its song.
    ::unlink(s.song.lyricPath.c_str());
    s.fs.forgetIndexes();
    EXPECT_NE(s.editor.save(s.fs, s.paths()), std::nullopt);
    EXPECT_EQ(s.fs.countFiles(folder), 0u);  // nothing staged left either
}

TEST(LyricEditor, EveryPageAndTheResultLineCarryTheMarkOnce) {
    const std::string line = "10001  ;Love  ;Band  ;C", other = "10002  ;Other  ;Band  ;C";
    Catalogue catalogue;
    CatalogueBuilder builder(catalogue);
    builder.add(line);  // the song on page 0 and again on page 1
    for (std::size_t i = 1; i < kPageCapacity; ++i) builder.add(other);
    builder.add(line);
    ASSERT_TRUE(builder.finish());
    EXPECT_EQ(markSavedLyric(catalogue, ""), "");
    // Saved twice: the result line as listed, then as marked; then a copy still unmarked.
    for (const std::string& resultLine : {line, line + " [+]", line}) {
        EXPECT_EQ(markSavedLyric(catalogue, resultLine), line + " [+]");
        for (int page : {0, 1}) EXPECT_EQ(catalogue.page(page).songs[0], line + " [+]");
        EXPECT_EQ(catalogue.page(0).songs[1], other);
    }
}

}  // namespace
}  // namespace dadaz::testing
