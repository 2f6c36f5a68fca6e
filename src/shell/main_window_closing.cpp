// The main window's start (folder detection, update check) and its closing sequence.
#include <QCloseEvent>

#include "library/closing_cleanup.h"
#include "shell/file_system_check_dialog.h"
#include "shell/main_window.h"

namespace dadaz {

void MainWindow::startUp() {
    if (hooks_.completeInterruptedRuns) hooks_.completeInterruptedRuns();
    runFolderDetection();
    if (hooks_.checkForUpdate) hooks_.checkForUpdate();
    if (updateReady_) {
        installUpdateOnExit_ = true;
        close();
    }
}

void MainWindow::runFolderDetection(int closeDelayMs) {
    fs_.forgetIndexes();
    FileSystemCheckDialog dialog(fs_, context_.programFolder, this);
    dialog.setCloseDelay(closeDelayMs);
    connect(&dialog, &FileSystemCheckDialog::foldersDetected, this,
            [this](const DetectedFolders& detected) {
                folderPanel_->setFolders(detected.folders);
                addSongPanel_->txtAddSong->setText(QString::fromStdString(detected.addSongSource));
            });
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::confirmClose() {
    if (installUpdateOnExit_) {
        if (hooks_.offerUpdateInstall && hooks_.offerUpdateInstall()) return true;
        updateReady_ = false;
        installUpdateOnExit_ = false;
        return false;
    }
    if (context_.prompt->ask(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                             "Exit Program") != Answer::Yes)
        return false;

    if (state_.libraryChanged()) {
        context_.prompt->inform(
            "ท่านได้ทำการ เพิ่ม-เปลี่ยนชื่อเพลง และ/หรือ ลบหรือย้าย แฟ้มเพลงที่ซ้ำกัน\n"
            "ท่านควรทำการ สร้างรายการเพลงของโปรแกรมคาราโอเกะของท่านใหม่ด้วย");
        // The catalogue no longer matches the library. Another program may have written the
        // list since the program folder was indexed.
        fs_.forgetIndexes();
        fs_.deleteFile(joinPath(context_.programFolder, "SongList.txt"), true);
    }

    state_.stopRequested = true;
    stopPlayback();

    songSearchPanel_->lstSongSearch->clear();
    findDuplicatePanel_->lstSearchResult->clear();
    if (hooks_.clearLists) hooks_.clearLists();

    folderPanel_->saveSettings(*context_.settings);
    removeTemporaryFiles(fs_, context_.programFolder, folders(),
                         addSongPanel_->txtAddSong->text().toStdString());
    return true;
}

}  // namespace dadaz
