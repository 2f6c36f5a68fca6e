#include "shell/features.h"

#include "shell/main_window.h"

namespace dadaz {

void attachFeatures(MainWindow& window) {
    (void)window;  // features attach here as they are wired
}

}  // namespace dadaz
