#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "platform/prompt.h"
#include "update/update_check.h"

namespace dadaz {

class MainWindow;

// frmUpdate: shown modally at start. It fetches the server's version file, asks whether to
// download a newer release and fetches its package; then updateReady() tells the main window
// to offer the install. Downloads run on a thread of their own: Timer1 and Timer2 only count
// the seconds, and a download that fails closes the window at once.
class UpdateDialog : public QDialog {
    Q_OBJECT
  public:
    // No server: the window closes as soon as it shows, without a request.
    UpdateDialog(Prompt& prompt, std::string programFolder, std::optional<std::string> server,
                 QWidget* parent = nullptr);
    ~UpdateDialog() override;

    // Tests shorten the limits of the two downloads.
    void setLimits(DownloadLimits versionFile, DownloadLimits package) {
        versionLimits_ = versionFile;
        packageLimits_ = package;
    }
    bool updateReady() const { return updateReady_; }
    // A download is under way.
    bool downloading() const { return download_ && download_->running(); }

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void start();
    void versionFileArrived(const DownloadResult& result);
    void packageArrived(const DownloadResult& result);
    // Runs a download; `arrived` gets its result on the window's thread.
    void fetch(const std::string& url, const std::string& target, const DownloadLimits& limits,
               void (UpdateDialog::*arrived)(const DownloadResult&));

    Prompt& prompt_;
    std::string programFolder_;
    std::optional<std::string> server_;
    DownloadLimits versionLimits_ = kVersionFileLimits;
    DownloadLimits packageLimits_ = kPackageLimits;
    QLabel* lblCheckUpdate_;
    QTimer* timer1_;
    QTimer* timer2_;
    QTimer* timer3_;
    int ticks_ = 0;
    bool started_ = false;
    bool finished_ = false;
    bool updateReady_ = false;
    std::unique_ptr<BackgroundDownload> download_;
};

// Gives the main window its update check at start and the install offer at closing.
void attachUpdate(MainWindow& window);

}  // namespace dadaz
