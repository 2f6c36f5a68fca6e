#pragma once

#include <atomic>

namespace dadaz {

// State the main window keeps from start to close and that several runs share.
struct SessionState {
    bool songsAdded = false;
    bool songsRenamed = false;
    bool songsRemoved = false;
    bool songListCurrent = false;
    std::atomic<bool> stopRequested{false};
    bool duplicateSearchActive = false;
    bool catalogueRequested = false;
    bool catalogueLoaded = false;
    bool makeKarAvailable = false;
    bool folderNameFirst = true;

    bool libraryChanged() const { return songsAdded || songsRenamed || songsRemoved; }
};

}  // namespace dadaz
