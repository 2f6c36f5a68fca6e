// Books made from generated libraries, read back with pdftotext: the text a reader copies out
// of the PDF must be the song list's own, in its order.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "generator/library_generator.h"
#include "songbook/songbook_run.h"
#include "songlist/songlist_fixture.h"
#include "songlist/songlist_run.h"
#include "support/answering_prompt.h"

namespace dadaz::testing {
namespace {

// Line breaks and blanks depend on how cells wrap; the characters do not.
std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\n' && c != '\r') out += c;
    }
    return out;
}

// The text of a PDF as pdftotext -raw gives it.
std::string pdfText(const std::string& pdf) {
    std::string text;
    FILE* pipe = popen(("pdftotext -raw '" + pdf + "' -").c_str(), "r");
    char buffer[65536];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    if (pipe) pclose(pipe);
    return text;
}

// Its pages, blanks removed.
std::vector<std::string> pdfPages(const std::string& pdf) {
    const std::string text = pdfText(pdf);
    std::vector<std::string> pages;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\f', start);
        if (end == std::string::npos) end = text.size();
        pages.push_back(withoutBlanks(text.substr(start, end - start)));
    }
    return pages;
}

struct Song {
    std::string row;  // code, title, artist and key as read, blanks removed
    std::string title;
};

class SongBookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GeneratorOptions options;
        options.songs = 400;
        options.newSongs = 0;
        ASSERT_TRUE(generateLibrary(lib.program + "/gen", options).ok);
        RunContext ctx{lib.program,
                       {lib.program + "/gen/SONG", lib.program + "/gen/LYRICS",
                        lib.program + "/gen/CURSOR", lib.program + "/Invalid Files"},
                       lib.fs,
                       quiet,
                       lib.progress,
                       lib.launcher,
                       lib.state};
        runSongList(ctx);
        for (const std::string& line : songLines(lib.read("SongList.txt"))) {
            std::vector<std::string> fields;
            for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
                end = line.find(';', start);
                fields.push_back(withoutBlanks(line.substr(start, end - start)));
            }
            songs.push_back({fields[0] + fields[1] + fields[2] + fields[3], fields[1]});
        }
        ASSERT_GT(songs.size(), 300u);
    }

    AnsweringPrompt quiet;  // the song list run's messages do not matter here
    LibraryFixture lib;
    std::vector<Song> songs;
};

TEST_F(SongBookTest, EverySongInListOrderUnderPageHeadersNamingFirstAndLastTitle) {
    const std::string pdf = lib.program + "/book.pdf";
    const SongBookOutcome outcome = makeSongBook(lib.fs, lib.program, {}, pdf);
    ASSERT_TRUE(outcome.written) << outcome.message;
    EXPECT_EQ(outcome.songs, songs.size());
    const std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_NE(pages[0].find(withoutBlanks(formatCount(static_cast<long>(songs.size())) + " เพลง")),
              std::string::npos);
    std::size_t next = 0;
    for (std::size_t p = 1; p < pages.size() && next < songs.size(); ++p) {
        const std::string& page = pages[p];
        const std::size_t first = next;
        for (std::size_t at = 0; next < songs.size(); ++next) {
            at = page.find(songs[next].row, at);
            if (at == std::string::npos) break;
            at += songs[next].row.size();
        }
        ASSERT_GT(next, first) << "page " << p + 1 << " lacks song " << songs[first].row;
        // The header names the first and last titles there are: empty ones name nothing.
        std::vector<std::string> titles;
        for (std::size_t i = first; i < next; ++i) {
            if (!songs[i].title.empty()) titles.push_back(songs[i].title);
        }
        ASSERT_FALSE(titles.empty());
        EXPECT_TRUE(page.starts_with(titles.front() + "–" + titles.back()))
            << "page " << p + 1 << ": " << page.substr(0, 200);
        EXPECT_TRUE(page.ends_with("หน้า" + std::to_string(p + 1))) << "page " << p + 1;
    }
    EXPECT_EQ(next, songs.size()) << "missing or out of order: " << songs[next].row;
}

TEST_F(SongBookTest, ByArtistInColumnsHoldsEverySongOnce) {
    const std::string pdf = lib.program + "/artist.pdf";
    SongBookOptions options;
    options.order = SongBookOrder::Artist;
    options.columns = 2;
    ASSERT_TRUE(makeSongBook(lib.fs, lib.program, options, pdf).written);
    std::string all;
    for (const std::string& page : pdfPages(pdf)) all += page;
    for (const Song& song : songs) {
        EXPECT_NE(all.find(song.row), std::string::npos) << song.row;
    }
}

TEST(SongBook, NoListOrUnwritableFolderWritesNothing) {
    TempDir dir;
    FileSystem fs;
    const SongBookOutcome noList = makeSongBook(fs, dir.path(), {}, dir / "book.pdf");
    EXPECT_FALSE(noList.written);
    EXPECT_EQ(noList.message, "ไม่พบแฟ้มรายการเพลง SongList.txt\n\nกรุณาสร้างรายการเพลงก่อน");
    writeBytes(dir / "SongList.txt", "note\r\ncolumns\r\n1  ;a  ;b  ;C\r\n");
    const FileSystem freshFs;  // a run sees the disk as it is now
    const SongBookOutcome unwritable = makeSongBook(freshFs, dir.path(), {}, dir / "no/book.pdf");
    EXPECT_FALSE(unwritable.written);
    EXPECT_EQ(unwritable.message, "ไม่สามารถเขียนแฟ้มสมุดรายชื่อเพลงได้: " + dir / "no/book.pdf");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Keys in three narrow columns stay whole; a book that cannot be written leaves the last one.
TEST(SongBook, KeysStayWholeAndAFailedWriteKeepsTheOldBook) {
    TempDir dir;
    const char* keys[] = {"C#m", "G#m", "Ebm", "Bbm", "F#m"};
    std::string list = "note\r\ncolumns\r\n";
    for (const char* key : keys) list += "10000001;Song;Singer;" + std::string(key) + "\r\n";
    writeBytes(dir / "SongList.txt", list);
    const FileSystem fs;
    SongBookOptions options;
    options.columns = 3;
    const std::string book = dir / "book.pdf";
    const SongBookOutcome made = makeSongBook(fs, dir.path(), options, book);
    EXPECT_EQ(made.message, "สร้างสมุดรายชื่อเพลงเรียบร้อยแล้ว: " + book + "\n5 เพลง 2 หน้า");
    for (const char* key : keys) EXPECT_NE(pdfText(book).find(key), std::string::npos) << key;

    const std::string before = readBytes(book);
    std::filesystem::create_directory(book + ".part");  // where the new book would be written
    const SongBookOutcome failed = makeSongBook(fs, dir.path(), options, book);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(failed.message,
              "ไม่สามารถเขียนแฟ้มสมุดรายชื่อเพลงได้: " + book + "\n\nแฟ้มเดิมยังอยู่ครบ ไม่มีการเปลี่ยนแปลง");
    EXPECT_EQ(readBytes(book), before);
    EXPECT_TRUE(std::filesystem::is_directory(book + ".part"));
}

// A title a little too long for a cell of two columns is set smaller rather than wrapped, so
// that it copies out of the book whole.
TEST(SongBook, TitlesJustTooLongForTheirCellStayOnOneLine) {
    TempDir dir;
    const char* titles[] = {"AGAIN HELLO SKY", "Again In Shadow My", "AGAIN OCEAN SMILE"};
    std::string list = "note\r\ncolumns\r\n";
    for (const char* title : titles)
        list += "10000001;" + std::string(title) + ";Peter Rivers;C#m\r\n";
    writeBytes(dir / "SongList.txt", list);
    SongBookOptions options;
    options.columns = 2;
    const std::string book = dir / "book.pdf";
    ASSERT_TRUE(makeSongBook(FileSystem(), dir.path(), options, book).written);
    const std::string text = pdfText(book);
    for (const char* title : titles) {
        EXPECT_NE(text.find("10000001 " + std::string(title) + " Peter Rivers C#m\n"),
                  std::string::npos)
            << text;
    }
}

TEST(SongBook, HeadingsFileLeadingVowelsUnderTheirConsonant) {
    const std::pair<const char*, const char*> cases[] = {
        {"ไก่ย่าง", "ก"},  {"เพลงรัก", "พ"},  {"ความรัก", "ค"}, {"love", "L"},
        {"7 วัน", "0-9"}, {"(Intro)", "#"}, {"", "#"}};
    for (const auto& [title, heading] : cases) {
        EXPECT_EQ(cp874ToUtf8(headingOf(utf8ToCp874(title))), heading) << title;
    }
}

}  // namespace
}  // namespace dadaz::testing
