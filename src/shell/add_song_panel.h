#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "shell/caption_frame.h"
#include "shell/progress_bar_widget.h"

namespace dadaz {

// fraAddSong: source folder, target first-character folder and naming of new songs, the add
// button and the run's progress box.
class AddSongPanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit AddSongPanel(QWidget* parent = nullptr);

    QLabel* lblAddSong;
    QLineEdit* txtAddSong;
    QPushButton* btnBrowseNewSong;
    QLabel* lblSelectFolder;
    QRadioButton* radAutoSelect;
    QRadioButton* radManualSelect;
    QRadioButton* radFromFileSelect;
    QLineEdit* txtFolderSelect;
    QCheckBox* chkManualConfig;
    QLineEdit* txtFirstFileName;
    QLineEdit* txtLastFileName;
    QPushButton* btnAddSong;
    QLabel* lblAddSongProgress;
    ProgressBarWidget* picAddSongProgress;
};

}  // namespace dadaz
