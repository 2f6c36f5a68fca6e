#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dadaz {

class FileSystem;

// Where new songs go: the first-character folder with the fewest files, a folder the user
// names, or each song under its own name in the folder of its first character.
enum class AddTarget { Automatic, Manual, KeepNames };

// What the custom-pattern check box suggests for the prefix box and the pattern box. No
// prefix means the box keeps its text (nothing could be suggested).
struct PatternSuggestion {
    std::optional<std::string> prefix;
    std::string pattern;
};

// The suggestion: the automatic target takes the first MIDI sub-folder (in listing order)
// with the fewest files; the user-defined target the folder `manualFolder`. The code length
// is that of the first file listed in that MIDI sub-folder, less its extension; the pattern
// has one "0" fewer than that, as the prefix takes the first place.
PatternSuggestion suggestPattern(const FileSystem& fs, const std::string& midiFolder,
                                 AddTarget target, const std::string& manualFolder);

// The pattern the run formats numbers with: the custom pattern as typed, otherwise one "0" per
// character of the pattern box, with six more in front when that gives fewer than three.
std::string runDigitPattern(bool customPattern, std::string_view patternBox);
// A number in a pattern of zeros: padded with leading zeros, never cut (151 in "00000" gives
// "00151", 1234567 gives "1234567").
std::string formatNumber(long long number, std::string_view pattern);
// Whether a pattern holds nothing but "0".
bool isZeroPattern(std::string_view pattern);

}  // namespace dadaz
