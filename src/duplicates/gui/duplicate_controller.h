#pragma once

#include <QObject>

#include "duplicates/duplicate_keys.h"
#include "operations/song_removal.h"

namespace dadaz {

class MainWindow;

// The duplicate frame of the main window: the search, the marks and their counters, the lyric
// of the clicked song, the selection file, the removal of the marked songs and the second
// window. One per window, a child of it.
class DuplicateController : public QObject {
    Q_OBJECT
  public:
    explicit DuplicateController(MainWindow& window);

    void search();
    // The list's click handling: `row` is the clicked line (-1: none, only the counts).
    void lineClicked(int row);
    void saveSelection();
    void clearMarks();
    void removeMarked(RemovalKind kind);
    void showNewWindow();
    // Entering the duplicate mode: offer the saved selection.
    void offerSelection();

    DuplicateCriterion criterion() const;

  private:
    // Labels and the four action buttons from the number of marked lines.
    void showMarkedCount();

    MainWindow& window_;
    // The criterion of the last search: what counts as one song for the every-copy question.
    DuplicateCriterion searchedBy_ = DuplicateCriterion::Title;
    bool removing_ = false;
};

// Wires the duplicate frame; the program calls it once for its window.
DuplicateController* attachDuplicates(MainWindow& window);

}  // namespace dadaz
