#include <gtest/gtest.h>

#include <map>
#include <set>

#include "generator/library_generator.h"
#include "generator_test_util.h"
#include "platform/codepage.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;

// Bytes that code page 874 leaves without a character.
bool undefinedInCp874(unsigned char b) {
    return (b >= 0x81 && b <= 0x84) || (b >= 0x86 && b <= 0x90) || (b >= 0x98 && b <= 0x9F) ||
           (b >= 0xDB && b <= 0xDE) || b >= 0xFC;
}

bool hasByteIn(const std::string& text, unsigned char lo, unsigned char hi) {
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= lo && b <= hi) return true;
    }
    return false;
}

bool isLatin(const std::string& text) {
    return !hasByteIn(text, 0x80, 0xFF);
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class LibraryContent : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tmp_ = new TempDir;
        GeneratorOptions options;
        options.songs = 400;
        options.seed = 11;
        library_ = new GeneratedLibrary(generateLibrary(*tmp_ / "lib", options));
    }
    static void TearDownTestSuite() {
        delete library_;
        delete tmp_;
    }
    static TempDir* tmp_;
    static GeneratedLibrary* library_;
};

TempDir* LibraryContent::tmp_ = nullptr;
GeneratedLibrary* LibraryContent::library_ = nullptr;

TEST_F(LibraryContent, LyricFilesAreCp874WithCrLfAndTheAnnouncedFirstLines) {
    const GeneratedLibrary& lib = *library_;
    ASSERT_TRUE(lib.ok) << lib.error;
    std::size_t withoutFinalBreak = 0;
    for (const GeneratedSong& s : lib.songs) {
        SCOPED_TRACE(s.lyricPath);
        const std::string bytes = readBytes(s.lyricPath);
        for (char ch : bytes) ASSERT_FALSE(undefinedInCp874(static_cast<unsigned char>(ch)));
        ASSERT_EQ(utf8ToCp874(cp874ToUtf8(bytes)), bytes);
        // Every line ends with CR LF: no CR or LF stands alone.
        std::string rest = bytes;
        for (std::size_t at; (at = rest.find("\r\n")) != std::string::npos;) rest.erase(at, 2);
        ASSERT_EQ(rest.find_first_of("\r\n"), std::string::npos);

        const std::vector<std::string> lines = crlfLines(bytes);
        ASSERT_GE(lines.size(), 10u);
        EXPECT_EQ(lines[0], s.titleLine);
        EXPECT_EQ(lines[1], s.artistLine);
        EXPECT_EQ(lines[2], s.keyLine);
        EXPECT_EQ(lines[3], s.fourthLine);
        EXPECT_FALSE(lines.back().empty());
        const bool endsWithBreak = bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n";
        EXPECT_EQ(endsWithBreak, s.endsWithLineBreak);
        if (!endsWithBreak) ++withoutFinalBreak;
    }
    EXPECT_GT(withoutFinalBreak, 0u);
}

// How many lyric files show each oddity of real libraries.
std::map<std::string, int> oddities(const GeneratedLibrary& lib) {
    std::map<std::string, int> seen;
    std::map<std::string, std::set<std::string>> artistsOfTitle;
    std::set<std::string> foldedTitles;
    for (const GeneratedSong& s : lib.songs) {
        const std::string& t = s.titleLine;
        if (t.find(" (") != std::string::npos) ++seen["paren remark"];
        if (t.find(" [") != std::string::npos) ++seen["bracket remark"];
        if (!t.empty() && t[0] == '(') ++seen["starts with paren"];
        if (!t.empty() && t[0] == ' ') ++seen["leading blank"];
        const std::size_t start = t.find_first_not_of(' ');
        if (start != std::string::npos && hasByteIn(t.substr(start, 1), 0xE0, 0xE4))
            ++seen["leading vowel"];
        if (hasByteIn(t, 0xE8, 0xEB)) ++seen["tone mark"];
        if (hasByteIn(t, 0xF0, 0xF9)) ++seen["thai digit"];
        if (hasByteIn(t, 0xA1, 0xCE)) ++seen["thai"];
        if (isLatin(t)) {
            ++seen["latin"];
            bool lower = false, upperCase = false;
            for (char ch : t) {
                lower |= ch >= 'a' && ch <= 'z';
                upperCase |= ch >= 'A' && ch <= 'Z';
            }
            if (lower && upperCase) ++seen["latin mixed"];
            if (upperCase && !lower) ++seen["latin upper"];
        }
        if (s.artistLine.empty()) ++seen["empty artist"];
        if (!s.artistLine.empty() && s.artistLine[0] == ' ') ++seen["artist leading blank"];
        if (s.keyLine.empty()) ++seen["empty key"];
        if (s.fourthLine == " ") ++seen["fourth blank"];
        if (!s.fourthLine.empty() && s.fourthLine != " ") ++seen["fourth text"];
        if (!s.endsWithLineBreak) ++seen["no final line break"];
        if (s.exactCopyOf >= 0) ++seen["exact copy"];
        artistsOfTitle[s.titleLine].insert(s.artistLine);
        std::string folded = s.titleLine;
        for (char& ch : folded)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        foldedTitles.insert(folded);
    }
    for (const auto& [title, artists] : artistsOfTitle)
        if (artists.size() > 1) ++seen["title with several artists"];
    seen["titles equal but for case"] =
        static_cast<int>(artistsOfTitle.size() - foldedTitles.size());
    return seen;
}

const char* const kOddities[] = {"paren remark",
                                 "bracket remark",
                                 "starts with paren",
                                 "leading blank",
                                 "leading vowel",
                                 "tone mark",
                                 "thai",
                                 "latin",
                                 "latin mixed",
                                 "latin upper",
                                 "empty artist",
                                 "artist leading blank",
                                 "empty key",
                                 "fourth blank",
                                 "fourth text",
                                 "no final line break",
                                 "exact copy",
                                 "title with several artists",
                                 "titles equal but for case"};

TEST_F(LibraryContent, TitlesArtistsKeysAndFourthLinesVaryAsInRealLibraries) {
    const GeneratedLibrary& lib = *library_;
    ASSERT_TRUE(lib.ok) << lib.error;
    std::map<std::string, int> seen = oddities(lib);
    for (const char* oddity : kOddities) EXPECT_GT(seen[oddity], 0) << oddity;
    EXPECT_GT(seen["thai digit"], 0);
    EXPECT_GT(seen["exact copy"], 2);
    // Non-empty fourth lines stay rare, as in the players' libraries.
    EXPECT_LT(seen["fourth blank"] + seen["fourth text"], 20);
    EXPECT_GT(seen["thai"], 150);
    EXPECT_GT(seen["latin"], 100);
}

TEST(LibraryGeneratorSmall, TwentySongsShowEveryOddityAlready) {
    TempDir tmp;
    GeneratorOptions options;
    options.songs = 20;
    options.seed = 5;
    const GeneratedLibrary lib = generateLibrary(tmp / "lib", options);
    ASSERT_TRUE(lib.ok) << lib.error;
    std::map<std::string, int> seen = oddities(lib);
    // Twenty songs are too few for every script and spelling; the oddities are all there.
    const std::set<std::string> statistical = {"thai", "latin upper", "leading vowel", "tone mark"};
    for (const char* oddity : kOddities) {
        if (!statistical.count(oddity)) {
            EXPECT_GT(seen[oddity], 0) << oddity;
        }
    }
    EXPECT_EQ(readBytes(lib.songs[14].lyricPath), readBytes(lib.songs[0].lyricPath));
}

TEST_F(LibraryContent, ExactCopiesHaveTheSameLyricAndMidiBytes) {
    const GeneratedLibrary& lib = *library_;
    ASSERT_TRUE(lib.ok) << lib.error;
    std::size_t compared = 0;
    for (const GeneratedSong& s : lib.songs) {
        if (s.exactCopyOf < 0) continue;
        const GeneratedSong& src = lib.songs[static_cast<std::size_t>(s.exactCopyOf)];
        EXPECT_NE(s.code, src.code);
        EXPECT_EQ(readBytes(s.lyricPath), readBytes(src.lyricPath));
        if (s.missing == MissingPartner::None && src.missing == MissingPartner::None) {
            EXPECT_EQ(readBytes(s.midiPath), readBytes(src.midiPath));
            EXPECT_EQ(readBytes(s.cursorPath), readBytes(src.cursorPath));
            ++compared;
        }
    }
    EXPECT_GT(compared, 0u);
}

TEST_F(LibraryContent, MidiFilesAreRealAndVaried) {
    const GeneratedLibrary& lib = *library_;
    ASSERT_TRUE(lib.ok) << lib.error;
    std::set<int> tracks;
    std::uint64_t smallest = ~0ull, largest = 0;
    for (const GeneratedSong& s : lib.songs) {
        if (s.missing == MissingPartner::Midi || s.missing == MissingPartner::Both) continue;
        const std::string bytes = readBytes(s.midiPath);
        ASSERT_EQ(bytes.size(), s.midiSize);
        ASSERT_EQ(bytes.substr(0, 4), "MThd");
        EXPECT_EQ(
            (static_cast<unsigned char>(bytes[10]) << 8) | static_cast<unsigned char>(bytes[11]),
            s.midiTracks);
        tracks.insert(s.midiTracks);
        smallest = std::min(smallest, s.midiSize);
        largest = std::max(largest, s.midiSize);
    }
    EXPECT_EQ(tracks, (std::set<int>{3, 4, 5}));
    EXPECT_GT(largest, 8 * smallest);
}

}  // namespace
}  // namespace dadaz
