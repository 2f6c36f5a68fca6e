#include "library/lyric_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;
using Lines = std::vector<std::string>;

TEST(LyricFields, TitleIsCutBeforeTheFirstParenthesisAndOnlyBlanksTrimmed) {
    const std::pair<const char*, const char*> cases[] = {
        {"Love Song (Remix)", "Love Song"},
        {"(Intro) Love Song", " "},
        {"   Love Song   ", "Love Song"},
        {"A (b) (c)", "A"},
        {"", " "},
        {"    ", " "},
        {"\tSong\t", "\tSong\t"},
    };
    for (const auto& [line, title] : cases) EXPECT_EQ(titleFromLine(line), title) << line;
}

TEST(LyricFields, ArtistAndKeyAreKeptAsTheyAreAndMissingLinesAreBlanks) {
    const LyricFields fields = lyricFieldsFromLines({" Title ", "  Artist ", " C# ", "x", "lyric"});
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.artist, "  Artist ");
    EXPECT_EQ(fields.key, " C# ");
    EXPECT_EQ(fields.fourthLine, "x");
    const LyricFields few = lyricFieldsFromLines({"Only a title"});
    EXPECT_EQ(few.title + "|" + few.artist + "|" + few.key + "|" + few.fourthLine,
              "Only a title| | |");
}

class LyricFile : public ::testing::Test {
  protected:
    testing::TempDir dir;
    FileSystem fs;
};

TEST_F(LyricFile, ReadsCodePageBytesUnchangedWhateverTheLineEnds) {
    // "เพลง (ก)", then a lone CR, CR LF and a last line without an end.
    writeBytes(dir / "a.LYR", "\xE0\xBE\xC5\xA7 (\xA1)\rArt\r\nKey\r\n\r\nla la");
    const auto fields = readLyricFields(fs, dir / "A.lyr");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->title, "\xE0\xBE\xC5\xA7");
    EXPECT_EQ(fields->artist + "|" + fields->key + "|" + fields->fourthLine, "Art|Key|");
    EXPECT_EQ(readLyricLines(fs, dir / "a.LYR"),
              (Lines{"\xE0\xBE\xC5\xA7 (\xA1)", "Art", "Key", "", "la la"}));
    EXPECT_FALSE(readLyricFields(fs, dir / "missing.LYR"));
}

TEST_F(LyricFile, AFourthLineWithABlankIsEmptiedEvenInAReadOnlyFileOtherLinesKeptWithCrLf) {
    const std::string path = dir / "1/1.LYR";
    writeBytes(path, "Title (r)\r\n Artist \nKey\r \rline 5  \r\n\xA1\xA2\r\n\r\nlast");
    ASSERT_TRUE(fs.setReadOnly(path, true));
    EXPECT_EQ(emptyFourthLine(fs, path), FourthLineFix::Emptied);
    EXPECT_EQ(readBytes(path),
              "Title (r)\r\n Artist \r\nKey\r\n\r\nline 5  \r\n\xA1\xA2\r\n\r\nlast\r\n");
    EXPECT_EQ(fs.countFiles(dir / "1"), 1u);  // no temporary file left beside it
}

TEST_F(LyricFile, AnEmptyOrMissingFourthLineIsNotRewritten) {
    writeBytes(dir / "a.LYR", "T\nA\nK\n\nlyric");  // lone LF ends, left as they are
    writeBytes(dir / "b.LYR", "T\r\nA");
    struct stat before {
    }, after{};
    ::stat((dir / "a.LYR").c_str(), &before);
    EXPECT_EQ(emptyFourthLine(fs, dir / "a.LYR"), FourthLineFix::AlreadyEmpty);
    EXPECT_EQ(emptyFourthLine(fs, dir / "b.LYR"), FourthLineFix::AlreadyEmpty);
    EXPECT_EQ(emptyFourthLine(fs, dir / "missing.LYR"), FourthLineFix::Failed);
    ::stat((dir / "a.LYR").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(readBytes(dir / "a.LYR"), "T\nA\nK\n\nlyric");
    EXPECT_EQ(readBytes(dir / "b.LYR"), "T\r\nA");
}

}  // namespace
}  // namespace dadaz
