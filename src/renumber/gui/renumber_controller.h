#pragma once

#include <QObject>

#include "renumber/renumber_run.h"

namespace dadaz {

class MainWindow;

// The rename frame fraRename: the coupling of its settings, the folder-name question of the
// pattern box, the start and stop buttons. One per window, a child of it.
class RenumberController : public QObject {
    Q_OBJECT
  public:
    explicit RenumberController(MainWindow& window);

    // The run with the settings the frame holds now.
    RenumberResult start();
    // Completes an interrupted run left in the program folder (the program's start).
    RenumberResult completeInterrupted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    RenumberResult run(RenumberResult (*body)(RunContext&, const RenumberSettings&));
    void customPatternToggled(bool checked);
    void digitCountEdited();
    void askStop();

    MainWindow& window_;
    bool running_ = false;
    bool validating_ = false;
};

// Connects the rename frame and the start-up completion; the program calls it once.
void attachRenumber(MainWindow& window);

}  // namespace dadaz
