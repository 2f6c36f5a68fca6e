#include "operations/gui/song_operations.h"

namespace dadaz {

void attachLyricEditor(MainWindow&) {}

}  // namespace dadaz
