#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <set>

namespace dadaz {
namespace {

TEST(CodePage, EveryByteSurvivesBothRoundTrips) {
    std::set<std::u16string> seen;
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::u16string wide = cp874ToUtf16(byte);
        ASSERT_EQ(wide.size(), 1u) << value;
        EXPECT_TRUE(seen.insert(wide).second) << "two bytes share a character: " << value;
        EXPECT_EQ(utf16ToCp874(wide), byte) << value;
        EXPECT_EQ(utf8ToCp874(cp874ToUtf8(byte)), byte) << value;
    }
    std::string all;
    for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
    EXPECT_EQ(utf8ToCp874(cp874ToUtf8(all)), all);
}

TEST(CodePage, ThaiAndSpecialCharactersMapToTheirBytes) {
    // "รหัสเพลง" (song code)
    const std::string thaiBytes = "\xC3\xCB\xD1\xCA\xE0\xBE\xC5\xA7";
    EXPECT_EQ(utf8ToCp874("รหัสเพลง"), thaiBytes);
    EXPECT_EQ(cp874ToUtf8(thaiBytes), "รหัสเพลง");
    EXPECT_EQ(cp874ToUtf16(thaiBytes), u"รหัสเพลง");
    EXPECT_EQ(utf16ToCp874(u"ค้นหาพบ 12 เพลง"), utf8ToCp874("ค้นหาพบ 12 เพลง"));

    EXPECT_EQ(cp874ToUtf8("\x80"), "€");
    EXPECT_EQ(cp874ToUtf8("\x85"), "…");
    EXPECT_EQ(cp874ToUtf8("\xA0"), "\u00A0");
    EXPECT_EQ(cp874ToUtf8("\xF0\xF9"), "๐๙");  // Thai digits
    EXPECT_EQ(utf8ToCp874("Love;ก;\r\n"), "Love;\xA1;\r\n");
}

TEST(CodePage, UnmappableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp874("café"), "caf?");
    EXPECT_EQ(utf8ToCp874("a😀b"), "a?b");  // one mark for a four-byte character
    EXPECT_EQ(utf16ToCp874(u"a😀b"), "a?b");
    EXPECT_EQ(utf8ToCp874("\xFF"), "?");
    EXPECT_EQ(utf8ToCp874("a\xE0\xB8"), "a??");     // cut short at the end: no read past it
    EXPECT_EQ(utf8ToCp874("\xC0\xAF"), "??");       // overlong "/" must not become a separator
    EXPECT_EQ(utf8ToCp874("\xED\xA0\x80"), "???");  // an encoded surrogate
    const char16_t loneSurrogate[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(utf16ToCp874(loneSurrogate), "x?y");
    EXPECT_EQ(utf8ToCp874(""), "");
}

}  // namespace
}  // namespace dadaz
