#pragma once

#include <string>
#include <vector>

#include "platform/launcher.h"

namespace dadaz::testing {

// Records what would have been opened or started.
class RecordingLauncher : public Launcher {
  public:
    struct Call {
        std::string program;  // the document for openDocument
        std::vector<std::string> args;
        bool hidden = false;
        bool document = false;
    };
    bool openDocument(const std::string& path) override {
        calls.push_back({path, {}, false, true});
        return true;
    }
    bool startProgram(const std::string& program, const std::vector<std::string>& args,
                      bool hidden) override {
        calls.push_back({program, args, hidden, false});
        return true;
    }
    std::vector<Call> calls;
};

}  // namespace dadaz::testing
