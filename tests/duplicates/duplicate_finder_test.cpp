#include <gtest/gtest.h>

#include <filesystem>

#include "duplicates/duplicate_review.h"
#include "duplicates/duplicate_texts.h"
#include "library/song_paths.h"
#include "songlist/songlist_fixture.h"

using namespace dadaz;
using dadaz::testing::readBytes;
using dadaz::testing::writeBytes;
using C = DuplicateCriterion;

namespace {

// Result lines as "text" (unmarked) or "*text" (marked); "-" for the separator.
std::vector<std::string> shown(const std::vector<ResultLine>& lines) {
    std::vector<std::string> out;
    for (const ResultLine& line : lines)
        out.push_back(line.text == duplicateSeparator() ? "-"
                                                        : (line.marked ? "*" : "") + line.text);
    return out;
}

struct Library : dadaz::testing::LibraryFixture {
    Folders& folders = ctx.folders;
    SongPaths paths{fs, folders};

    // The song's three files; the MIDI file `midiSize` bytes long.
    void song(const std::string& code, std::size_t midiSize = 100) {
        const std::string c = code.substr(0, 1);
        writeBytes(folders.midi + "/" + c + "/" + code + ".MID", std::string(midiSize, 'm'));
        writeBytes(folders.lyric + "/" + c + "/" + code + ".LYR", "lyric\r\n");
        writeBytes(folders.cursor + "/" + c + "/" + code + ".CUR", "cur");
    }
    bool whole(const std::string& code) {
        const std::string c = code.substr(0, 1);
        return fs.isFile(folders.midi + "/" + c + "/" + code + ".MID") &&
               fs.isFile(folders.lyric + "/" + c + "/" + code + ".LYR") &&
               fs.isFile(folders.cursor + "/" + c + "/" + code + ".CUR");
    }
    NeighbourResult search(const std::vector<std::string>& lines, C by) {
        return compareNeighbours(lines, fs, paths, [by] { return by; });
    }
};

struct SearchCase {
    const char* name;
    C by;
    std::vector<std::string> songLines;
    std::vector<std::string> expected;
};

}  // namespace

TEST(DuplicateSearch, NeighboursAreListedMarkedAndSeparatedByCriterion) {
    const std::vector<SearchCase> cases = {
        {"blanks and case",
         C::Title,
         {"1;Love Me (Remix)  ;Tom  ;C", "2;love  me  ;Tom  ;C"},
         {"1;Love Me (Remix)  ;Tom  ;C", "2;love  me  ;Tom  ;C"}},
        {"remarks",
         C::Title,
         {"1;Song [Live];A;C", "2;Song@2;B;C"},
         {"1;Song [Live];A;C", "2;Song@2;B;C"}},
        {"word of the first found",
         C::TitleArtist,
         {"1;X;Tom Band;C", "2;X;Tom;C"},
         {"1;X;Tom Band;C", "*2;X;Tom;C"}},
        {"last word never tried", C::TitleArtist, {"1;X;Band Tom;C", "2;X;Tom;C"}, {}},
        {"digit word skipped", C::TitleArtist, {"1;X;5 Boys;C", "2;X;Boys;C"}, {}},
        {"substring is case-sensitive", C::TitleArtist, {"1;X;Ann Lee;C", "2;X;Joanna;C"}, {}},
        {"equal artists in other case",
         C::TitleArtist,
         {"1;X;tom;C", "2;X;TOM;C"},
         {"1;X;tom;C", "*2;X;TOM;C"}},
        {"three equal but the code",
         C::Everything,
         {"1; A ;B;C", "2;A;B;C", "3;A ; B;C"},
         {"1; A ;B;C", "*2;A;B;C", "*3;A ; B;C"}},
        {"everything differs in the key", C::Everything, {"1;A;B;C", "2;A;B;D"}, {}},
        {"separators where the title changes, last pair listed",
         C::Title,
         {"1;A;x;C", "2;B;x;C", "3;C;x;C", "4;D;x;C", "5;D;y;C"},
         {"-", "4;D;x;C", "5;D;y;C"}},
        {"separator after a group",
         C::Title,
         {"1;A;x;C", "2;A;y;C", "3;B;x;C", "4;C;x;C"},
         {"1;A;x;C", "2;A;y;C", "-"}},
        {"no semicolon: empty keys", C::Title, {"abc", "def"}, {"abc", "def"}},
        {"one song line", C::Title, {"1;A;x;C"}, {}},
        // 10003 is 50 bytes from 10002, 10004 99 from 10003; 19999 has no file.
        {"MIDI sizes less than fifty bytes apart",
         C::TitleMidi,
         {"10001;A;x;C", "10002;A;y;C", "10003;A;z;C", "10004;A;w;C", "19999;A;v;C"},
         {"10001;A;x;C", "10002;A;y;C"}},
    };
    Library library;
    for (const auto& [code, size] :
         {std::pair{"10001", 40000}, {"10002", 40049}, {"10003", 40099}, {"10004", 40000}})
        library.song(code, size);
    for (const SearchCase& c : cases) {
        EXPECT_EQ(shown(library.search(c.songLines, c.by).lines), c.expected) << c.name;
    }
}

TEST(DuplicateSearch, StopsWhenTheListIsFull) {
    Library library;
    std::vector<std::string> lines;
    for (int i = 0; i < 40000; ++i) lines.push_back(std::to_string(100000 + i) + ";Same;x;C");
    const NeighbourResult result = library.search(lines, C::Title);
    EXPECT_TRUE(result.tooMany);
    EXPECT_EQ(result.lines.size(), kMaxResultLines);
}

TEST(DuplicateFinder, RefusesTheMultiFolderLayoutAndChangesNothing) {
    Library f;
    f.prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok, duplicate_text::kMultiFolder,
                       Answer::Ok, duplicate_text::kMultiFolderTitle);
    f.state.songsAdded = true;
    f.folders = {f.program, f.program, f.program, ""};
    bool rebuilt = false;
    const FinderResult found = findDuplicates(
        f.ctx, {.criterion = [] { return C::Title; }, .rebuild = [&] { rebuilt = true; }});
    EXPECT_EQ(found.end, FinderResult::End::Refused);
    EXPECT_FALSE(rebuilt || f.state.duplicateSearchActive || found.searched);
    EXPECT_TRUE(f.prompt.finished());
}

TEST(DuplicateReview, EveryCopyMarkedIsCountedPerSong) {
    const std::string sep = duplicateSeparator();
    struct Case {
        C by;
        std::vector<ResultLine> lines;
        std::size_t songs;
    } cases[] = {
        {C::Title,
         {{"1;A;x;C"}, {"2;A;y;C", true}, {sep}, {"3;B;x;C", true}, {"4;B;y;C", true}},
         1},
        {C::Title, {{"1;A;x;C", true}, {"2;A;y;C", true}, {sep, true}, {"3;B;x;C", true}}, 2},
        {C::Everything, {{"1;A;x;C", true}, {"2;A;x;C", true}, {"3;A;y;C"}, {"4;A;y;C", true}}, 1},
        {C::Title, {{"1;A;x;C"}, {"2;A;y;C"}}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(songsLosingEveryCopy(c.lines, c.by), c.songs);
}

TEST(DuplicateReview, SelectionIsSavedAndImportedLineForLine) {
    Library library;
    auto& prompt = library.prompt;
    std::vector<ResultLine> lines = {
        {"1;A;x;C"}, {"2;A;y;C", true}, {duplicateSeparator()}, {"3;B;x;C", true}};
    ASSERT_TRUE(saveSelection(library.fs, library.program, lines, prompt));
    EXPECT_EQ(readBytes(library.dir / "SelectSong.txt"), "2;A;y;C\r\n3;B;x;C\r\n");

    writeBytes(
        library.dir / "SelectSong.txt",
        "รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n1;A;x;C\r\n3;b;x;C\r\n" + std::string(120, '-') + "\r\n");
    for (ResultLine& line : lines) line.marked = false;
    importSelection(lines, *library.fs.readLines(library.dir / "SelectSong.txt"));
    EXPECT_EQ(shown(lines), (std::vector<std::string>{"*1;A;x;C", "2;A;y;C", "-", "3;B;x;C"}));

    const std::string missing = library.dir / "gone";
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok,
                     duplicate_text::selectionNotSaved(missing), Answer::Ok);
    EXPECT_FALSE(saveSelection(library.fs, missing, lines, prompt));
    EXPECT_TRUE(prompt.finished());
}

namespace {

class RecordingProgress : public ProgressSink {
  public:
    void progress(long done, long total, const std::string& text) override {
        last = text + std::to_string(done * 100 / total) + " %";
    }
    void status(const std::string&) override {}
    void barColour(std::uint32_t rgb) override { colour = rgb; }
    std::string last;
    std::uint32_t colour = 0;
};

}  // namespace

TEST(DuplicateRemoval, OnlySongsReallyGoneLeaveTheListAndEnterTheLog) {
    Library library;
    std::vector<ResultLine> lines;
    for (int i = 0; i < 10; ++i) {
        const std::string code = std::to_string(10001 + i);
        library.song(code);
        lines.push_back({code + "  ;Title  ;Artist  ;C"});
    }
    lines[3].marked = lines[4].marked = true;
    RecordingProgress bar;
    const auto remove = [&](RemovalKind kind, const char* stamp) {
        return removeMarkedSongs(library.fs, lines,
                                 {.kind = kind,
                                  .programFolder = library.program,
                                  .folders = library.folders,
                                  .stamp = stamp},
                                 bar);
    };
    const DuplicateRemovalResult deleted = remove(RemovalKind::Delete, "051220261642");
    EXPECT_EQ(bar.last, "กำลังลบเพลงซ้ำ 20 %");
    EXPECT_EQ(bar.colour, 0xFF8080u);
    EXPECT_FALSE(library.whole("10004") ||
                 library.fs.exists(library.folders.midi + "/1/10005.MID"));
    EXPECT_EQ(deleted.lines.size(), 8u);
    EXPECT_EQ(readBytes(library.dir / "Log/DDUP051220261642.txt"),
              "10004  ;Title  ;Artist  ;C\r\n10005  ;Title  ;Artist  ;C\r\n");
    MessageIcon icon;
    EXPECT_EQ(removalMessage(RemovalKind::Delete, deleted, icon), duplicate_text::deleted());

    // A move meeting a name taken in the move-to folder moves none of the song's files.
    lines = deleted.lines;
    lines[0].marked = lines[1].marked = true;
    writeBytes(library.folders.moveTo + "/10001.CUR", "other");
    const DuplicateRemovalResult moved = remove(RemovalKind::Move, "051220261643");
    EXPECT_TRUE(library.whole("10001"));
    EXPECT_EQ(readBytes(library.folders.moveTo + "/10001.CUR"), "other");
    EXPECT_TRUE(library.fs.isFile(library.folders.moveTo + "/10002.MID"));
    EXPECT_EQ(readBytes(library.dir / "Log/MDUP051220261643.txt"),
              "10002  ;Title  ;Artist  ;C\r\n");
    ASSERT_EQ(moved.lines.size(), 7u);
    EXPECT_EQ(moved.lines[0], (ResultLine{"10001  ;Title  ;Artist  ;C", true}));
    EXPECT_EQ(removalMessage(RemovalKind::Move, moved, icon).find("ย้ายเพลงต่อไปนี้ไม่ได้"), 0u);
    EXPECT_EQ(icon, MessageIcon::Exclamation);
}
