#include "operations/gui/song_operations.h"

namespace dadaz {

void attachFavourites(MainWindow&) {}

}  // namespace dadaz
