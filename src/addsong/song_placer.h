#pragma once

#include <array>
#include <set>
#include <string>

#include "library/folders.h"

namespace dadaz {

class FileSystem;

// Puts a song's three files into the library without ever replacing a file: each is copied
// to a temporary name beside its target, and only when all three copies are complete are
// they renamed into place (the lyric first), each rename refusing a taken name. A song that
// cannot be placed whole leaves nothing behind. The folders that may hold temporary files
// are noted in a journal in the program folder before the first copy into them, so that a
// run which was killed leaves nothing the next run does not find and remove.
class SongPlacer {
  public:
    struct File {
        std::string from;    // the source file
        std::string folder;  // the library folder it goes into
        std::string name;    // its name there
    };
    enum class Outcome { Placed, Taken, Failed };

    SongPlacer(FileSystem& fs, std::string programFolder);

    // Removes the temporary files a killed run left in the folders its journal names, as far
    // as they are first-character folders of `folders` (the journal is text on disk); the
    // copies of a song killed among its renames, its lyric in place, take their names instead.
    void removeLeftovers(const Folders& folders);
    // Lyric, music and cursor file, in this order.
    Outcome place(const std::array<File, 3>& files);
    // The run is over: nothing of it is left to clean up.
    void finish();

  private:
    bool note(const std::string& folder);

    FileSystem& fs_;
    std::string journalPath_;
    std::set<std::string> noted_;
};

// The name a file has while it is copied in: hidden, ending in ".tmp", never a song's name.
std::string temporaryName(const std::string& name);
bool isTemporaryName(const std::string& name);

}  // namespace dadaz
