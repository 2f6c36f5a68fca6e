#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "duplicates/duplicate_search.h"
#include "operations/song_removal.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace dadaz {

class MainWindow;
class Mci;
class ProgressBarWidget;
class ResultWindowPlayer;

// frmFindDuplicate: a copy of the duplicate results, marks included, over the main window,
// always on top, with its own lyric box, playback, save and removal. Its removals set the
// main window's songsRemoved but leave the main window's list as it is; its marks reach the
// main window only through the selection file.
class FindDuplicateWindow : public QDialog {
    Q_OBJECT
  public:
    FindDuplicateWindow(MainWindow& main, const std::vector<ResultLine>& lines,
                        const QString& counterText, DuplicateCriterion searchedBy);
    ~FindDuplicateWindow() override;

    QListWidget* lstSearchResult;
    QPlainTextEdit* txtLyricContent;
    QLabel* lblResultCounter;
    QLabel* lblSearchResult;
    QLabel* lblLyricContent;
    QLabel* lblSelectSong;
    QLabel* lblWarning;
    ProgressBarWidget* picRemoveDuplicate;
    QTimer* Timer1;
    QPushButton* btnPlayMIDI;
    QPushButton* btnStopMIDI;
    QPushButton* btnSaveSelect;
    QPushButton* btnClear;
    QPushButton* btnMoveFile;
    QPushButton* btnDeleteFile;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void lineClicked(int row);
    void showMarkedCount();
    void play();
    void stop();
    void saveSelection();
    void removeMarked(RemovalKind kind);

    MainWindow& main_;
    DuplicateCriterion searchedBy_;
    std::unique_ptr<Mci> mci_;  // made at the first play
    std::unique_ptr<ResultWindowPlayer> player_;
    bool offered_ = false;
    bool removing_ = false;
};

}  // namespace dadaz
