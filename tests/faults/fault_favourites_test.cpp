#include <gtest/gtest.h>

#include "fault_sweep.h"
#include "operations/favourites.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// Whatever call fails, the favourites list is the old one or the old one plus the song, and
// an add that did not happen shows the critical message.
TEST(FavouritesFaults, EachCallOfAnAddKeepsTheListOldOrNew) {
    struct Case {
        const char* name;
        const char* stored;  // nullptr: no list yet
    };
    const std::string longList(40000, 'x');
    const Case cases[] = {
        {"no list yet", nullptr},
        {"a list without a last line end", "header\r\n10001;old;artist;C"},
        {"a long list", longList.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultCase faultCase;
        faultCase.makeLibrary = [&](const std::string& programFolder) {
            writeBytes(programFolder + "/SONG/1/10002.MID", "MThd");
            if (c.stored) writeBytes(programFolder + "/SelectSong.txt", c.stored);
        };
        faultCase.run = [](const std::string& programFolder) {
            FileSystem fs;
            FavouritesFile file(fs, programFolder);
            const FavouriteAdd added = file.add("10002;new song;artist;D");
            // Added again by the second run: already chosen.
            return RunOutcome{added != FavouriteAdd::Failed,
                              favouriteAddMessage(added, file.path()).text};
        };
        faultCase.extraChecks = [](const std::string&, const RunOutcome& outcome) {
            std::vector<std::string> problems;
            if (!outcome.success && outcome.message.find("SelectSong.txt") == std::string::npos)
                problems.push_back("the failure does not name the list: " + outcome.message);
            return problems;
        };
        faultCase.rewritten = [](const std::string& path) { return path == "SelectSong.txt"; };
        faultCase.oldOrNew = {"SelectSong.txt"};
        EXPECT_GT(sweepFaults(faultCase), 3u);
    }
}

}  // namespace
}  // namespace dadaz::testing
