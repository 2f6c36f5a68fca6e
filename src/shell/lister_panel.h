#pragma once

#include <QLabel>
#include <QPushButton>

#include "shell/caption_frame.h"
#include "shell/progress_bar_widget.h"

namespace dadaz {

// fraLister: start and stop of the song list run, its progress box and current-song line.
class ListerPanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit ListerPanel(QWidget* parent = nullptr);

    QLabel* lblLister;
    // The stop button lies under the start button: hiding the start button uncovers it.
    QPushButton* btnLister;
    QPushButton* btnStopLister;
    // Prints SongList.txt as a PDF song book.
    QPushButton* btnSongBook;
    QLabel* lblListerProgress;
    ProgressBarWidget* picListerProgress;
    QLabel* lblOperate;
    QLabel* lblCurrentSong;
};

}  // namespace dadaz
