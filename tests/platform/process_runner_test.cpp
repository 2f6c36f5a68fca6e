#include "platform/process_runner.h"

#include <gtest/gtest.h>

namespace dadaz {
namespace {

TEST(ProcessRunner, ArgumentsArriveWholeAndTheStatusIsTheProgramsOwn) {
    struct Case {
        std::vector<std::string> argv;
        bool started;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {{"sh", "-c", "printf '[%s]' \"$@\"", "x", "a b", "$HOME", "'q'"},
         true,
         0,
         "[a b][$HOME]['q']"},
        {{"sh", "-c", "exit 7"}, true, 7, ""},
        {{"sh", "-c", "kill -9 $$"}, true, -1, ""},
        {{"/no/such/program"}, false, -1, ""},
    };
    for (const Case& c : cases) {
        const ProcessResult result = runProcess(c.argv, true);
        EXPECT_EQ(result.started, c.started) << c.argv.back();
        EXPECT_EQ(result.exitStatus, c.status) << c.argv.back();
        EXPECT_EQ(result.output, c.output) << c.argv.back();
    }
    EXPECT_EQ(findOnPath("sh").value_or("").substr(0, 1), "/");
    EXPECT_FALSE(findOnPath("no-such-program-here"));
}

}  // namespace
}  // namespace dadaz
