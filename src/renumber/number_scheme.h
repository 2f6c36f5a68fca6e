#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dadaz {

// The rename frame's settings as their boxes hold them when a run starts.
struct RenumberSettings {
    std::string digitText = "6";         // txtRenameDigit
    bool customPattern = false;          // chkCustomPattern
    std::string patternText = "000000";  // txtCustomPattern
    bool leaveDigit = false;             // chkLeaveDigit
    std::string leaveText = "3";         // txtLeaveDigit
    bool folderNameFirst = true;
};

// Longest digit count accepted: a new name must stay within the file system's 255 bytes.
constexpr int kMaxDigitCount = 200;

// The digit count of a box text: a whole number from 1 to kMaxDigitCount (blanks around it
// allowed), else nothing.
std::optional<int> parseDigitCount(std::string_view text);
// Whether a text is a plain number (the pattern box holding only digits).
bool isNumericText(std::string_view text);

// How new codes are made: the counter written with `width` digits, and what stands before.
struct NumberScheme {
    enum class Mode { Plain, Custom, Leave } mode = Mode::Plain;
    int digitCount = 6;
    std::size_t width = 5;
    // Largest counter the width holds (10^width - 1; saturates for very wide counters).
    std::uint64_t capacity = 99999;
    std::string letters;  // custom pattern: the pattern without its trailing zeros
    bool folderNameFirst = true;
    std::size_t leave = 0;  // leave-digit: characters kept of the old code

    // Stem length pass 3 accepts: the digit count, one more in custom-pattern mode.
    std::size_t validLength() const;
    // The new stem of the song `oldStem` in first-character folder `folder` with counter n;
    // nothing when the old stem is shorter than the characters it should keep.
    std::optional<std::string> newStem(std::string_view folder, std::string_view oldStem,
                                       std::uint64_t n) const;
};

// Why settings cannot make a scheme.
enum class SchemeProblem { None, DigitCount, LeaveCount, InvalidPattern };

struct SchemeResult {
    NumberScheme scheme;
    SchemeProblem problem = SchemeProblem::None;
};

// Derives the number format, capacity and pattern letters. In custom-pattern mode only the
// trailing run of zeros counts; letters holding a digit, or a character that cannot stand
// in a file name, make the pattern invalid.
SchemeResult deriveScheme(const RenumberSettings& settings);

}  // namespace dadaz
