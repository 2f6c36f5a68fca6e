#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "library/folder_detection.h"

namespace dadaz {

// frmFileSystemCheck: shown modally at start. It looks for the library folders under the
// program folder as soon as it shows, with a blinking notice, and closes itself 1.5 s after
// the scan.
class FileSystemCheckDialog : public QDialog {
    Q_OBJECT
  public:
    FileSystemCheckDialog(const FileSystem& fs, std::string programFolder,
                          QWidget* parent = nullptr);

    // Tests shorten the wait before closing.
    void setCloseDelay(int milliseconds) { closeTimer_->setInterval(milliseconds); }
    bool scanned() const { return scanned_; }
    const DetectedFolders& detected() const { return detected_; }

  signals:
    void foldersDetected(const DetectedFolders& detected);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void scan();

    const FileSystem& fs_;
    std::string programFolder_;
    QLabel* notice_;
    QTimer* blinkTimer_;
    QTimer* closeTimer_;
    bool scanStarted_ = false;
    bool scanned_ = false;
    DetectedFolders detected_;
};

}  // namespace dadaz
