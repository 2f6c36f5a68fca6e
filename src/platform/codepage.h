#pragma once

#include <string>
#include <string_view>

namespace dadaz {

// Text data (lyric files, song lines, player records) stays in Thai code page 874 bytes: one
// byte, one character. These convert for display, typing and collation; every one of the 256
// byte values survives a round trip.
std::string cp874ToUtf8(std::string_view bytes);
std::string utf8ToCp874(std::string_view text);
std::u16string cp874ToUtf16(std::string_view bytes);
std::string utf16ToCp874(std::u16string_view text);

}  // namespace dadaz
