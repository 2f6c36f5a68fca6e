#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QWidget>
#include <QtTest>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/settings_store.h"
#include "support/scripted_prompt.h"

namespace dadaz::testing {

// Records what the window writes to the settings store, in order; a read gives the last
// value written to the key.
class RecordingSettings : public SettingsStore {
  public:
    void writeString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        writes.emplace_back(section, key, value);
    }
    std::optional<std::string> readString(const std::string& section,
                                          const std::string& key) const override {
        for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
            if (std::get<0>(*write) == section && std::get<1>(*write) == key) {
                return std::get<2>(*write);
            }
        }
        return std::nullopt;
    }
    std::vector<std::tuple<std::string, std::string, std::string>> writes;
};

// The control of that name under `root` (null when missing).
template <typename Control>
Control* control(QWidget* root, const char* name) {
    return root->findChild<Control*>(QString::fromLatin1(name));
}

// The named controls under `root` that a user can click or type into now: enabled, showing,
// not covered by another control at their centre, and not a read-only box. Sorted by name.
inline QStringList clickableControls(QWidget* root) {
    static const QRegularExpression kControl(QStringLiteral("^(btn|rad|chk|txt|lst|cbo)"));
    QStringList names;
    for (QWidget* w : root->findChildren<QWidget*>(kControl)) {
        if (!w->isEnabled() || !w->isVisible()) continue;
        if (auto* box = qobject_cast<QLineEdit*>(w); box && box->isReadOnly()) continue;
        if (auto* area = qobject_cast<QPlainTextEdit*>(w); area && area->isReadOnly()) continue;
        QWidget* hit = w->window()->childAt(w->mapTo(w->window(), w->rect().center()));
        if (hit == w || w->isAncestorOf(hit)) names << w->objectName();
    }
    names.sort();
    return names;
}

// Fails the running test when the prompt saw a question it did not expect, or was left with
// scripted questions nobody asked.
inline void checkPrompt(const ScriptedPrompt& prompt) {
    for (const std::string& m : prompt.mismatches()) qWarning("%s", m.c_str());
    QVERIFY(prompt.mismatches().empty());
    QVERIFY(prompt.finished());
}

inline QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace dadaz::testing
