#pragma once

namespace dadaz {

class MainWindow;

// The song operation buttons of the search panel; the program calls attachSongOperations once
// for its window, after the catalogue is attached.
void attachSongOperations(MainWindow& window);

// Each operation's wiring, in a file of its own.
void attachRemoveSongs(MainWindow& window);  // btnDeleteSong, btnMoveSong, chkConfirmRemove
void attachReplaceSong(MainWindow& window);  // btnReplaceSong
void attachLyricEditor(MainWindow& window);  // btnEditLyric and the lyric editor's controls
void attachFavourites(MainWindow& window);   // btnAddSelectList, btnOpenSelectList
void attachExportSong(MainWindow& window);   // btnExportSong

}  // namespace dadaz
