// The main window's shortcuts, always-on-top switch, About box and clock.
#include <QDateTime>
#include <QKeyEvent>

#include "shell/main_window.h"
#include "shell/tooltips.h"
#include "songlist/kar_converter.h"
#include "songlist/kar_texts.h"
#include "update/version.h"

namespace dadaz {

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window sees F1 to F12 before its controls, wherever the focus is, but not those
    // pressed in its dialogs and message boxes.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && handleFunctionKey(key->key())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::handleFunctionKey(int key) {
    auto selectIfEnabled = [this](Mode mode) {
        if (selectorPanel_->option(mode)->isEnabled()) selectMode(mode);
    };
    auto clickIfEnabled = [](QAbstractButton* button) {
        if (button->isEnabled()) button->click();
    };
    switch (key) {
        case Qt::Key_F1:
            showAbout();
            return true;
        case Qt::Key_F2:
            toggleAlwaysOnTop();
            return true;
        case Qt::Key_F3:
            selectIfEnabled(Mode::AddRenameLister);
            return true;
        case Qt::Key_F4:
            selectIfEnabled(Mode::SongSearch);
            return true;
        case Qt::Key_F5:
            selectIfEnabled(Mode::FindDuplicate);
            return true;
        case Qt::Key_F6:
            if (findDuplicatePanel_->btnShowNewWindow->isEnabled()) {
                // The mode's own handler runs even when the mode is already selected.
                if (mode() == Mode::FindDuplicate)
                    onModeSelected(Mode::FindDuplicate);
                else
                    selectMode(Mode::FindDuplicate);
                findDuplicatePanel_->btnShowNewWindow->click();
            }
            return true;
        case Qt::Key_F7:
            toggleCheckBox(songSearchPanel_->chkSearchAll);
            return true;
        case Qt::Key_F8:
            toggleCheckBox(songSearchPanel_->chkSearchLyric);
            return true;
        case Qt::Key_F9:
            clickIfEnabled(folderPanel_->btnBrowseMIDI);
            return true;
        case Qt::Key_F10:
            clickIfEnabled(folderPanel_->btnBrowseLyric);
            return true;
        case Qt::Key_F11:
            clickIfEnabled(folderPanel_->btnBrowseCursor);
            return true;
        case Qt::Key_F12:
            clickIfEnabled(folderPanel_->btnBrowseMoveTo);
            return true;
        default:
            return false;
    }
}

void MainWindow::toggleCheckBox(QCheckBox* box) {
    // Unchecked becomes checked, checked unchecked, and greyed checked; enabled or not.
    box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void MainWindow::toggleAlwaysOnTop() {
    alwaysOnTop_ = !alwaysOnTop_;
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
    fraDateTime_->setToolTip(alwaysOnTop_ ? alwaysOnTopOnTip() : alwaysOnTopOffTip());
}

std::string aboutBoxText() {
    return "DAD Azar Edizuda " + versionText(kProgramVersion) +
           "\n"
           "\n"
           "โปรแกรมนี้มีไว้สำหรับจัดการระบบแฟ้มของโปรแกรม MIDI Karaoke\n"
           "และอำนวยความสะดวกอื่น ๆ เกี่ยวกับ Midi Karaoke ในรูปแบบของ VID\n"
           "โดยแจกจ่ายให้ใช้ฟรี!\n"
           "\n"
           "พัฒนาโดย ทีมงาน DAD Azar Edizuda\n"
           "ติดต่อ: ผ่านเว็บไซต์ของผู้พัฒนา\n";
}

void MainWindow::showAbout() {
    // A Windows converter is only offered when wine can start it; say what is missing.
    std::string text = aboutBoxText();
    const std::string note = kar_text::aboutBoxNote(findKarConverter(fs_, context_.programFolder));
    if (!note.empty()) text += "\n" + note + "\n";
    context_.prompt->inform(text, "เกี่ยวกับ DAD Azar Edizuda");
}

void MainWindow::clockTick() {
    fraDateTime_->setTitle(clock_().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    if (hooks_.playbackTick) hooks_.playbackTick();
    if (songSearchPanel_->lblSongSearchResult->isVisible())
        songSearchPanel_->lblSongSearchResult->repaint();
}

}  // namespace dadaz
