#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/caption_frame.h"
#include "shell/progress_bar_widget.h"

namespace dadaz {

// fraRename: digit count, custom pattern and leave-digit options, start and stop of the
// renumbering run and its progress box.
class RenamePanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit RenamePanel(QWidget* parent = nullptr);

    QLineEdit* txtRenameDigit;
    QCheckBox* chkCustomPattern;
    QLineEdit* txtCustomPattern;
    QCheckBox* chkLeaveDigit;
    QLineEdit* txtLeaveDigit;
    // The stop button lies under the start button: hiding the start button uncovers it.
    QPushButton* btnRename;
    QPushButton* btnStopRename;
    QLabel* lblRenameProgress;
    ProgressBarWidget* picRenameProgress;
};

}  // namespace dadaz
