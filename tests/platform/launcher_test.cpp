#include "platform/launcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

// Our child processes, zombies included: the /proc entries whose parent (the field after the
// state, which follows the last ")" of the name) is this process.
int childProcessCount() {
    int count = 0;
    const std::string self = " " + std::to_string(getpid()) + " ";
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
        const std::string afterName = line.substr(line.rfind(')') + 1);  // " S ppid ..."
        if (afterName.size() > 3 && afterName.compare(2, self.size(), self) == 0) ++count;
    }
    return count;
}

// Waits (up to a generous limit, not a speed goal) for what a child brings about.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 1000 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

TEST(SystemLauncher, StartsProgramsWithoutWaitingAndLeavesNoZombies) {
    SystemLauncher launcher;
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(launcher.startProgram("true", {}, true));
    EXPECT_TRUE(eventually([] { return childProcessCount() == 0; }));
    EXPECT_FALSE(launcher.startProgram("no-such-program-dadaz", {}, true));
    EXPECT_FALSE(launcher.startProgram("", {}, false));
    EXPECT_FALSE(launcher.openDocument(""));
}

TEST(SystemLauncher, HiddenProgramsWriteNowhereAndGetEachArgumentWhole) {
    SystemLauncher launcher;
    testing::TempDir dir;
    const std::string report = dir / "report.txt";
    // The shell writes where its own output goes, and its argument with a blank in it.
    const std::string script =
        "out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2); "
        "printf '%s\\n%s\\n%s\\n' \"$out\" \"$err\" \"$1\" > \"$0.part\" && mv \"$0.part\" \"$0\"";
    ASSERT_TRUE(launcher.startProgram("sh", {"-c", script, report, "two words; no shell"}, true));
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(report); }));
    EXPECT_EQ(testing::readBytes(report), "/dev/null\n/dev/null\ntwo words; no shell\n");
}

}  // namespace
}  // namespace dadaz
