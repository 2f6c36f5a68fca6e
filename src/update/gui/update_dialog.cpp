#include "update/gui/update_dialog.h"

#include <QVBoxLayout>
#include <filesystem>

#include "shell/main_window.h"

namespace dadaz {

namespace {

QTimer* makeTimer(const char* name, int intervalMs, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

}  // namespace

UpdateDialog::UpdateDialog(Prompt& prompt, std::string programFolder,
                           std::optional<std::string> server, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      programFolder_(std::move(programFolder)),
      server_(std::move(server)) {
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Check for Update"));
    setModal(true);
    lblCheckUpdate_ = new QLabel(QStringLiteral("Check for update, please wait..."), this);
    lblCheckUpdate_->setObjectName(QStringLiteral("lblCheckUpdate"));
    lblCheckUpdate_->setAlignment(Qt::AlignCenter);
    QSizePolicy policy = lblCheckUpdate_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    lblCheckUpdate_->setSizePolicy(policy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCheckUpdate_);
    setFixedSize(320, 90);

    timer1_ = makeTimer("Timer1", 1000, this);
    timer2_ = makeTimer("Timer2", 1000, this);
    timer3_ = makeTimer("Timer3", 250, this);
    // The seconds the version file may take are up: the check gives up.
    connect(timer1_, &QTimer::timeout, this, [this] {
        if (++ticks_ >= 5) reject();
    });
    connect(timer2_, &QTimer::timeout, this, [this] {
        if (++ticks_ >= 60) packageArrived({false, "no answer within the time limit"});
    });
    connect(timer3_, &QTimer::timeout, this,
            [this] { lblCheckUpdate_->setVisible(lblCheckUpdate_->isHidden()); });
}

UpdateDialog::~UpdateDialog() {
    download_.reset();
}

void UpdateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, &UpdateDialog::start);
}

void UpdateDialog::start() {
    if (!server_) {
        reject();
        return;
    }
    const std::string target = programFolder_ + "/" + kVersionFileName;
    removeFile(target);
    fetch(versionFileUrl(*server_), target, versionLimits_, &UpdateDialog::versionFileArrived);
    ticks_ = 0;
    timer1_->start();
}

void UpdateDialog::fetch(const std::string& url, const std::string& target,
                         const DownloadLimits& limits,
                         void (UpdateDialog::*arrived)(const DownloadResult&)) {
    download_.reset();
    download_ = std::make_unique<BackgroundDownload>(
        url, target, limits, [this, arrived](const DownloadResult& result) {
            QMetaObject::invokeMethod(
                this, [this, arrived, result] { (this->*arrived)(result); }, Qt::QueuedConnection);
        });
}

void UpdateDialog::versionFileArrived(const DownloadResult& result) {
    if (finished_) return;
    timer1_->stop();
    if (!result.ok) {
        reject();
        return;
    }
    VersionFileVerdict verdict = readVersionFile(programFolder_ + "/" + kVersionFileName);
    if (verdict.kind != VersionFileVerdict::Kind::Newer ||
        prompt_.ask(MessageIcon::Question, MessageButtons::YesNo,
                    downloadQuestion(kProgramVersion, verdict.offered)) != Answer::Yes) {
        reject();
        return;
    }
    const std::string target = programFolder_ + "/" + kPackageFileName;
    removeFile(target);
    fetch(packageUrl(*server_), target, packageLimits_, &UpdateDialog::packageArrived);
    lblCheckUpdate_->setText(QStringLiteral("Downloading update, please wait..."));
    ticks_ = 0;
    timer2_->start();
    timer3_->start();
}

void UpdateDialog::packageArrived(const DownloadResult& result) {
    if (finished_) return;
    timer2_->stop();
    timer3_->stop();
    lblCheckUpdate_->show();
    const std::string package = programFolder_ + "/" + kPackageFileName;
    std::string error = result.error;
    std::error_code sizeError;
    if (result.ok && std::filesystem::file_size(package, sizeError) == 0) {
        error = "empty file";
        removeFile(package);
    }
    if (result.ok && error.empty()) {
        updateReady_ = true;
        accept();
        return;
    }
    // The user asked for this download: say why it did not come.
    prompt_.ask(MessageIcon::Exclamation, MessageButtons::Ok, downloadFailedMessage(error));
    reject();
}

void UpdateDialog::done(int result) {
    finished_ = true;
    for (QTimer* timer : {timer1_, timer2_, timer3_}) timer->stop();
    if (download_) download_->cancel();
    QDialog::done(result);
}

void attachUpdate(MainWindow& window) {
    window.hooks().checkForUpdate = [&window] {
        UpdateDialog dialog(window.prompt(), window.programFolder(),
                            updateServer(window.settings()), &window);
        dialog.exec();
        if (dialog.updateReady()) window.setUpdateReady(true);
    };
    window.hooks().offerUpdateInstall = [&window] {
        return offerInstall(window.prompt(), window.launcher(), window.programFolder());
    };
}

}  // namespace dadaz
