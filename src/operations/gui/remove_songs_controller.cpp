// btnDeleteSong and btnMoveSong: the selected songs leave the library, whole or not at all.
#include <QItemSelectionModel>
#include <algorithm>

#include "catalogue/gui/search_controller.h"
#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "library/song_paths.h"
#include "operations/gui/song_operations.h"
#include "operations/removal_texts.h"
#include "operations/song_removal.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

// The songs the click is about, with the rows that name them: the current song for a single
// selected line, else every selected song line (separators are no songs).
struct Selection {
    std::vector<int> rows;
    std::vector<CurrentSong> songs;
};

Selection selectedSongs(MainWindow& window, bool multiFolder) {
    SongLineList* list = window.songSearchPanel()->lstSongSearch;
    const std::vector<int> rows = list->selectedRows();
    Selection selection;
    if (rows.size() == 1) {
        selection.rows = rows;
        selection.songs = {window.state().currentSong};
        return selection;
    }
    for (int row : rows) {
        const std::string line = list->lineAt(row);
        if (line.empty() || isSeparatorLine(line)) continue;
        selection.rows.push_back(row);
        selection.songs.push_back(currentSongOfLine(line, multiFolder));
    }
    return selection;
}

// Takes out the lines of songs that are gone; the lines of songs that stayed are selected.
void updateResultList(SongLineList* list, const Selection& selection, const RemovalReport& report) {
    std::vector<int> gone, kept;
    for (std::size_t i = 0; i < selection.rows.size(); ++i)
        (report.songs[i].gone() ? gone : kept).push_back(selection.rows[i]);
    if (!gone.empty()) list->removeRows(gone);
    QItemSelectionModel* selectionModel = list->selectionModel();
    selectionModel->clearSelection();
    std::size_t goneBefore = 0;
    for (int row : kept) {
        while (goneBefore < gone.size() && gone[goneBefore] < row) ++goneBefore;
        const QModelIndex index = list->lineModel()->index(row - static_cast<int>(goneBefore));
        selectionModel->select(index, QItemSelectionModel::Select);
    }
}

void removeSelectedSongs(MainWindow& window, RemovalKind kind) {
    SearchController* search = searchControllerOf(window);
    if (search && search->running()) return;
    SongSearchPanel* panel = window.songSearchPanel();
    Prompt& prompt = window.prompt();
    FileSystem& fs = window.fileSystem();
    const Folders folders = window.folders();
    auto finish = [&] { panel->txtSongSearch->setFocus(); };

    const bool several = panel->lstSongSearch->selectedRows().size() != 1;
    if (!panel->chkConfirmRemove->isChecked()) {
        const std::string question = kind == RemovalKind::Delete
                                         ? removal_text::deleteQuestion(several)
                                         : removal_text::moveQuestion(several, folders.moveTo);
        if (prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNo, question) != Answer::Yes)
            return finish();
    }
    fs.forgetIndexes();  // the disk as it is now
    if (kind == RemovalKind::Move && !fs.isFolder(folders.moveTo)) {
        if (prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                       removal_text::missingMoveToQuestion()) != Answer::Yes)
            return finish();
        if (!fs.createFolder(folders.moveTo)) {
            prompt.ask(MessageIcon::Critical, MessageButtons::Ok,
                       removal_text::moveToNotCreated(folders.moveTo));
            return finish();
        }
    }

    if (window.hooks().stopPlayback) window.hooks().stopPlayback();
    panel->txtSongContent->clear();
    const SongPaths paths(fs, folders);
    const Selection selection = selectedSongs(window, paths.multiFolder());
    SongRemover remover(fs, paths);
    const RemovalReport report = kind == RemovalKind::Delete
                                     ? remover.deleteSongs(selection.songs)
                                     : remover.moveSongs(selection.songs, folders.moveTo);
    updateResultList(panel->lstSongSearch, selection, report);
    // Also a song found gone already: the song list no longer matches the library.
    const bool anyGone = std::any_of(report.songs.begin(), report.songs.end(),
                                     [](const SongRemovalOutcome& s) { return s.gone(); });
    if (report.filesRemoved > 0 || anyGone) window.state().songsRemoved = true;
    panel->btnMoveSong->setEnabled(false);
    panel->btnDeleteSong->setEnabled(false);
    // The song shown is gone: nothing may play, edit, replace or list it any more.
    const CurrentSong& current = window.state().currentSong;
    const bool currentGone =
        std::any_of(report.songs.begin(), report.songs.end(), [&](const SongRemovalOutcome& s) {
            return s.gone() && s.song.code() == current.code() &&
                   s.song.volume() == current.volume();
        });
    if (currentGone) {
        for (QPushButton* button : {panel->btnPlaySong, panel->btnEditLyric, panel->btnReplaceSong,
                                    panel->btnExportSong, panel->btnAddSelectList})
            button->setEnabled(false);
        window.state().currentSong = {};
    }
    if (const std::string text = removal_text::reportText(kind, report, true); !text.empty())
        prompt.ask(MessageIcon::Exclamation, MessageButtons::Ok, text);
    finish();
}

}  // namespace

void attachRemoveSongs(MainWindow& window) {
    SongSearchPanel* panel = window.songSearchPanel();
    window.attach({panel->btnDeleteSong, panel->btnMoveSong, panel->chkConfirmRemove});
    QObject::connect(panel->btnDeleteSong, &QPushButton::clicked, &window,
                     [&window] { removeSelectedSongs(window, RemovalKind::Delete); });
    QObject::connect(panel->btnMoveSong, &QPushButton::clicked, &window,
                     [&window] { removeSelectedSongs(window, RemovalKind::Move); });
}

}  // namespace dadaz
