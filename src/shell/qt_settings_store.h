#pragma once

#include <QString>

#include "platform/settings_store.h"

namespace dadaz {

// Settings in an INI file in the user's configuration folder, named after the executable
// (organisation and application both), one group per section.
class QtSettingsStore : public SettingsStore {
  public:
    // `applicationName` empty: the executable's file name without extension.
    explicit QtSettingsStore(QString applicationName = {});
    void writeString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::optional<std::string> readString(const std::string& section,
                                          const std::string& key) const override;
    // Where the file lies (for tests and for the user).
    QString fileName() const;

  private:
    QString applicationName_;
};

}  // namespace dadaz
