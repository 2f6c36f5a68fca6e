#pragma once

#include <string>

#include "library/session_state.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"

namespace dadaz {

// What the panels of the main window share: the program folder and the window's services.
// The window owns it and may swap a service (tests put in a scripted prompt).
struct ShellContext {
    std::string programFolder;
    FileSystem* fs = nullptr;
    Prompt* prompt = nullptr;
    SettingsStore* settings = nullptr;
    Launcher* launcher = nullptr;
    SessionState* state = nullptr;
};

}  // namespace dadaz
