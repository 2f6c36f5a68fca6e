#pragma once

namespace dadaz {

class MainWindow;

// Connects the program's features (song list, catalogue search, playback) to the window's
// controls. The program calls it once after making the window; window tests call it when
// they drive a feature.
void attachFeatures(MainWindow& window);

}  // namespace dadaz
