#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "shell/caption_frame.h"
#include "shell/progress_bar_widget.h"

namespace dadaz {

// fraFindDuplicate: the criterion, the search button, the marked result list with its counts,
// the lyric of the clicked song, and the review buttons.
class FindDuplicatePanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit FindDuplicatePanel(QWidget* parent = nullptr);

    QRadioButton* radFindSong;
    QRadioButton* radFindSongArtist;
    QRadioButton* radFindSongMidi;
    QRadioButton* radFindAll;
    QPushButton* btnFindDuplicate;
    QLabel* lblSearchResult;
    QLabel* lblResultCounter;
    QLabel* lblSelected;
    QLabel* lblSelectedCount;
    QListWidget* lstSearchResult;  // a click toggles a line's mark
    ProgressBarWidget* picRemoveDuplicate;
    QPlainTextEdit* txtLyricContent;
    QPushButton* btnPlayMIDI;
    QPushButton* btnStopMIDI;
    QPushButton* btnSaveSelect;
    QPushButton* btnClear;
    QPushButton* btnDeleteFile;
    QPushButton* btnMoveFile;
    QPushButton* btnShowNewWindow;
};

}  // namespace dadaz
