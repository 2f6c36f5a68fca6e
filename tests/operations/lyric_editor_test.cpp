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

using lyric_edit_text::kLengthChanged;

// The lyric every test edits (UTF-8 here, code page 874 on disk); line 4 holds Thai vowels
// and tone marks.
const std::vector<std::string> kLyric = {"เพลงรัก", "ศิลปิน", "C", "", "ใจสั่น ไหวหวั่น"};

std::string cpBytes(const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const std::string& line : utf8Lines) bytes += utf8ToCp874(line) + "\r\n";
    return bytes;
}

// Makes a folder refuse new files, also for root (which ignores permission bits) where the
// file system offers the immutable flag; undone when the object goes.
class UnwritableFolder {
  public:
    explicit UnwritableFolder(std::string folder) : folder_(std::move(folder)) {
        ::chmod(folder_.c_str(), 0555);
        if (!writable()) return;
        setImmutable(true);
        immutable_ = !writable();
    }
    ~UnwritableFolder() {
        if (immutable_) setImmutable(false);
        ::chmod(folder_.c_str(), 0755);
    }
    bool writable() const {
        const std::string probe = folder_ + "/.probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }

  private:
    void setImmutable(bool on) {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    std::string folder_;
    bool immutable_ = false;
};

class LyricEditorTest : public ::testing::Test {
  protected:
    explicit LyricEditorTest(GeneratorLayout layout = GeneratorLayout::Separate) {
        lib = generateLibrary(
            dir.path(),
            {.songs = 4, .layout = layout, .newSongs = 0, .songsPerVolume = 2, .extras = false});
        song = lib.songs.at(1);
        writeBytes(song.lyricPath, cpBytes(kLyric));
        current = {song.code, song.volume.empty() ? "" : dir / song.volume};
    }
    SongPaths paths() const {
        return SongPaths(fs, {lib.midiFolder, lib.lyricFolder, lib.cursorFolder, dir / "Invalid"});
    }
    void begin() { ASSERT_EQ(editor.begin(fs, paths(), current), std::nullopt); }
    // Line 4 with its first word swapped for one of the same length.
    void editLyricLine() {
        editor.take(4);
        ASSERT_EQ(editor.accept("ใจสลาย ไหวหวั่น"), std::nullopt);
    }

    TempDir dir;
    FileSystem fs;
    GeneratedLibrary lib;
    GeneratedSong song;
    CurrentSong current;
    LyricEditor editor;
};

TEST_F(LyricEditorTest, AcceptKeepsLyricLinesAtTheirLengthInCodePageCharacters) {
    const struct {
        int line;
        std::string typed;
        bool accepted;
    } cases[] = {
        {0, "เพลงรัก (แสดงสด) ฉบับเต็ม", true},  // a title takes any length
        {2, "", true},
        {4, "ใจสลาย ไหวหวั่น", true},  // marks above and below count one each
        {4, "heart! ไหวหวั่น", true},  // Latin for Thai, character for character
        {4, "ใจสั่น ไหวหวั่น ", false},  // one more blank
        {4, "ใจสั่นไหวหวั่น", false},
    };
    for (const auto& c : cases) {
        begin();
        editor.take(c.line);
        EXPECT_EQ(editor.lengthBefore(), utf8ToCp874(kLyric[c.line]).size());
        EXPECT_TRUE(editor.differs(c.typed)) << c.typed;
        const auto refused = editor.accept(c.typed);
        EXPECT_EQ(refused, c.accepted ? std::nullopt : std::optional<std::string>(kLengthChanged))
            << c.typed;
        EXPECT_EQ(cp874ToUtf8(editor.lines()[c.line]), c.accepted ? c.typed : kLyric[c.line]);
        EXPECT_EQ(editor.changed(), c.accepted);
    }
    EXPECT_EQ(codePageLength("น้ำใจ"), 5u);
    // Typing the line as it was leaves nothing to accept.
    editor.take(4);
    EXPECT_FALSE(editor.differs(kLyric[4]));
}

TEST_F(LyricEditorTest, TextTheCodePageCannotHoldIsRefusedNamingTheCharacters) {
    begin();
    editor.take(0);
    for (const std::string typed : {"Café", "เพลง😀รัก😀"}) {
        EXPECT_TRUE(editor.differs(typed));
        const auto refused = editor.accept(typed);
        ASSERT_TRUE(refused);
        EXPECT_EQ(*refused, std::string("ไม่สามารถยอมรับการแก้ไขได้...\n\n"
                                        "เนื่องจากมีตัวอักษรที่ไม่สามารถบันทึกลงในแฟ้มเนื้อเพลงได้: ") +
                                (typed == "Café" ? "é" : "😀") +
                                "\nแฟ้มเนื้อเพลงเก็บได้เฉพาะตัวอักษรภาษาไทย ภาษาอังกฤษ ตัวเลข "
                                "และเครื่องหมายทั่วไป\n\nกรุณาแก้ไขใหม่...");
        EXPECT_EQ(cp874ToUtf8(editor.lines()[0]), kLyric[0]);
    }
    EXPECT_FALSE(editor.changed());
}

class LyricSaveTest : public LyricEditorTest,
                      public ::testing::WithParamInterface<GeneratorLayout> {
  protected:
    LyricSaveTest() : LyricEditorTest(GetParam()) {}
};

TEST_P(LyricSaveTest, SaveWritesCodePageLinesWithCrLfAndTouchesNoOtherFile) {
    const std::string midi = readBytes(song.midiPath), cursor = readBytes(song.cursorPath);
    begin();
    editLyricLine();
    EXPECT_EQ(editor.save(fs, paths()), std::nullopt);
    EXPECT_EQ(readBytes(song.lyricPath), cpBytes({"เพลงรัก", "ศิลปิน", "C", "", "ใจสลาย ไหวหวั่น"}));
    EXPECT_EQ(readBytes(song.midiPath), midi);
    EXPECT_EQ(readBytes(song.cursorPath), cursor);
    for (const GeneratedSong& other : lib.songs) {
        if (other.lyricPath != song.lyricPath) {
            EXPECT_NE(readBytes(other.lyricPath), readBytes(song.lyricPath));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, LyricSaveTest,
                         ::testing::Values(GeneratorLayout::Separate, GeneratorLayout::Multi));

TEST_F(LyricEditorTest, AReadOnlyLyricIsSavedAndStaysReadOnly) {
    ASSERT_TRUE(fs.setReadOnly(song.lyricPath, true));
    begin();
    editLyricLine();
    EXPECT_EQ(editor.save(fs, paths()), std::nullopt);
    EXPECT_EQ(readBytes(song.lyricPath), cpBytes({"เพลงรัก", "ศิลปิน", "C", "", "ใจสลาย ไหวหวั่น"}));
    EXPECT_TRUE(fs.isReadOnly(song.lyricPath));
}

TEST_F(LyricEditorTest, AFailedSaveKeepsTheOldLyricAndSaysWhichFile) {
    begin();
    editLyricLine();
    const std::string folder = song.lyricPath.substr(0, song.lyricPath.rfind('/'));
    {
        UnwritableFolder blocked(folder);
        if (blocked.writable()) GTEST_SKIP() << "no way to make a folder unwritable here";
        EXPECT_EQ(editor.save(fs, paths()),
                  "ไม่สามารถบันทึกเนื้อเพลงรหัส " + song.code + " ได้\n     " + song.lyricPath +
                      "\n\nแฟ้มเนื้อเพลงเดิมยังคงอยู่ตามเดิม\n"
                      "กรุณาตรวจสอบว่าโฟลเดอร์นี้สามารถเขียนได้ แล้วบันทึกใหม่อีกครั้ง");
    }
    EXPECT_EQ(readBytes(song.lyricPath), cpBytes(kLyric));
    fs.forgetIndexes();
    EXPECT_EQ(fs.countFiles(folder), 1u);  // nothing staged is left beside it

    // A lyric that went meanwhile is not made again.
    ::unlink(song.lyricPath.c_str());
    fs.forgetIndexes();
    EXPECT_EQ(editor.save(fs, paths()),
              "ไม่พบแฟ้มเนื้อเพลงของเพลงรหัส " + song.code + "\n     " + song.lyricPath +
                  "\n\nซึ่งอาจถูกลบหรือย้ายออกไปแล้ว จึงไม่สามารถแก้ไขหรือบันทึกเนื้อเพลงนี้ได้");
    EXPECT_EQ(fs.countFiles(folder), 0u);
}

TEST_F(LyricEditorTest, ASongWithoutASafePathIsNeverEdited) {
    for (const CurrentSong& odd : {CurrentSong("../1", ""), CurrentSong("", "")}) {
        EXPECT_EQ(editor.begin(fs, paths(), odd),
                  "ไม่สามารถแก้ไขเนื้อเพลงรหัส " + odd.code() +
                      " ได้\n\nเนื่องจากรหัสเพลงหรือโฟลเดอร์ของเพลงนี้ไม่ถูกต้อง "
                      "จึงไม่อาจระบุแฟ้มเนื้อเพลงได้");
        EXPECT_FALSE(editor.editing());
    }
}

TEST(LyricMark, EverySongPageAndTheResultLineCarryTheMarkOnce) {
    const std::string line = "10001  ;Love  ;Band  ;C", other = "10002  ;Other  ;Band  ;C";
    Catalogue catalogue;
    {
        CatalogueBuilder builder(catalogue);
        builder.add(line);  // the song on page 0 and again on page 1
        for (std::size_t i = 1; i < kPageCapacity; ++i) builder.add(other);
        builder.add(line);
        ASSERT_TRUE(builder.finish());
    }
    ASSERT_EQ(catalogue.lastPage(), 1);
    EXPECT_EQ(markSavedLyric(catalogue, ""), "");
    EXPECT_EQ(catalogue.page(0).songs[0], line);

    // Saved twice: the result line as listed, then as marked, then a copy still unmarked.
    for (const std::string& resultLine : {line, line + " [+]", line}) {
        EXPECT_EQ(markSavedLyric(catalogue, resultLine), line + " [+]");
        for (int page : {0, 1}) EXPECT_EQ(catalogue.page(page).songs[0], line + " [+]");
        EXPECT_EQ(catalogue.page(0).songs[1], other);
    }
}

}  // namespace
}  // namespace dadaz::testing
