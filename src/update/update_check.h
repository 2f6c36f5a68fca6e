#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/launcher.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "update/download.h"
#include "update/version.h"

namespace dadaz {

// Files of the update check, in the program folder. The package is a Debian package, so the
// desktop opens it with the system's package installer.
inline constexpr const char* kVersionFileName = "vaz_izurev.txt";
inline constexpr const char* kPackageFileName = "vaz_izurev.deb";

inline constexpr DownloadLimits kVersionFileLimits{1024, std::chrono::seconds(5)};
inline constexpr DownloadLimits kPackageLimits{500ull << 20, std::chrono::seconds(60)};

// The maker's web server from the setting UpdateServer in [Option], without a trailing "/";
// nothing when it is not set or is not an http or https address.
std::optional<std::string> updateServer(const SettingsStore& settings);
std::string versionFileUrl(const std::string& server);
std::string packageUrl(const std::string& server);

// What a downloaded version file says about this release.
struct VersionFileVerdict {
    enum class Kind { Newer, Current, Unreadable } kind = Kind::Unreadable;
    Version offered;
    std::string reason;  // Unreadable only
};
VersionFileVerdict readVersionFile(const std::string& path, const Version& own = kProgramVersion);

// The messages of the check.
std::string downloadQuestion(const Version& own, const Version& offered);
std::string downloadFailedMessage(const std::string& reason);
inline constexpr const char* kInstallTitle = "Install Update...";
std::string installQuestion();

// At closing with a downloaded package: asks, and on Yes hands the package to the desktop.
// True when it was handed over and the program may end; a package that cannot be opened is
// reported and the program goes on, as after a No.
bool offerInstall(Prompt& prompt, Launcher& launcher, const std::string& programFolder);

}  // namespace dadaz
