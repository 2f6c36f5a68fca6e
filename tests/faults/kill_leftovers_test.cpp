// What a killed run leaves half written in a folder goes with the next write there; what
// another running program is still writing, or any other file, stays.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace {

using dadaz::testing::TempDir;
using dadaz::testing::writeBytes;

struct Leftover {
    const char* name;
    bool lockedByWriter;
    bool removed;
};

TEST(KillLeftovers, NextWriteIntoTheFolderRemovesOnlyDeadRunsCopies) {
    const Leftover leftovers[] = {
        {".dadaz-0123456789abcdef.tmp", false, true},
        {".dadaz-fedcba9876543210.tmp", true, false},
        {".dadaz-keep.tmp", false, false},
        {"30001.TMP", false, false},
    };
    TempDir dir;
    for (const Leftover& l : leftovers) writeBytes(dir / l.name, "half");
    const int writer = ::open((dir / leftovers[1].name).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    dadaz::FileSystem fs;
    ASSERT_EQ(fs.listFiles(dir.path()).size(), std::size(leftovers));  // indexed before
    ASSERT_TRUE(fs.writeFileAtomic(dir / "SongList.txt", "new"));
    ::close(writer);

    std::vector<std::string> listed;
    for (const auto& entry : fs.listFiles(dir.path())) listed.push_back(entry.name);
    for (const Leftover& l : leftovers) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(::access((dir / l.name).c_str(), F_OK) != 0, l.removed);
        EXPECT_EQ(std::count(listed.begin(), listed.end(), l.name), l.removed ? 0 : 1);
    }
    EXPECT_EQ(dadaz::testing::readBytes(dir / "SongList.txt"), "new");
}

}  // namespace
