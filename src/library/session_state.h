#pragma once

#include <atomic>
#include <string>
#include <utility>

namespace dadaz {

// The song the user selected last (UTF-8): its code and, in the multi-folder layout, its
// volume folder. Both are set at once, so an operation never pairs one song's code with
// another song's volume.
class CurrentSong {
  public:
    CurrentSong() = default;
    CurrentSong(std::string code, std::string volume)
        : code_(std::move(code)), volume_(std::move(volume)) {}
    const std::string& code() const { return code_; }
    const std::string& volume() const { return volume_; }

  private:
    std::string code_;
    std::string volume_;
};

// State the main window keeps from start to close and that several runs share.
struct SessionState {
    bool songsAdded = false;
    bool songsRenamed = false;
    bool songsRemoved = false;
    bool songListCurrent = false;
    std::atomic<bool> stopRequested{false};
    bool duplicateSearchActive = false;
    // Set only for the length of a song list run for this program's own list (the list
    // panel's first choice, the catalogue's rebuild offers): SongList.txt alone, without the
    // player database and its messages.
    bool catalogueRequested = false;
    bool catalogueLoaded = false;
    bool makeKarAvailable = false;
    bool folderNameFirst = true;
    CurrentSong currentSong;

    bool libraryChanged() const { return songsAdded || songsRenamed || songsRemoved; }
};

}  // namespace dadaz
