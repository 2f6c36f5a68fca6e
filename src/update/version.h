#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dadaz {

// major.minor.revision of a release.
struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// This release.
inline constexpr Version kProgramVersion{5, 3, 138};

// "5.3.138".
std::string versionText(const Version& version);

// The version a version file's first line names: exactly three whole numbers separated by
// ".". Anything else (fewer numbers, a sign, letters, a number too long to be a version)
// names nothing, so a broken file never offers an update.
std::optional<Version> parseVersionLine(std::string_view line);

// True when `offered` is a later release than `own`.
bool isNewer(const Version& offered, const Version& own);

}  // namespace dadaz
