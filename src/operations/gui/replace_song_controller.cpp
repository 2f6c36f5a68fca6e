#include "operations/gui/song_operations.h"

namespace dadaz {

void attachReplaceSong(MainWindow&) {}

}  // namespace dadaz
