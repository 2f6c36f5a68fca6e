#include "library/lyric_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(LyricFields, TitleIsCutBeforeTheFirstParenthesisAndTrimmed) {
    EXPECT_EQ(titleFromLine("Love Song (Remix)"), "Love Song");
    EXPECT_EQ(titleFromLine("(Intro) Love Song"), " ");
    EXPECT_EQ(titleFromLine("   Love Song   "), "Love Song");
    EXPECT_EQ(titleFromLine("A (b) (c)"), "A");
    EXPECT_EQ(titleFromLine(""), " ");
    EXPECT_EQ(titleFromLine("    "), " ");
    // Only blanks are trimmed, as the players' tools did.
    EXPECT_EQ(titleFromLine("\tSong\t"), "\tSong\t");
}

TEST(LyricFields, ArtistAndKeyAreKeptAsTheyAre) {
    const auto fields = lyricFieldsFromLines({" Title ", "  Artist ", " C# ", "x", "lyric"});
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.artist, "  Artist ");
    EXPECT_EQ(fields.key, " C# ");
    EXPECT_EQ(fields.fourthLine, "x");
}

TEST(LyricFields, MissingLinesGiveBlankFields) {
    const auto fields = lyricFieldsFromLines({"Only a title"});
    EXPECT_EQ(fields.title, "Only a title");
    EXPECT_EQ(fields.artist, " ");
    EXPECT_EQ(fields.key, " ");
    EXPECT_EQ(fields.fourthLine, "");
    const auto none = lyricFieldsFromLines({});
    EXPECT_EQ(none.title, " ");
    EXPECT_EQ(none.artist, " ");
}

TEST(LyricFile, ReadsLinesEndedByCrLfLoneCrOrNothing) {
    TempDir dir;
    FileSystem fs;
    writeBytes(dir / "a.LYR", "T (x)\rArt\r\nKey\r\n\r\nla la");
    const auto fields = readLyricFields(fs, dir / "a.LYR");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->title, "T");
    EXPECT_EQ(fields->artist, "Art");
    EXPECT_EQ(fields->key, "Key");
    EXPECT_EQ(fields->fourthLine, "");
    const auto lines = readLyricLines(fs, dir / "a.LYR");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{"T (x)", "Art", "Key", "", "la la"}));
    EXPECT_FALSE(readLyricFields(fs, dir / "missing.LYR"));
}

TEST(LyricFile, ThaiBytesPassThroughUnchanged) {
    TempDir dir;
    FileSystem fs;
    // Code page 874 bytes: "เพลง" then a remark.
    writeBytes(dir / "t.LYR", "\xE0\xBE\xC5\xA7 (\xA1)\r\n\xA1\xA2\r\n\r\n");
    const auto fields = readLyricFields(fs, dir / "t.LYR");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->title, "\xE0\xBE\xC5\xA7");
    EXPECT_EQ(fields->artist, "\xA1\xA2");
    EXPECT_EQ(fields->key, " ");
}

TEST(LyricFile, WritingEndsEveryLineWithCrLf) {
    TempDir dir;
    FileSystem fs;
    writeBytes(dir / "1/1.LYR", "old content that is longer than the new one\r\n");
    ASSERT_TRUE(writeLyricLines(fs, dir / "1/1.LYR", {"T", "A", "", "", "end"}));
    EXPECT_EQ(readBytes(dir / "1/1.LYR"), "T\r\nA\r\n\r\n\r\nend\r\n");
}

TEST(LyricFile, FourthLineWithABlankIsEmptiedOtherLinesKept) {
    TempDir dir;
    FileSystem fs;
    const std::string path = dir / "1/1.LYR";
    writeBytes(path, "Title (r)\r\n Artist \nKey\r \rline 5  \r\n\xA1\xA2\r\n\r\nlast");
    EXPECT_EQ(emptyFourthLine(fs, path), FourthLineFix::Emptied);
    EXPECT_EQ(readBytes(path),
              "Title (r)\r\n Artist \r\nKey\r\n\r\nline 5  \r\n\xA1\xA2\r\n\r\nlast\r\n");
    // No temporary file is left beside it.
    EXPECT_EQ(fs.countFiles(dir / "1"), 1u);
}

TEST(LyricFile, ReadOnlyLyricIsFixedToo) {
    TempDir dir;
    FileSystem fs;
    const std::string path = dir / "1.LYR";
    writeBytes(path, "T\r\nA\r\nK\r\nx\r\n");
    ASSERT_TRUE(fs.setReadOnly(path, true));
    EXPECT_EQ(emptyFourthLine(fs, path), FourthLineFix::Emptied);
    EXPECT_EQ(readBytes(path), "T\r\nA\r\nK\r\n\r\n");
}

TEST(LyricFile, EmptyOrMissingFourthLineIsNotRewritten) {
    TempDir dir;
    FileSystem fs;
    writeBytes(dir / "a.LYR", "T\nA\nK\n\nlyric");  // lone LF ends, left as they are
    writeBytes(dir / "b.LYR", "T\r\nA");
    const ino_t a = inodeOf(dir / "a.LYR");
    EXPECT_EQ(emptyFourthLine(fs, dir / "a.LYR"), FourthLineFix::AlreadyEmpty);
    EXPECT_EQ(emptyFourthLine(fs, dir / "b.LYR"), FourthLineFix::AlreadyEmpty);
    EXPECT_EQ(readBytes(dir / "a.LYR"), "T\nA\nK\n\nlyric");
    EXPECT_EQ(readBytes(dir / "b.LYR"), "T\r\nA");
    EXPECT_EQ(inodeOf(dir / "a.LYR"), a);
    EXPECT_EQ(emptyFourthLine(fs, dir / "missing.LYR"), FourthLineFix::Failed);
}

}  // namespace
}  // namespace dadaz
