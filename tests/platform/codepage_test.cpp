#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <set>

namespace dadaz {
namespace {

TEST(CodePage, EveryByteSurvivesBothRoundTripsAsACharacterOfItsOwn) {
    std::set<std::u16string> seen;
    std::string all;
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::u16string wide = cp874ToUtf16(byte);
        ASSERT_EQ(wide.size(), 1u) << value;
        EXPECT_TRUE(seen.insert(wide).second) << "two bytes share a character: " << value;
        EXPECT_EQ(utf16ToCp874(wide), byte) << value;
        all += byte;
    }
    EXPECT_EQ(utf8ToCp874(cp874ToUtf8(all)), all);
}

TEST(CodePage, TextConvertsToTheWindowsBytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"รหัสเพลง", "\xC3\xCB\xD1\xCA\xE0\xBE\xC5\xA7"},
        {"Love;ก;\r\n", "Love;\xA1;\r\n"},
        {"€…\u00A0๐๙", "\x80\x85\xA0\xF0\xF9"},
        // Characters outside the code page and malformed UTF-8 become "?", one per character
        // or bad byte; an overlong "/" must not become a separator, nor a cut-off sequence
        // read past the end.
        {"café", "caf?"},
        {"a😀b", "a?b"},
        {"\xFF", "?"},
        {"a\xE0\xB8", "a??"},
        {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"},
    };
    for (const auto& [utf8, bytes] : cases) EXPECT_EQ(utf8ToCp874(utf8), bytes) << utf8;
    EXPECT_EQ(cp874ToUtf8("\xC3\xCB\xD1\xCA\xE0\xBE\xC5\xA7"), "รหัสเพลง");
    EXPECT_EQ(utf16ToCp874(u"ค้นหา 12"), utf8ToCp874("ค้นหา 12"));
    EXPECT_EQ(utf16ToCp874(u"a😀b"), "a?b");
    const char16_t loneSurrogate[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(utf16ToCp874(loneSurrogate), "x?y");
}

}  // namespace
}  // namespace dadaz
