#include "operations/gui/song_operations.h"

namespace dadaz {

void attachRemoveSongs(MainWindow&) {}

}  // namespace dadaz
