#include "platform/codepage.h"

#include <unicode/ucnv.h>

#include <array>
#include <stdexcept>
#include <unordered_map>

namespace dadaz {
namespace {

constexpr char kUnmappable = '?';
// Bytes the converter leaves without a character get a private-use character of their own,
// so that no byte is ever lost on the way through Unicode.
constexpr char16_t kPrivateBase = 0xF700;

// The converter's 256 mappings, taken once: afterwards every conversion is a table look-up,
// which is thread-safe and far cheaper than a converter call per text.
struct Cp874Table {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    Cp874Table() {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open("windows-874-2000", &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU converter windows-874-2000 missing");
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        for (int byte = 0; byte < 256; ++byte) {
            const char in = static_cast<char>(byte);
            UChar out[4];
            status = U_ZERO_ERROR;
            ucnv_reset(converter);
            const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
            char16_t unit = static_cast<char16_t>(kPrivateBase + byte);
            if (U_SUCCESS(status) && length == 1 && out[0] != 0xFFFD &&
                !fromUnicode.contains(out[0])) {
                unit = out[0];
            }
            toUnicode[byte] = unit;
            fromUnicode[unit] = static_cast<unsigned char>(byte);
        }
        ucnv_close(converter);
    }

    char byteFor(char32_t codePoint) const {
        if (codePoint < 0x80) return static_cast<char>(codePoint);
        const auto found = fromUnicode.find(codePoint);
        return found == fromUnicode.end() ? kUnmappable : static_cast<char>(found->second);
    }
};

const Cp874Table& table() {
    static const Cp874Table instance;
    return instance;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at `pos` and advances it. A malformed sequence (overlong, a
// surrogate, cut short) yields kInvalid and consumes one byte, so bad input cannot stall.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kInvalid;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return kInvalid;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kInvalid;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kInvalid;
    }
    pos += extra + 1;
    return cp;
}

}  // namespace

std::string cp874ToUtf8(std::string_view bytes) {
    const Cp874Table& t = table();
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) appendUtf8(out, t.toUnicode[static_cast<unsigned char>(byte)]);
    return out;
}

std::string utf8ToCp874(std::string_view text) {
    const Cp874Table& t = table();
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = decodeUtf8(text, pos);
        out += cp == kInvalid ? kUnmappable : t.byteFor(cp);
    }
    return out;
}

std::u16string cp874ToUtf16(std::string_view bytes) {
    const Cp874Table& t = table();
    std::u16string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) out += t.toUnicode[static_cast<unsigned char>(byte)];
    return out;
}

std::string utf16ToCp874(std::u16string_view text) {
    const Cp874Table& t = table();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;  // a character outside the BMP: one "?" for the pair
            out += kUnmappable;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += kUnmappable;
        } else {
            out += t.byteFor(unit);
        }
    }
    return out;
}

}  // namespace dadaz
