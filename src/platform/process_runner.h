#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

struct ProcessResult {
    bool started = false;
    // The exit status when the program ended by itself; -1 when it was killed by a signal.
    int exitStatus = -1;
    std::string output;  // its standard output, when asked for

    bool succeeded() const { return started && exitStatus == 0; }
};

// Starts `argv[0]` (a path, or a name searched on PATH) with the given arguments, each one
// argument as it is (no shell), and waits for it. Its standard input is empty and its error
// output goes nowhere; its standard output is captured or thrown away. Only this child is
// waited for, so other threads may run programs at the same time and no zombie is left.
ProcessResult runProcess(const std::vector<std::string>& argv, bool captureOutput = false);

// The path of an executable file `name` on the PATH, or nothing.
std::optional<std::string> findOnPath(std::string_view name);

}  // namespace dadaz
