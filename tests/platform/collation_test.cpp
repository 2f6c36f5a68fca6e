#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/codepage.h"

namespace dadaz {
namespace {

std::string tis(const char* utf8) {
    return utf8ToCp874(utf8);
}

std::vector<std::string> tisList(std::initializer_list<const char*> texts) {
    std::vector<std::string> out;
    for (const char* text : texts) out.push_back(tis(text));
    return out;
}

std::vector<std::string> contents(const SortedIndex& index) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < index.size(); ++i) out.push_back(index.at(i));
    return out;
}

// The order the players' lists show: digits, Latin (case ignored, punctuation counting),
// then Thai with leading vowels under their consonant and tone marks as a second-level mark.
const std::vector<std::string>& expectedOrder() {
    static const std::vector<std::string> order = tisList({
        "(intro)",  // punctuation before digits
        "123",     "9",
        "a b",  // a blank counts and comes before letters
        "a-b",     "ab",  "Love", "Love me", "love-me", "lovely", "Zebra", "ก", "กา",
        "เกม",  // under ก: the leading vowel weighs after its consonant
        "แก",      "ไก่",  "ขา",
        "ข่า",  // a tone mark weighs less than a following letter
        "ขาว",     "ข้าว", "ค",
    });
    return order;
}

TEST(ThaiCollator, OrdersDigitsLatinThaiWithLeadingVowelsUnderTheirConsonant) {
    ThaiCollator collator;
    const std::vector<std::string>& order = expectedOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        EXPECT_LT(collator.compare(order[i], order[i + 1]), 0)
            << cp874ToUtf8(order[i]) << " / " << cp874ToUtf8(order[i + 1]);
        EXPECT_LT(collator.sortKey(order[i]), collator.sortKey(order[i + 1]))
            << cp874ToUtf8(order[i]) << " / " << cp874ToUtf8(order[i + 1]);
    }
    // Thai digits sort with the Latin ones.
    EXPECT_LT(collator.compare(tis("๑๒"), "A"), 0);
    EXPECT_EQ(collator.compare(tis("๑๒"), "12"), 0);
}

TEST(ThaiCollator, IgnoresCaseButNotPunctuation) {
    ThaiCollator collator;
    EXPECT_EQ(collator.compare("Love", "LOVE"), 0);
    EXPECT_EQ(collator.sortKey("Love"), collator.sortKey("LOVE"));
    EXPECT_TRUE(!collator.less("love", "LOVE") && !collator.less("LOVE", "love"));
    EXPECT_NE(collator.compare("ab", "a-b"), 0);
    EXPECT_NE(collator.compare("ab", "a b"), 0);
    EXPECT_NE(collator.compare("Rock;A", "Rock;B"), 0);
    EXPECT_LT(collator.compare("Rock;A;", "Rock;B;"), 0);
    // Bytes without a character of their own still compare and give keys.
    EXPECT_NE(collator.compare("\xFC", "\xFD"), 0);
    EXPECT_EQ(collator.sortKey("").size(), collator.sortKey("").size());
}

TEST(SortedIndex, KeepsCollationOrderForSingleAndBulkInserts) {
    std::vector<std::string> shuffled = expectedOrder();
    std::mt19937 random(7);
    std::shuffle(shuffled.begin(), shuffled.end(), random);

    SortedIndex oneByOne;
    for (const std::string& text : shuffled) oneByOne.insert(text);
    EXPECT_EQ(contents(oneByOne), expectedOrder());

    SortedIndex bulk;
    bulk.insertMany(std::vector<std::string>(shuffled.begin(), shuffled.begin() + 8));
    ASSERT_EQ(bulk.size(), 8u);
    bulk.at(0);  // a read between two fills
    bulk.insertMany(std::vector<std::string>(shuffled.begin() + 8, shuffled.end()));
    EXPECT_EQ(contents(bulk), expectedOrder());

    bulk.clear();
    EXPECT_TRUE(bulk.empty());
    bulk.insert("b");
    EXPECT_EQ(contents(bulk), std::vector<std::string>{"b"});
}

TEST(SortedIndex, EqualEntriesKeepInsertionOrderAcrossReads) {
    SortedIndex index;
    index.insert("Love");
    index.insert("zz");
    index.insert("LOVE");
    EXPECT_EQ(index.at(0), "Love");  // merged here; later equal entries go after
    index.insert("love");
    index.insertMany({"LoVe", "aa", "LOVE"});
    EXPECT_EQ(contents(index),
              (std::vector<std::string>{"aa", "Love", "LOVE", "love", "LoVe", "LOVE", "zz"}));
    EXPECT_EQ(index.lowerBound("love"), 1u);
    EXPECT_EQ(index.lowerBound("lovf"), 6u);
    EXPECT_EQ(index.lowerBound("zzz"), 7u);
    EXPECT_EQ(index.lowerBound(""), 0u);
}

TEST(SortedIndex, FindPrefixFindsTheFirstEntryBeginningWithTheText) {
    SortedIndex index;
    index.insertMany(
        tisList({"กข;1", "ก่อน;2", "กา;3", "เกม;4", "Love Song;5", "lovely;6", "Loving;7", "ขา;8"}));
    const auto find = [&](const char* prefix) {
        const std::size_t at = index.findPrefix(tis(prefix));
        return at < index.size() ? cp874ToUtf8(index.at(at)) : std::string("<none>");
    };
    EXPECT_EQ(find("LOVE"), "Love Song;5");
    EXPECT_EQ(find("lovel"), "lovely;6");
    EXPECT_EQ(find("ก่"), "ก่อน;2");  // lies after "กข" and "กา" at the first level
    EXPECT_EQ(find("เก"), "เกม;4");
    EXPECT_EQ(find("เ"), "เกม;4");
    EXPECT_EQ(find("ข"), "ขา;8");
    EXPECT_EQ(find(""), "Love Song;5");
    EXPECT_EQ(find("Lovers"), "<none>");
    EXPECT_EQ(find("ค"), "<none>");
    EXPECT_EQ(find("z"), "<none>");

    EXPECT_TRUE(startsWithIgnoringCase("Love Song", "lOVE"));
    EXPECT_FALSE(startsWithIgnoringCase("Lo", "Love"));
}

TEST(SortedIndex, BulkOrderMatchesPairwiseComparison) {
    // Song-entry shaped texts with mixed scripts, case and punctuation.
    std::vector<std::string> parts = tisList(
        {"love", "LOVE", "Love", "รัก", "เธอ", "ไม่", "ใจ", "a", "1", "(", " ", "-", "ก", "่"});
    std::mt19937 random(11);
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        std::string text;
        const int pieces = 1 + static_cast<int>(random() % 4);
        for (int p = 0; p < pieces; ++p) text += parts[random() % parts.size()];
        texts.push_back(text + ";" + std::to_string(i));
    }
    SortedIndex index;
    index.insertMany(texts);
    ThaiCollator collator;
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
        return collator.less(a, b);
    });
    EXPECT_EQ(contents(index), texts);
}

}  // namespace
}  // namespace dadaz
