#include "shell/file_system_check_dialog.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace dadaz {

FileSystemCheckDialog::FileSystemCheckDialog(const FileSystem& fs, std::string programFolder,
                                             QWidget* parent)
    : QDialog(parent), fs_(fs), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmFileSystemCheck"));
    setWindowTitle(QStringLiteral("File System Checker"));
    setModal(true);
    notice_ = new QLabel(QString::fromUtf8("กำลังตรวจสอบระบบแฟ้ม..."), this);
    notice_->setObjectName(QStringLiteral("lblFileSystemCheck"));
    notice_->setAlignment(Qt::AlignCenter);
    QSizePolicy policy = notice_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    notice_->setSizePolicy(policy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice_);
    setFixedSize(320, 90);

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setObjectName(QStringLiteral("Timer1"));
    blinkTimer_->setInterval(250);
    connect(blinkTimer_, &QTimer::timeout, this,
            [this] { notice_->setVisible(notice_->isHidden()); });
    blinkTimer_->start();

    closeTimer_ = new QTimer(this);
    closeTimer_->setObjectName(QStringLiteral("Timer2"));
    closeTimer_->setInterval(1500);
    closeTimer_->setSingleShot(true);
    connect(closeTimer_, &QTimer::timeout, this, &QDialog::accept);
}

void FileSystemCheckDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (scanStarted_) return;
    scanStarted_ = true;
    // Scan once the window is on screen, so the notice shows while it works.
    QTimer::singleShot(0, this, &FileSystemCheckDialog::scan);
}

void FileSystemCheckDialog::scan() {
    detected_ = detectFolders(fs_, programFolder_, [] { QCoreApplication::processEvents(); });
    scanned_ = true;
    emit foldersDetected(detected_);
    closeTimer_->start();
}

}  // namespace dadaz
