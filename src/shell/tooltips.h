#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

namespace dadaz {

// The long help texts of the main window's controls (object name, text with lines separated
// by "\n"). They belong to the window's tooltip object, which takes its maximum width (240)
// and show time (20 s) from the window; until it exists they are plain widget tooltips.
const std::vector<std::pair<QString, QString>>& mainWindowHelpTexts();

// Sets every help text on the control of that name under `root`.
void installHelpTexts(QWidget* root);

// The tooltips of fraDateTime for each state of the always-on-top switch.
QString alwaysOnTopOffTip();
QString alwaysOnTopOnTip();

}  // namespace dadaz
