#pragma once

#include <string>

namespace dadaz {

// Per-user settings. The program only writes them (the folders are detected afresh at every
// start); the window code backs this with an INI file.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual void writeString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

}  // namespace dadaz
