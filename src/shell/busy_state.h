#pragma once

#include <QWidget>
#include <span>
#include <string>

namespace dadaz {

// The main window's busy state during a long run: entering it disables nearly every control
// and shows the run's own progress box; leaving it returns the window to idle. Driven by
// tables of control names per run name ("AddSong", "Rename", "Lister", "LoadingSongDB",
// "FindDuplicate"). Not nested: a run started inside another enters and leaves on its own,
// and the outer run's leaving once more changes nothing. A control no feature has attached
// to stays disabled whatever the tables say (ControlHold).
class BusyState {
  public:
    explicit BusyState(QWidget* window) : window_(window) {}

    void enter(const std::string& runName);
    void leave();

    bool busy() const { return busy_; }
    // The run name kept while busy (and after, until the next run).
    const std::string& runName() const { return runName_; }

  private:
    QWidget* control(const char* name) const;
    void setEnabled(std::span<const char* const> names, bool enabled) const;
    void setVisible(std::span<const char* const> names, bool visible) const;
    bool isChecked(const char* name) const;

    QWidget* window_;
    bool busy_ = false;
    std::string runName_;
};

}  // namespace dadaz
