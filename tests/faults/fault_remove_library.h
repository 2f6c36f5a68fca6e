#pragma once

// A small generated library for the fault runs of the song operations, the songs they work
// on, and a prompt that answers every message and keeps its text.

#include <string>
#include <vector>

#include "generator/library_generator.h"
#include "library/folders.h"
#include "library/session_state.h"
#include "library_state.h"
#include "platform/prompt.h"

namespace dadaz::testing {

struct PickedSong {
    std::string code;
    std::string volume;              // volume folder name, multi-folder layout
    std::vector<std::string> files;  // MIDI, lyric, cursor, relative to the program folder
};

class SongLibrary {
  public:
    explicit SongLibrary(GeneratorLayout layout) : layout_(layout) {}

    // Generates the library in `programFolder` and picks `count` songs spread over it, each
    // whole, its bytes found nowhere else, and no two sharing a code.
    void make(const std::string& programFolder, std::size_t count);

    // Gives the picked songs' files lower-case extensions, as older copies of songs have.
    void lowerExtensions(const std::string& programFolder);

    Folders folders(const std::string& programFolder, const std::string& moveTo = {}) const;
    std::vector<CurrentSong> songs(const std::string& programFolder) const;
    const std::vector<PickedSong>& picked() const { return picked_; }
    bool multiFolder() const { return layout_ == GeneratorLayout::Multi; }
    // A file of a picked song.
    PathFilter pickedFiles() const;
    // The library as made.
    const TreeState& before() const { return before_; }

  private:
    GeneratorLayout layout_;
    std::string midi_, lyric_, cursor_;  // relative to the program folder ("" for itself)
    std::vector<PickedSong> picked_;
    TreeState before_;
};

// The picked songs whose files are not all gone from their places in `programFolder`, and
// which the message `message` does not name.
std::vector<std::string> unnamedStayingSongs(const SongLibrary& library,
                                             const std::string& programFolder,
                                             const std::string& message);

// Hidden files the run left in `programFolder` that the message does not name.
std::vector<std::string> unnamedLeftovers(const SongLibrary& library,
                                          const std::string& programFolder,
                                          const std::string& message);

}  // namespace dadaz::testing
