#include <gtest/gtest.h>

#include "songlist/song_entry.h"
#include "songlist/songlist_run.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

TEST(TitleGroup, FirstCharacterOrTheOneAfterALeadingVowel) {
    // Each range's first and last character, Latin and Thai digits, leading vowels.
    const std::pair<const char*, int> titles[] = {
        {"1999", 0}, {"apple", 0}, {"Zoo", 0}, {"๑๒", 0}, {"กา", 1}, {"ฌ", 1},   {"ญ", 2},
        {"ท", 2},    {"น", 3},     {"ฤ", 3},   {"ล", 4},  {"ะ", 4},  {"เสือ", 4}, {"ไก่", 1},
        {"โต", 2},   {"-ก-", 1},   {"เA", 0},  {" ", 0},  {"เ", 0}};
    for (const auto& [title, group] : titles)
        EXPECT_EQ(titleGroup(utf8ToCp874(title)), group) << title;
}

// Titles in the order of a SongList.txt.
std::vector<std::string> listedTitles(const std::string& songList) {
    std::vector<std::string> order;
    for (const std::string& line : songLines(songList)) {
        const auto first = line.find("  ;") + 3;
        order.push_back(line.substr(first, line.find("  ;", first) - first));
    }
    return order;
}

TEST(TitleGroup, FiveGroupsFrom32767CountedFilesOn) {
    LibraryFixture lib;
    const std::vector<std::string> titles = {"มา",    "Zoo", "-ก-",  "เสือ", "ไก่",
                                             "apple", "ตา",  "1999", "ข้าว"};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        lib.songs.add(std::to_string(i + 1), {titles[i], "A", "C", ""});
    }
    // Every file of the lyric folders counts, lyric or not.
    const std::string filler = lib.program + "/LYRICS/9";
    for (long i = static_cast<long>(titles.size()); i < 32766; ++i) {
        writeBytes(filler + "/f" + std::to_string(i) + ".txt", "");
    }
    lib.state.catalogueRequested = true;

    // One group: the collation alone orders, punctuation first.
    EXPECT_EQ(runSongList(lib.ctx).countedFiles, 32766);
    EXPECT_EQ(
        listedTitles(lib.read("SongList.txt")),
        (std::vector<std::string>{"-ก-", "1999", "apple", "Zoo", "ไก่", "ข้าว", "ตา", "มา", "เสือ"}));

    // Five groups: digits and Latin first; "-ก-" joins the ก group; the leading vowel files
    // เสือ under ส (group 4), after มา (group 3).
    writeBytes(filler + "/one more.txt", "");
    EXPECT_EQ(runSongList(lib.ctx).countedFiles, 32767);
    EXPECT_EQ(
        listedTitles(lib.read("SongList.txt")),
        (std::vector<std::string>{"1999", "apple", "Zoo", "-ก-", "ไก่", "ข้าว", "ตา", "มา", "เสือ"}));
}

}  // namespace
}  // namespace dadaz::testing
