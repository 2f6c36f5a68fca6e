// btnExportSong: the selected songs copied (or made into karaoke files) out of the library.
#include <QApplication>

#include "catalogue/gui/search_controller.h"
#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "library/song_paths.h"
#include "operations/gui/song_operations.h"
#include "operations/song_export.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

// Keeps the folder of the last export for the rest of the session.
class ExportController : public QObject {
  public:
    explicit ExportController(MainWindow& window) : QObject(&window), window_(window) {}

    void exportSelected() {
        SearchController* search = searchControllerOf(window_);
        if (search && search->running()) return;
        SongSearchPanel* panel = window_.songSearchPanel();
        RunContext ctx = window_.makeRunContext("Export");
        // The export is one step of the window, as a delete is: no other click may act on
        // the songs while their files are copied or converted.
        ctx.pumpEvents = [] {};
        const SongPaths paths(ctx.fs, ctx.folders);
        const std::vector<CurrentSong> songs = selectedSongs(paths.multiFolder());
        QApplication::setOverrideCursor(Qt::BusyCursor);
        struct RestoreCursor {
            ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
        } restore;
        exportSongs(ctx, exportFolder_, songs);
        panel->txtSongSearch->setFocus();
    }

  private:
    // The current song for one selected line, else every selected song line in list order.
    std::vector<CurrentSong> selectedSongs(bool multiFolder) {
        SongLineList* list = window_.songSearchPanel()->lstSongSearch;
        const std::vector<int> rows = list->selectedRows();
        if (rows.size() == 1) return {window_.state().currentSong};
        std::vector<CurrentSong> songs;
        for (int row : rows) {
            const std::string line = list->lineAt(row);
            if (line.empty() || isSeparatorLine(line)) continue;
            songs.push_back(currentSongOfLine(line, multiFolder));
        }
        return songs;
    }

    MainWindow& window_;
    std::string exportFolder_;
};

}  // namespace

void attachExportSong(MainWindow& window) {
    QPushButton* button = window.songSearchPanel()->btnExportSong;
    window.attach({button});
    auto* controller = new ExportController(window);
    QObject::connect(button, &QPushButton::clicked, controller,
                     [controller] { controller->exportSelected(); });
}

}  // namespace dadaz
