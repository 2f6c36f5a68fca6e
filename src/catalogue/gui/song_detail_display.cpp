// The search controller's result list: a selected song's detail, its MIDI file, and typing
// that lands on the search box from the controls around it.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTextCursor>

#include "catalogue/gui/search_controller.h"
#include "platform/codepage.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

// Line ends as the text box keeps them: one character per line break.
QString withPlainLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Code page 874 text, one character per byte, as the text box shows it.
QString lyricForDisplay(std::string_view bytes) {
    return withPlainLineEnds(QString::fromStdString(cp874ToUtf8(bytes)));
}

}  // namespace

void SearchController::setSongButtonsEnabled(bool enabled) {
    SongSearchPanel* panel = window_.songSearchPanel();
    for (QPushButton* button :
         {panel->btnMoveSong, panel->btnDeleteSong, panel->btnExportSong, panel->btnReplaceSong,
          panel->btnEditLyric, panel->btnAddSelectList})
        button->setEnabled(enabled);
}

void SearchController::showSong(int row) {
    if (running_ || row < 0) return;
    const std::string line = window_.songSearchPanel()->lstSongSearch->lineAt(row);
    if (line.empty()) return;
    RunningGuard guard(running_);
    RunContext ctx = window_.makeRunContext("LoadingSongDB");
    const SearchSession::Selection selection =
        session_.select(line, query(), options(), ctx, view_, buildSongList());
    showDetail(selection.detail);
    if (selection.research) showResult(*selection.research);
}

void SearchController::showDetail(const SongDetail& detail) {
    SongSearchPanel* panel = window_.songSearchPanel();
    if (detail.outcome == DetailOutcome::Separator) {
        setSongButtonsEnabled(false);
        return;
    }
    panel->txtSongContent->clear();
    if (detail.outcome != DetailOutcome::Shown) {
        if (detail.outcome == DetailOutcome::LyricMissing && !detail.rebuildRequested)
            panel->btnPlaySong->setEnabled(false);
        return;
    }

    panel->lstSongContent->clear();
    panel->txtEditLyric->clear();
    for (const std::string& lyricLine : detail.lyricLines)
        panel->lstSongContent->addItem(QString::fromStdString(cp874ToUtf8(lyricLine)));
    panel->txtSongContent->setPlainText(lyricForDisplay(detail.lyricText));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(detail.midiPath));

    setSongButtonsEnabled(true);
    panel->txtSongContent->show();
    for (QWidget* control : std::initializer_list<QWidget*>{
             panel->lstSongContent, panel->txtEditLyric, panel->btnAcceptEdit, panel->txtBeforeEdit,
             panel->txtAfterEdit})
        control->hide();
    panel->btnCancelEdit->setEnabled(false);
    panel->btnLyricSave->setEnabled(false);
    if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();

    const auto [start, length] = detail.highlight;
    if (length > 0 && start + length <= detail.lyricText.size()) {
        const std::string_view lyric(detail.lyricText);
        // Positions count bytes of the lyric as read; the box has one character per line end.
        const auto from = static_cast<int>(lyricForDisplay(lyric.substr(0, start)).size());
        const auto to = static_cast<int>(lyricForDisplay(lyric.substr(0, start + length)).size());
        QTextCursor cursor(panel->txtSongContent->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        panel->txtSongContent->setTextCursor(cursor);
    }
}

void SearchController::openSong(int row) {
    const std::string line = window_.songSearchPanel()->lstSongSearch->lineAt(row);
    if (running_ || line.empty()) return;
    const SongPaths paths(window_.fileSystem(), window_.folders());
    openSongMidi(line, paths, window_.fileSystem(), window_.programFolder(), window_.launcher());
}

void SearchController::watchTyping() {
    SongSearchPanel* panel = window_.songSearchPanel();
    for (QWidget* control : std::initializer_list<QWidget*>{
             panel->txtSongSearch, panel->chkSearchAll, panel->chkSearchLyric, panel->lstSongSearch,
             panel->chkConfirmRemove, panel->txtSongContent, panel->btnEditLyric})
        control->installEventFilter(this);
}

bool SearchController::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const bool release = event->type() == QEvent::KeyRelease;
    if (!press && !release) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == window_.songSearchPanel()->txtSongSearch) {
        // Enter searches when it is let go, but only if it went down here too: the Enter
        // that answers a message box must not start the search over again.
        if (press && enter && !key->isAutoRepeat()) enterPressedInBox_ = true;
        if (release && !key->isAutoRepeat()) {
            if (enter) {
                if (enterPressedInBox_) {
                    enterPressedInBox_ = false;
                    enterPressed();
                }
            } else {
                updateOptionsOnKeyUp();
            }
        }
        return false;
    }
    if (!press) return false;
    if (enter) {
        focusSearchBoxAtEnd();
        return true;
    }
    const QString text = key->text();
    const bool character = text.size() == 1 && text.front().isPrint() &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!character) return false;
    window_.songSearchPanel()->txtSongSearch->setText(text);
    focusSearchBoxAtEnd();
    return true;
}

}  // namespace dadaz
