#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/codepage.h"

namespace dadaz {
namespace {

using Texts = std::vector<std::string>;

Texts tis(std::initializer_list<const char*> texts) {
    Texts out;
    for (const char* text : texts) out.push_back(utf8ToCp874(text));
    return out;
}

Texts contents(const SortedIndex& index) {
    Texts out;
    for (std::size_t i = 0; i < index.size(); ++i) out.push_back(index.at(i));
    return out;
}

// The players' list order: punctuation, digits, Latin (case ignored, blanks and punctuation
// counting), then Thai, a leading vowel under the consonant after it and a tone mark weighing
// less than a following letter.
const Texts kOrder = tis({"(intro)", "123",     "9",      "a b",   "a-b", "ab",  "Love",
                          "Love me", "love-me", "lovely", "Zebra", "ก",   "กา",  "เกม",
                          "แก",      "ไก่",      "ขา",     "ข่า",    "ขาว", "ข้าว", "ค"});

TEST(ThaiCollator, OrdersAsThePlayersListsAndIgnoresOnlyCase) {
    ThaiCollator collator;
    for (std::size_t i = 0; i + 1 < kOrder.size(); ++i) {
        const std::string trace = cp874ToUtf8(kOrder[i]) + " / " + cp874ToUtf8(kOrder[i + 1]);
        EXPECT_LT(collator.compare(kOrder[i], kOrder[i + 1]), 0) << trace;
        EXPECT_LT(collator.sortKey(kOrder[i]), collator.sortKey(kOrder[i + 1])) << trace;
    }
    EXPECT_EQ(collator.compare("Love", "LOVE"), 0);
    EXPECT_EQ(collator.sortKey("Love"), collator.sortKey("LOVE"));
    EXPECT_EQ(collator.compare(utf8ToCp874("๑๒"), "12"), 0);  // Thai digits with the Latin ones
    EXPECT_NE(collator.compare("\xFC", "\xFD"), 0);  // bytes without a character still differ
}

TEST(SortedIndex, KeepsEqualEntriesInInsertionOrderAcrossReads) {
    SortedIndex index;
    index.insert("Love");
    index.insert("zz");
    index.insert("LOVE");
    EXPECT_EQ(index.at(0), "Love");  // merged here; later equal entries go after
    index.insert("love");
    index.insertMany({"LoVe", "aa", "LOVE"});
    EXPECT_EQ(contents(index), (Texts{"aa", "Love", "LOVE", "love", "LoVe", "LOVE", "zz"}));
    EXPECT_EQ(index.lowerBound("love"), 1u);
    EXPECT_EQ(index.lowerBound("lovf"), 6u);
    EXPECT_EQ(index.lowerBound("zzz"), 7u);
    index.clear();
    EXPECT_TRUE(index.empty());
}

TEST(SortedIndex, FindPrefixFindsTheFirstEntryBeginningWithTheText) {
    SortedIndex index;
    index.insertMany(tis(
        {"กข;1", "ก่อน;2", "กา;3", "เกม;4", "Love Song;5", "lovely;6", "Loving;7", "ขา;8", "นํา;9"}));
    const std::pair<const char*, const char*> cases[] = {
        {"LOVE", "Love Song;5"},
        {"lovel", "lovely;6"},
        {"ก่", "ก่อน;2"},  // after กข, กา
        {"เก", "เกม;4"},
        {"เ", "เกม;4"},
        {"ข", "ขา;8"},
        {"นํ", "นํา;9"},  // nikhahit, which weighs with the vowel after it
        {"", "Love Song;5"},
        {"Lovers", ""},
        {"ค", ""},
        {"z", ""},
    };
    for (const auto& [prefix, expected] : cases) {
        const std::size_t at = index.findPrefix(utf8ToCp874(prefix));
        EXPECT_EQ(at < index.size() ? cp874ToUtf8(index.at(at)) : "", expected) << prefix;
    }
}

TEST(SortedIndex, RandomEntriesSortAndFindAsComparisonAndAScanDo) {
    const Texts parts = tis({"love", "LOVE", "รัก", "เธอ", "ไม่", "ใจ", "a", "1", "(", " ", "-", "ก",
                             "่", "ํ", "า", "ุ", "ฺ", "ฤๅ"});
    std::mt19937 random(11);
    Texts texts;
    for (int i = 0; i < 400; ++i) {
        std::string text;
        for (int p = 0, pieces = 1 + static_cast<int>(random() % 4); p < pieces; ++p)
            text += parts[random() % parts.size()];
        texts.push_back(text + ";" + std::to_string(i));
    }
    SortedIndex index;
    index.insertMany(texts);
    ThaiCollator collator;
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
        return collator.less(a, b);
    });
    ASSERT_EQ(contents(index), texts);
    for (const std::string& text : texts) {
        for (std::size_t length = 1; length < text.find(';'); ++length) {
            const std::string prefix = text.substr(0, length);
            const auto first = std::find_if(texts.begin(), texts.end(), [&](const std::string& t) {
                return startsWithIgnoringCase(t, prefix);
            });
            ASSERT_EQ(index.findPrefix(prefix), static_cast<std::size_t>(first - texts.begin()))
                << cp874ToUtf8(prefix);
        }
    }
}

}  // namespace
}  // namespace dadaz
