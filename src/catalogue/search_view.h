#pragma once

#include <string>

namespace dadaz {

// What the search panel shows while the catalogue loads or a search runs. The window
// implements it over its controls, tests record it, the command-line tool ignores it. The
// final state of a search (result lines, counts, page controls, options) comes back as the
// search's result instead.
class SearchView {
  public:
    virtual ~SearchView() = default;
    // lblSongSearchResult shows `text` (UTF-8) and is made visible.
    virtual void showResultLine(const std::string& text) { (void)text; }
    virtual void hideResultLine() {}
    // Loading begins: the artist box is hidden and emptied and the result list placed at the
    // top of the panel; the result list is emptied; the blinking notice (Timer2) starts and
    // btnCancelSearch shows.
    virtual void loadingStarted() {}
    // Loading ends: the blinking notice stops and txtLoadingSong hides.
    virtual void loadingEnded() {}
    // A search begins: the result list is disabled and emptied, btnCancelSearch shows, both
    // options are disabled; for a query that is not empty the page controls hide.
    virtual void searchStarted(bool browsing) { (void)browsing; }
    // The artist list begins: cboArtist shows with the text "กรุณารอสักครู่..." and the result
    // list moves below it.
    virtual void artistListStarted() {}
};

}  // namespace dadaz
