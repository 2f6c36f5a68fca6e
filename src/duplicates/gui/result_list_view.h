#pragma once

#include <QListWidget>
#include <string>
#include <vector>

#include "duplicates/duplicate_search.h"
#include "library/folders.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace dadaz {

class FileSystem;

// The duplicate result list as a QListWidget in multi-selection: a selected line is a marked
// one, so a click toggles the mark. Lines are code page 874 in the core, Unicode on screen.
std::vector<ResultLine> readResultList(const QListWidget* list);
void fillResultList(QListWidget* list, const std::vector<ResultLine>& lines);
void applyMarks(QListWidget* list, const std::vector<ResultLine>& lines);
std::string resultLineAt(const QListWidget* list, int row);
std::size_t markedLines(const QListWidget* list);

// A click's shared part: a separator never stays marked (false: nothing more to do).
bool unmarkSeparator(QListWidgetItem* item);
// The song's lyric file as text into the box (empty when it cannot be read).
void showLyric(FileSystem& fs, const Folders& folders, const std::string& line,
               QPlainTextEdit* box);
// A double click or a key press in the list starts `timer` (the deferred recount).
void armOnKeyOrDoubleClick(QListWidget* list, QTimer* timer);

// The list's look while songs are removed: grey, and back to the lyric box's background.
void greyList(QListWidget* list, bool grey, const QWidget* lyricBox);

}  // namespace dadaz
