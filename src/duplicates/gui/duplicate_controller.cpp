#include "duplicates/gui/duplicate_controller.h"

#include <QApplication>

#include "catalogue/song_files.h"
#include "duplicates/duplicate_review.h"
#include "duplicates/duplicate_texts.h"
#include "duplicates/gui/find_duplicate_window.h"
#include "duplicates/gui/result_list_view.h"
#include "shell/main_window.h"
#include "songlist/gui/lister_controller.h"

namespace dadaz {

namespace text = duplicate_text;

DuplicateController::DuplicateController(MainWindow& window) : QObject(&window), window_(window) {
    FindDuplicatePanel* panel = window.findDuplicatePanel();
    window.attach({panel->radFindSong, panel->radFindSongArtist, panel->radFindSongMidi,
                   panel->radFindAll, panel->btnFindDuplicate, panel->lstSearchResult,
                   panel->txtLyricContent, panel->btnSaveSelect, panel->btnClear,
                   panel->btnDeleteFile, panel->btnMoveFile, panel->btnShowNewWindow});
    connect(panel->btnFindDuplicate, &QPushButton::clicked, this, &DuplicateController::search);
    connect(
        panel->lstSearchResult, &QListWidget::itemClicked, this,
        [this, panel](QListWidgetItem* item) { lineClicked(panel->lstSearchResult->row(item)); });
    armOnKeyOrDoubleClick(panel->lstSearchResult, window.findChild<QTimer*>("Timer3"));
    connect(panel->btnSaveSelect, &QPushButton::clicked, this, &DuplicateController::saveSelection);
    connect(panel->btnClear, &QPushButton::clicked, this, &DuplicateController::clearMarks);
    connect(panel->btnDeleteFile, &QPushButton::clicked, this,
            [this] { removeMarked(RemovalKind::Delete); });
    connect(panel->btnMoveFile, &QPushButton::clicked, this,
            [this] { removeMarked(RemovalKind::Move); });
    connect(panel->btnShowNewWindow, &QPushButton::clicked, this,
            &DuplicateController::showNewWindow);
    window.hooks().duplicateModeEntered = [this] { offerSelection(); };
}

DuplicateCriterion DuplicateController::criterion() const {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    if (panel->radFindSongArtist->isChecked()) return DuplicateCriterion::TitleArtist;
    if (panel->radFindSongMidi->isChecked()) return DuplicateCriterion::TitleMidi;
    if (panel->radFindAll->isChecked()) return DuplicateCriterion::Everything;
    return DuplicateCriterion::Title;
}

void DuplicateController::search() {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    RunContext ctx = window_.makeRunContext("FindDuplicate");
    bool cursorSet = false;
    FinderHooks hooks;
    hooks.criterion = [this] { return criterion(); };
    hooks.rebuild = [this] { rebuildSongList(window_); };
    hooks.prepare = [&] {
        window_.selectMode(Mode::FindDuplicate);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        cursorSet = true;
        panel->lstSearchResult->clear();
        panel->txtLyricContent->clear();
        panel->lblSelected->hide();
        panel->lblSelectedCount->hide();
    };
    const FinderResult found = findDuplicates(ctx, hooks);
    if (found.searched) {
        fillResultList(panel->lstSearchResult, found.result.lines);
        searchedBy_ = criterion();
        panel->btnShowNewWindow->setEnabled(panel->lstSearchResult->count() > 0);
    }
    if (cursorSet) QApplication::restoreOverrideCursor();
    if (found.end != FinderResult::End::Finished) return;
    lineClicked(-1);
}

void DuplicateController::showMarkedCount() {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    const std::size_t marked = markedLines(panel->lstSearchResult);
    panel->lblSelectedCount->setText(QString::fromStdString(text::songCount(marked)));
    panel->lblSelected->setVisible(marked > 0);
    panel->lblSelectedCount->setVisible(marked > 0);
    for (QPushButton* button :
         {panel->btnSaveSelect, panel->btnClear, panel->btnDeleteFile, panel->btnMoveFile})
        button->setEnabled(marked > 0);
}

void DuplicateController::lineClicked(int row) {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    if (!unmarkSeparator(panel->lstSearchResult->item(row))) return;
    showMarkedCount();
    if (row < 0) return;
    const std::string line = resultLineAt(panel->lstSearchResult, row);
    window_.state().currentSong = currentSongOfLine(line, false);
    if (window_.state().duplicateSearchActive) return;
    showLyric(window_.fileSystem(), window_.folders(), line, panel->txtLyricContent);
    if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();
}

void DuplicateController::saveSelection() {
    const std::vector<ResultLine> lines =
        readResultList(window_.findDuplicatePanel()->lstSearchResult);
    if (dadaz::saveSelection(window_.fileSystem(), window_.programFolder(), lines,
                             window_.prompt()))
        window_.prompt().inform(text::kSelectionSaved);
}

void DuplicateController::clearMarks() {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    panel->lstSearchResult->clearSelection();
    showMarkedCount();
    panel->txtLyricContent->clear();
    deleteSelection(window_.fileSystem(), window_.programFolder());
}

void DuplicateController::removeMarked(RemovalKind kind) {
    if (removing_) return;
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    FileSystem& fs = window_.fileSystem();
    const Folders folders = window_.folders();
    const std::vector<ResultLine> lines = readResultList(panel->lstSearchResult);
    // The main window has always made its log folder before asking; the second window makes
    // it only once the user said Yes.
    ensureLogFolder(fs, window_.programFolder());
    if (!confirmDuplicateRemoval(fs, window_.prompt(), kind, folders, lines, searchedBy_)) return;
    removing_ = true;
    if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();
    panel->picRemoveDuplicate->show();
    panel->picRemoveDuplicate->raise();
    greyList(panel->lstSearchResult, true, panel->txtLyricContent);
    panel->lstSearchResult->setEnabled(false);
    WidgetProgressSink bar(panel->picRemoveDuplicate, nullptr);
    RunContext ctx = window_.makeRunContext("FindDuplicate");
    const DuplicateRemovalResult result =
        removeMarkedSongs(fs, lines,
                          {.kind = kind,
                           .programFolder = window_.programFolder(),
                           .folders = folders,
                           .stamp = logTimeStamp(std::chrono::system_clock::now()),
                           .pumpEvents = ctx.pumpEvents},
                          bar);
    fillResultList(panel->lstSearchResult, result.lines);
    panel->lblResultCounter->setText(QString::fromStdString(text::songCount(result.lines.size())));
    panel->lstSearchResult->setEnabled(true);
    panel->picRemoveDuplicate->hide();
    greyList(panel->lstSearchResult, false, panel->txtLyricContent);
    showMarkedCount();
    panel->txtLyricContent->clear();
    deleteSelection(fs, window_.programFolder());
    if (result.anyGone()) window_.state().songsRemoved = true;
    removing_ = false;
    MessageIcon icon = MessageIcon::Information;
    const std::string message = removalMessage(kind, result, icon);
    window_.prompt().ask(icon, MessageButtons::Ok, message);
}

void DuplicateController::showNewWindow() {
    if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    FindDuplicateWindow second(window_, readResultList(panel->lstSearchResult),
                               panel->lblResultCounter->text(), searchedBy_);
    second.exec();
}

void DuplicateController::offerSelection() {
    FindDuplicatePanel* panel = window_.findDuplicatePanel();
    std::vector<ResultLine> lines = readResultList(panel->lstSearchResult);
    dadaz::offerSelection(window_.fileSystem(), window_.programFolder(), lines, window_.prompt());
    applyMarks(panel->lstSearchResult, lines);
    if (!lines.empty()) showMarkedCount();
}

DuplicateController* attachDuplicates(MainWindow& window) {
    return new DuplicateController(window);
}

}  // namespace dadaz
