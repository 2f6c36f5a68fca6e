#include "operations/favourites.h"

#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace dadaz {

std::string favouritesHeader() {
    return utf8ToCp874("รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง");
}

FavouritesFile::FavouritesFile(FileSystem& fs, std::string_view programFolder)
    : fs_(fs), path_(joinPath(programFolder, kFavouritesFileName)) {}

std::string FavouritesFile::path() const {
    return fs_.resolve(path_).value_or(path_);
}

bool FavouritesFile::exists() const {
    return fs_.isFile(path_);
}

std::optional<std::vector<std::string>> FavouritesFile::read() const {
    if (!exists()) return std::nullopt;
    return fs_.readLines(path_);
}

bool FavouritesFile::write(const std::vector<std::string>& lines) {
    // Unread, the folder may hold the list under another case: a second list would be made.
    if (!exists() && fs_.unreadableFolders() > 0) return false;
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return fs_.writeFileAtomic(path_, bytes);
}

FavouriteAdd FavouritesFile::add(std::string_view songLine) {
    std::string bytes;
    if (exists()) {
        auto stored = fs_.readFile(path_);
        if (!stored) return FavouriteAdd::Failed;  // never write over a list we cannot read
        bytes = std::move(*stored);
        // Thai letters have no case; ASCII case is all there is to ignore.
        const std::string wanted = upperAscii(songLine);
        for (const std::string& line : splitLines(bytes)) {
            if (upperAscii(line) == wanted) return FavouriteAdd::AlreadyChosen;
        }
        if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
    } else if (fs_.unreadableFolders() > 0) {
        return FavouriteAdd::Failed;  // the list may be there unseen: never write a new one
    } else {
        bytes = favouritesHeader() + "\r\n";
    }
    bytes.append(songLine);
    bytes += "\r\n";
    return fs_.writeFileAtomic(path_, bytes) ? FavouriteAdd::Added : FavouriteAdd::Failed;
}

FavouriteMessage favouriteAddMessage(FavouriteAdd result, const std::string& path) {
    switch (result) {
        case FavouriteAdd::Added:
            return {MessageIcon::Information, "เพิ่มเพลงไว้ในรายการเพลงโปรดเรียบร้อยแล้วครับ"};
        case FavouriteAdd::AlreadyChosen:
            return {MessageIcon::Exclamation, "เพลงนี้ท่านได้เลือกไว้แล้วครับ..."};
        case FavouriteAdd::Failed:
            break;
    }
    return {MessageIcon::Critical,
            "ไม่สามารถเพิ่มเพลงไว้ในรายการเพลงโปรดได้...\n\nไม่สามารถอ่านหรือบันทึกแฟ้ม " + path};
}

}  // namespace dadaz
