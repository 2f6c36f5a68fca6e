#include <gtest/gtest.h>

#include "fault_sweep.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// The building blocks every run uses: whatever call fails, the old file stays whole or the
// new one is complete, and nothing half-made is left under a final name.
TEST(FileSystemFaults, EachCallOfWritesCopiesAndMovesFailsSafely) {
    struct Step {
        const char* name;
        std::function<bool(FileSystem&, const std::string&)> run;
        std::vector<std::string> oldOrNew;
    };
    const Step steps[] = {
        {"write over",
         [](FileSystem& fs, const std::string& root) {
             return fs.writeFileAtomic(root + "/SongList.txt", std::string(200000, 'n'));
         },
         {"SongList.txt"}},
        {"copy over",
         [](FileSystem& fs, const std::string& root) {
             return fs.copyFile(root + "/SONG/1/10001.MID", root + "/SONG/1/10002.mid");
         },
         {"SONG/1/10002.MID"}},
        {"move",
         [](FileSystem& fs, const std::string& root) {
             return fs.moveFile(root + "/SONG/1/10001.MID", root + "/SONG/1/10003.MID");
         },
         {"SONG/1/10001.MID", "SONG/1/10003.MID"}},
        {"folder and delete",
         [](FileSystem& fs, const std::string& root) {
             return fs.createFolder(root + "/Moved") &&
                    fs.deleteFile(root + "/SONG/1/10002.MID", true);
         },
         {"SONG/1/10002.MID"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        FaultCase faultCase;
        faultCase.makeLibrary = [](const std::string& root) {
            writeBytes(root + "/SongList.txt", "old list\r\n");
            writeBytes(root + "/SONG/1/10001.MID", std::string(300000, 'a'));
            writeBytes(root + "/SONG/1/10002.MID", "old");
        };
        faultCase.run = [&](const std::string& root) {
            FileSystem fs;
            return RunOutcome{step.run(fs, root), {}};
        };
        faultCase.rewritten = [](const std::string& path) { return path != "SONG/1/10001.MID"; };
        faultCase.oldOrNew = step.oldOrNew;
        faultCase.runTwice = false;
        EXPECT_GT(sweepFaults(faultCase), 0u);
    }
}

}  // namespace
}  // namespace dadaz::testing
