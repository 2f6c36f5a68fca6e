#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(ProgramFolder, BuildFolderStaysAndInstalledLayoutIsRecognised) {
    TempDir root;
    std::filesystem::create_directories(root / "build/src");
    writeBytes(root / "usr/share/metainfo/" + std::string(kAppId) + ".metainfo.xml", "<x/>");
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "other/bin");
    EXPECT_FALSE(runsFromInstalledLocation(root / "build/src"));
    EXPECT_TRUE(runsFromInstalledLocation(root / "usr/bin"));
    // A bin/ of its own without an install beside it is still a build.
    EXPECT_FALSE(runsFromInstalledLocation(root / "other/bin"));

    std::string error;
    EXPECT_EQ(defaultProgramFolder(root / "build/src", error), root / "build/src");
}

TEST(ProgramFolder, UserDataFolderFollowsXdgThenHome) {
    struct Case {
        const char* xdg;
        const char* home;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {nullptr, "/home/a", "/home/a/.local/share/DADAzarEdizuda"},
        {"/data", "/home/a", "/data/DADAzarEdizuda"},
        {"relative", "/home/a", "/home/a/.local/share/DADAzarEdizuda"},
        {"", "", std::nullopt},
        {nullptr, "home", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(userDataProgramFolder(c.xdg, c.home), c.folder) << (c.home ? c.home : "-");
}

}  // namespace
}  // namespace dadaz
