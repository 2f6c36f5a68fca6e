#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "shell/caption_frame.h"
#include "shell/song_line_list.h"

namespace dadaz {

// fraSongSearch: the search box and its options, the result list with its paging, the song's
// lyric with the lyric editor, and the song operation buttons.
class SongSearchPanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit SongSearchPanel(QWidget* parent = nullptr);

    QLineEdit* txtSongSearch;
    QCheckBox* chkSearchAll;
    QCheckBox* chkSearchLyric;
    QPushButton* btnCancelSearch;
    QComboBox* cboArtist;
    SongLineList* lstSongSearch;  // the first result list; the second one is not shown
    QLabel* lblSongSearchResult;
    QLineEdit* txtLoadingSong;
    QPushButton* btnPreviousPage;
    QLabel* lblPage;
    QPushButton* btnNextPage;

    QPlainTextEdit* txtSongContent;
    QListWidget* lstSongContent;
    QLineEdit* txtEditLyric;
    QPushButton* btnAcceptEdit;
    QLineEdit* txtBeforeEdit;  // also the playing position
    QLineEdit* txtAfterEdit;   // also the playing song's length
    QPushButton* btnCancelEdit;
    QPushButton* btnLyricSave;

    QPushButton* btnPlaySong;
    QPushButton* btnStopSong;
    QPushButton* btnEditLyric;
    QPushButton* btnReplaceSong;
    QPushButton* btnMoveSong;
    QPushButton* btnDeleteSong;
    QPushButton* btnExportSong;
    QPushButton* btnAddSelectList;
    QPushButton* btnOpenSelectList;
    QCheckBox* chkConfirmRemove;
};

}  // namespace dadaz
