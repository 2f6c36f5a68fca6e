#include "library/song_paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <unordered_set>

#include "library/song_code.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

std::string_view volumeSubFolder(SongFileKind kind) {
    switch (kind) {
        case SongFileKind::Midi:
            return "SONG";
        case SongFileKind::Lyric:
            return "LYRICS";
        case SongFileKind::Cursor:
            return "CURSOR";
    }
    return {};
}

bool isPlainName(std::string_view name) {
    // A NUL ends the path where the system reads it: "..\0" would name the root's parent.
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// The path with every link followed; nothing when it does not exist.
std::optional<std::string> canonicalPath(const FileSystem& fs, const std::string& path) {
    const auto real = fs.resolve(path);
    if (!real) return std::nullopt;
    char* full = ::realpath(real->c_str(), nullptr);
    if (!full) return std::nullopt;
    std::string text(full);
    std::free(full);
    return text;
}

}  // namespace

bool isMultiFolderLayout(const Folders& folders) {
    return folders.midi == folders.lyric && folders.lyric == folders.cursor;
}

std::string_view songFileExtension(SongFileKind kind) {
    switch (kind) {
        case SongFileKind::Midi:
            return ".MID";
        case SongFileKind::Lyric:
            return ".LYR";
        case SongFileKind::Cursor:
            return ".CUR";
    }
    return {};
}

SongPaths::SongPaths(const FileSystem& fs, Folders folders)
    : fs_(fs), folders_(std::move(folders)), multiFolder_(isMultiFolderLayout(folders_)) {}

std::string SongPaths::songFolder(SongFileKind kind, std::string_view volume) const {
    if (multiFolder_) {
        if (!isVolumeOfRoot(volume)) return {};
        return joinPath(volume, volumeSubFolder(kind));
    }
    switch (kind) {
        case SongFileKind::Midi:
            return folders_.midi;
        case SongFileKind::Lyric:
            return folders_.lyric;
        case SongFileKind::Cursor:
            return folders_.cursor;
    }
    return {};
}

std::string SongPaths::path(SongFileKind kind, std::string_view code,
                            std::string_view volume) const {
    if (!isSafeCode(code)) return {};
    const std::string folder = songFolder(kind, volume);
    if (folder.empty()) return {};
    std::string file(code);
    file += songFileExtension(kind);
    return joinPath(joinPath(folder, firstCharacterFolder(code)), file);
}

std::optional<std::string> SongPaths::find(SongFileKind kind, std::string_view code,
                                           std::string_view volume) const {
    const std::string built = path(kind, code, volume);
    if (built.empty()) return std::nullopt;
    auto real = fs_.resolve(built);
    if (real && !fs_.isFile(*real)) return std::nullopt;
    return real;
}

std::vector<std::string> SongPaths::volumes() const {
    std::vector<std::string> result;
    if (!multiFolder_) return result;
    for (const DirEntry& entry : fs_.listFolders(root())) {
        const std::string volume = joinPath(root(), entry.name);
        if (fs_.isFolder(joinPath(volume, "LYRICS")) && fs_.leadsInside(volume, root()))
            result.push_back(volume);
    }
    return result;
}

std::vector<LyricFolder> SongPaths::lyricFolders() const {
    std::vector<LyricFolder> result;
    // Every folder once, under its own name: a link out of the library, back to a folder
    // above, or to another first-character folder (whose songs would be listed, or taken
    // for incomplete, twice) is no first-character folder.
    const auto base = canonicalPath(fs_, multiFolder_ ? root() : folders_.lyric);
    if (!base) return result;
    std::unordered_set<std::string> scanned;
    std::vector<std::pair<std::string, LyricFolder>> linked;
    auto addSubFolders = [&](const std::string& parent, const std::string& volume) {
        const auto real = fs_.resolve(parent);
        if (!real) return;
        for (const DirEntry& entry : fs_.listFolders(*real)) {
            const std::string path = joinPath(*real, entry.name);
            const auto canonical = canonicalPath(fs_, path);
            if (!canonical || !canonical->starts_with(*base + "/")) continue;
            struct stat status;
            if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
                linked.push_back({*canonical, {path, entry.name, volume}});
            } else if (scanned.insert(*canonical).second) {
                result.push_back({path, entry.name, volume});
            }
        }
    };
    if (multiFolder_) {
        for (const std::string& volume : volumes())
            addSubFolders(joinPath(volume, "LYRICS"), volume);
    } else {
        addSubFolders(folders_.lyric, {});
    }
    // A link to a folder no other name reaches is that folder's only way in.
    for (auto& [canonical, folder] : linked) {
        if (canonical.find('/', base->size() + 1) == std::string::npos ||
            !scanned.insert(canonical).second)
            continue;
        result.push_back(std::move(folder));
    }
    return result;
}

std::string SongPaths::partnerPath(SongFileKind kind, const LyricFolder& folder,
                                   std::string_view code) const {
    if (multiFolder_) return path(kind, code, folder.volume);
    if (!isSafeCode(code) || !isPlainName(folder.name)) return {};
    const std::string& base = kind == SongFileKind::Cursor ? folders_.cursor : folders_.midi;
    std::string file(code);
    file += songFileExtension(kind);
    return joinPath(joinPath(base, folder.name), file);
}

std::optional<std::string> SongPaths::findPartner(SongFileKind kind, const LyricFolder& folder,
                                                  std::string_view code) const {
    const std::string built = partnerPath(kind, folder, code);
    if (built.empty()) return std::nullopt;
    auto real = fs_.resolve(built);
    if (real && !fs_.isFile(*real)) return std::nullopt;
    return real;
}

bool SongPaths::leadsOutOfLibrary(SongFileKind kind, std::string_view path) const {
    const std::string_view folder = path.substr(0, path.rfind('/'));
    const std::string& base = multiFolder_                  ? root()
                              : kind == SongFileKind::Midi  ? folders_.midi
                              : kind == SongFileKind::Lyric ? folders_.lyric
                                                            : folders_.cursor;
    return fs_.isFolder(folder) && !fs_.leadsInside(folder, base);
}

bool SongPaths::isVolumeOfRoot(std::string_view volume) const {
    // The root as typed may end in "/"; the volumes listed under it never carry two.
    std::string_view rootText = root();
    while (rootText.size() > 1 && rootText.back() == '/') rootText.remove_suffix(1);
    if (rootText.empty() || volume.size() <= rootText.size() + 1) return false;
    const std::string_view head = volume.substr(0, rootText.size());
    if (upperAscii(head) != upperAscii(rootText)) return false;
    if (volume[rootText.size()] != '/') return false;
    if (!isPlainName(volume.substr(rootText.size() + 1))) return false;
    // Written in another case it must still be the root on disk: a folder beside it whose name
    // differs only in case is another library.
    return head == rootText || fs_.resolve(head) == fs_.resolve(rootText);
}

}  // namespace dadaz
