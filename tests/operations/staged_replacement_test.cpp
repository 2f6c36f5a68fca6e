#include "operations/staged_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;

// The second staged copy vanishes: the first target, already replaced, gets its old file back.
TEST(StagedReplacementTest, ARenameThatFailsPutsBackWhatWasReplaced) {
    for (auto swap : {StagedReplacement::Swap::Exchange, StagedReplacement::Swap::MoveAside}) {
        testing::TempDir dir;
        writeBytes(dir / "new/A.MID", "new midi");
        writeBytes(dir / "new/A.LYR", "new lyric");
        writeBytes(dir / "SONG/1/1.MID", "old midi");
        writeBytes(dir / "LYRICS/1/1.LYR", "old lyric");
        FileSystem fs;
        for (bool fail : {true, false}) {
            StagedReplacement staged(fs, swap);
            ASSERT_TRUE(staged.stage(dir / "new/A.MID", dir / "SONG/1", "1.MID"));
            ASSERT_TRUE(staged.stage(dir / "new/A.LYR", dir / "LYRICS/1", "1.lyr"));
            if (fail) {
                for (const auto& e : std::filesystem::directory_iterator(dir / "LYRICS/1"))
                    if (e.path().filename().string().starts_with(".")) remove(e.path());
            }
            EXPECT_EQ(staged.commit(), fail ? StagedReplacement::Result::Unchanged
                                            : StagedReplacement::Result::Replaced);
            EXPECT_EQ(readBytes(dir / "SONG/1/1.MID"), fail ? "old midi" : "new midi");
            EXPECT_EQ(readBytes(dir / "LYRICS/1/1.LYR"), fail ? "old lyric" : "new lyric");
            for (const char* folder : {"SONG/1", "LYRICS/1"})
                EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / folder), {}), 1);
        }
    }
}

}  // namespace
}  // namespace dadaz
