#pragma once

#include <QObject>
#include <string>

#include "addsong/add_options.h"

namespace dadaz {

class AddSongPanel;
class MainWindow;

// The add panel fraAddSong: the three targets, the custom-pattern check box and its
// suggestion, the source folder picker, the pattern length check and the add run. One per
// window, a child of it.
class AddSongController : public QObject {
    Q_OBJECT
  public:
    explicit AddSongController(MainWindow& window);

    // The pattern as it was when txtLastFileName got the focus.
    const std::string& addDigitPattern() const { return addDigitPattern_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    AddTarget target() const;
    void selectTarget(AddTarget target);
    // Checks and then unchecks chkManualConfig; each change runs its action.
    void pulseManualConfig();
    void manualConfigChanged(bool checked);
    void browse();
    void start();
    // Leaving txtLastFileName: false when the pattern's length changed (automatic target).
    bool patternLengthKept();

    MainWindow& window_;
    AddSongPanel& panel_;
    std::string addDigitPattern_;
    bool refocusing_ = false;
};

// Connects the add panel's controls; the program calls it once for its window.
void attachAddSong(MainWindow& window);

}  // namespace dadaz
