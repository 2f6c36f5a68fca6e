#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

namespace dadaz {

class ToolTip;

// The long help texts of the main window's controls (object name, text with lines separated
// by "\n"), shown by the window's tooltip object.
const std::vector<std::pair<QString, QString>>& mainWindowHelpTexts();

// Makes the tooltip window on `form` (wrapping at 240 pixels, each tip staying 20 s),
// registers every control under `root` and gives the help texts to theirs.
void installHelpTexts(ToolTip& tips, QWidget* form, QWidget* root);

// The tooltips of fraDateTime for each state of the always-on-top switch.
QString alwaysOnTopOffTip();
QString alwaysOnTopOnTip();

}  // namespace dadaz
