#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "library/folders.h"
#include "library/session_state.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/progress.h"
#include "platform/prompt.h"

namespace dadaz {

// Everything a long run needs from the window (or from the command-line tool).
struct RunContext {
    std::string programFolder;
    Folders folders;
    FileSystem& fs;
    Prompt& prompt;
    ProgressSink& progress;
    Launcher& launcher;
    SessionState& state;
    // Lets pending window events run; the run calls it between files (cheap to call often).
    std::function<void()> pumpEvents = [] {};
    // Busy state of the window: a run enters it with its run name ("Lister", "AddSong",
    // "Rename", "LoadingSongDB", "FindDuplicate") and leaves it on every way out.
    std::function<void(const std::string& runName)> enterBusy = [](const std::string&) {};
    std::function<void()> leaveBusy = [] {};
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
};

}  // namespace dadaz
