#include "shell/control_hold.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace dadaz {

namespace {

// The window's controls carry their kind in their name; the parts Qt builds inside a
// control (a list's scroll bars, a combo box's pop-up) do not.
bool namedControl(const QWidget* widget) {
    const QString name = widget->objectName();
    for (const char* kind : {"btn", "rad", "chk", "txt", "lst", "cbo"})
        if (name.startsWith(QLatin1String(kind))) return true;
    return false;
}

bool actsOnInput(const QWidget* widget) {
    if (auto* box = qobject_cast<const QLineEdit*>(widget)) return !box->isReadOnly();
    if (auto* area = qobject_cast<const QPlainTextEdit*>(widget)) return !area->isReadOnly();
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr;
}

}  // namespace

void ControlHold::holdControls(QWidget* root) {
    for (QWidget* control : root->findChildren<QWidget*>()) {
        if (!namedControl(control) || !actsOnInput(control) || held(control)) continue;
        made_[control] = control->isEnabled();
        control->setEnabled(false);
        control->installEventFilter(this);
    }
}

void ControlHold::attach(QWidget* control) {
    const auto found = made_.find(control);
    if (found == made_.end()) return;
    const bool enabled = found->second;
    made_.erase(found);
    control->removeEventFilter(this);
    control->setEnabled(enabled);
}

bool ControlHold::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        auto* control = static_cast<QWidget*>(watched);
        if (held(control) && control->isEnabled()) control->setEnabled(false);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace dadaz
