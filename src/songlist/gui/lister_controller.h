#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "songlist/songlist_run.h"

namespace dadaz {

class MainWindow;

// The list panel fraLister: its start button asks the option questions and runs the song list,
// its stop button asks whether to stop. Every run through it shows the busy mouse pointer,
// brings the add-rename-list mode forward and puts a move-to folder the run created into
// txtMoveTo. One per window, a child of it.
class ListerController : public QObject {
    Q_OBJECT
  public:
    explicit ListerController(MainWindow& window);

    // Runs `body` (which calls the core run, or answers nullopt when the user cancels) with
    // the window's "Lister" run context. Nothing happens while a song list run is already
    // under way.
    using Body = std::function<std::optional<SongListResult>(RunContext&)>;
    std::optional<SongListResult> run(const Body& body);

    bool running() const { return running_; }

  private:
    void start();
    void askStop();

    MainWindow& window_;
    bool running_ = false;
};

// Connects the list panel's buttons; the program calls it once for its window.
void attachSongList(MainWindow& window);

// The rebuild that the catalogue's and the duplicate finder's offers start: no checking, the
// flags as they are now (with `catalogueRequested` or `duplicateSearchActive` set only
// SongList.txt is written, without messages). True when the run wrote SongList.txt.
bool rebuildSongList(MainWindow& window);

// True when the run left a new SongList.txt behind (also when only the player database
// could not be written).
bool songListWritten(const SongListResult& result, const std::string& programFolder);

}  // namespace dadaz
