#pragma once

#include <QObject>
#include <QWidget>
#include <unordered_map>

namespace dadaz {

// Keeps the controls of the mode panels disabled until a feature attaches to them, so that
// nothing a user can click or type into does nothing. While held, a control stays disabled
// whoever enables it (the busy state leaving a run, a panel, another feature); attaching
// gives it back the state its panel made it with. Features attach at start, before any run.
class ControlHold : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // Holds every control under `root` that a user can act on: the named buttons, option
    // buttons, check boxes, lists, combo boxes and text boxes that take typing. Read-only
    // boxes only show text and stay as they are.
    void holdControls(QWidget* root);
    void attach(QWidget* control);
    bool held(const QWidget* control) const { return made_.contains(control); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Held controls and whether their panel made them enabled.
    std::unordered_map<const QWidget*, bool> made_;
};

}  // namespace dadaz
