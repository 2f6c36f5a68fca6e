#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "catalogue/gui/search_panel_view.h"
#include "catalogue/search_session.h"

class QKeyEvent;

namespace dadaz {

class MainWindow;

// The song search mode on the window: Enter in the search box loads the catalogue where
// needed and searches; the options, the Cancel button, the artist box, the page buttons and
// the result list (a click shows the song, a double click opens its MIDI file). One per
// window, a child of it; its session is the window's catalogue.
class SearchController : public QObject {
    Q_OBJECT
  public:
    explicit SearchController(MainWindow& window);

    SearchSession& session() { return session_; }

    // The selected song, for playback and the song operations.
    const CurrentSong& currentSong() const;

    // The song list rebuild the catalogue's offers run; true when SongList.txt was written.
    // By default the song list run for this program's own list.
    void setRebuild(std::function<bool()> rebuild) { rebuild_ = std::move(rebuild); }

    // Enter in the search box.
    void enterPressed();
    // The search alone with the box's text (an artist pick, a repeat).
    void searchAgain();
    // A click on a result line, a double click.
    void showSong(int row);
    void openSong(int row);
    // True while a load or a search runs (its events run meanwhile).
    bool running() const { return running_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Keeps a load or search from starting while another runs: they let window events run.
    class RunningGuard {
      public:
        explicit RunningGuard(bool& running) : running_(running) { running_ = true; }
        ~RunningGuard() { running_ = false; }
        RunningGuard(const RunningGuard&) = delete;
        RunningGuard& operator=(const RunningGuard&) = delete;

      private:
        bool& running_;
    };

    void connectControls();
    void watchTyping();
    bool searchBoxKeyReleased(QKeyEvent* key);
    bool redirectTyping(QKeyEvent* key);
    void updateOptionsOnKeyUp();
    void applyOptionStates(bool searchAllEnabled, bool searchLyricEnabled);
    void optionToggled(bool searchAllBox, bool checked);
    void cancelSearch();
    void artistPicked(int index);
    void turnPage(bool forward);
    void showPage(const PageView& page);
    void showPageControls(const PageControls& controls);
    void showResult(const SearchResult& result);
    void showDetail(const SongDetail& detail);
    void setSongButtonsEnabled(bool enabled);
    void focusSearchBoxAtEnd();

    SearchOptions options() const;
    std::string query() const;  // the search box's text, code page 874
    SearchSession::BuildSongList buildSongList();
    bool defaultRebuild();

    MainWindow& window_;
    SearchPanelView view_;
    SearchSession session_;
    std::function<bool()> rebuild_;
    bool running_ = false;
    bool enterPressedInBox_ = false;
    int rowShownOnPress_ = -1;
};

// The window's search controller (null before attachCatalogue).
SearchController* searchControllerOf(MainWindow& window);

// Connects the search panel to the catalogue; the program calls it once for its window.
void attachCatalogue(MainWindow& window);

}  // namespace dadaz
