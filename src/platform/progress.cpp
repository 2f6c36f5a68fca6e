#include "platform/progress.h"

namespace dadaz {

std::string formatCount(long long value) {
    // The magnitude as unsigned, so that the most negative value has one too.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) reversed += ',';
        reversed += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (value < 0) reversed += '-';
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string progressText(const std::string& text, long done, long total) {
    if (total == 0) return text + "0 %";
    // Whole numbers throughout: a floating quotient would show 28 % for 29 of 100, and
    // done * 100 may not fit a long for very large counts.
    __extension__ using Wide = __int128;
    const Wide scaled = static_cast<Wide>(done) * 100;
    Wide quotient = scaled / total;
    // The whole part of a negative ratio rounds towards minus infinity.
    if (scaled % total != 0 && ((scaled < 0) != (total < 0))) --quotient;
    // With done far above total the result may exceed a long long: spell the digits out.
    const bool negative = quotient < 0;
    std::string digits;
    do {
        const auto digit = static_cast<int>(quotient % 10);
        digits.insert(digits.begin(), static_cast<char>('0' + (negative ? -digit : digit)));
        quotient /= 10;
    } while (quotient != 0);
    return text + (negative ? "-" : "") + digits + " %";
}

}  // namespace dadaz
