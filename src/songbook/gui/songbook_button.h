#pragma once

namespace dadaz {

class MainWindow;

// The list panel's btnSongBook: prints SongList.txt as SongBook.pdf in the program folder
// and opens it. The program calls it once for its window.
void attachSongBook(MainWindow& window);

}  // namespace dadaz
