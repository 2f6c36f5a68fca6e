#include "operations/gui/song_operations.h"

namespace dadaz {

void attachSongOperations(MainWindow& window) {
    attachRemoveSongs(window);
    attachReplaceSong(window);
    attachLyricEditor(window);
    attachFavourites(window);
    attachExportSong(window);
}

}  // namespace dadaz
