#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompt.h"

namespace dadaz {

class FileSystem;

inline constexpr const char* kFavouritesFileName = "SelectSong.txt";
inline constexpr const char* kFavouritesMissing = "ไม่พบแฟ้มเก็บบันทึกรายการเพลงโปรดที่เลือกไว้แล้ว...";

enum class FavouriteAdd { Added, AlreadyChosen, Failed };

// The favourites list "SelectSong.txt" in the program folder: song lines in code page 874,
// each ended by CR LF; a list made here starts with a header line. Every write puts the whole
// list beside the old file and renames it over, so the list is never lost half written.
class FavouritesFile {
  public:
    FavouritesFile(FileSystem& fs, std::string_view programFolder);

    // The file's path (its real name when it exists in another case).
    std::string path() const;
    bool exists() const;
    // The lines as stored (code page 874); nothing when missing or unreadable.
    std::optional<std::vector<std::string>> read() const;
    // Writes the list anew with exactly these lines.
    bool write(const std::vector<std::string>& lines);

    // Appends a song line (code page 874) unless a line of the file, the header included,
    // equals it without regard to case; a new file gets the header first.
    FavouriteAdd add(std::string_view songLine);

  private:
    FileSystem& fs_;
    std::string path_;
};

// The header line of a new list, code page 874.
std::string favouritesHeader();

// What the user is told after an add.
struct FavouriteMessage {
    MessageIcon icon;
    std::string text;
};
FavouriteMessage favouriteAddMessage(FavouriteAdd result, const std::string& path);

}  // namespace dadaz
