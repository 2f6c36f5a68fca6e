#pragma once

#include <optional>
#include <string>

namespace dadaz {

// Per-user settings; the window code backs this with an INI file. The four library folders
// are only written (they are detected afresh at every start); other settings, such as the
// DOS drive table, are read back.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual void writeString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Nothing when the key was never written.
    virtual std::optional<std::string> readString(const std::string& section,
                                                  const std::string& key) const = 0;
};

}  // namespace dadaz
