#include "platform/shortpath.h"

#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/filesystem.h"

namespace dadaz {

// Short names of one folder's entries, as a DOS program sees them in a folder mounted by
// DOSBox. Names are taken in the folder's listing order (upper-cased names in byte order):
//  1. A name that is already a valid 8.3 name once upper-cased (stem of 1 to 8 and an optional
//     extension of 1 to 3 DOS characters: A-Z 0-9 ! # $ % & ' ( ) - @ ^ _ ` { } ~) is that
//     name upper-cased, unless an earlier entry (one differing only in case) has it already.
//  2. Any other name: upper-cased, leading dots dropped, stem = the text before the first dot,
//     extension = the text after the last dot, every character outside the DOS set (blanks,
//     dots, "+", "[", non-ASCII bytes...) removed, the extension cut to 3. The short name is
//     the stem's first 6 characters ("_" when none is left), "~", a number, then "." and the
//     extension when there is one. The number counts the names of this kind whose stems begin
//     with the same 6 characters, whatever their extension: the first gets ~1, the next ~2.
//     From ~10 on the stem gives up one more character so the name stays within 8. A number
//     whose name is already taken is skipped.
// DOSBox keeps some characters DOS cannot type and numbers names in the host's own listing
// order; the fixed listing order here gives every run the same names.
namespace {

// Short names of the entries of one folder whose short name is not simply their name
// upper-cased, by real name.
using FolderNames = std::unordered_map<std::string, std::string>;

bool isDosNameChar(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '!':
        case '#':
        case '$':
        case '%':
        case '&':
        case '\'':
        case '(':
        case ')':
        case '-':
        case '@':
        case '^':
        case '_':
        case '`':
        case '{':
        case '}':
        case '~':
            return true;
        default:
            return false;
    }
}

bool allDosChars(std::string_view text) {
    for (char c : text) {
        if (!isDosNameChar(c)) return false;
    }
    return true;
}

// `upper` is an upper-cased name.
bool isValidShortName(std::string_view upper) {
    const std::size_t dot = upper.find('.');
    const std::string_view stem = upper.substr(0, dot);
    if (stem.empty() || stem.size() > 8 || !allDosChars(stem)) return false;
    if (dot == std::string_view::npos) return true;
    const std::string_view extension = upper.substr(dot + 1);
    return !extension.empty() && extension.size() <= 3 && allDosChars(extension);
}

std::string keepDosChars(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (isDosNameChar(c)) kept += c;
    }
    return kept;
}

struct LongNameParts {
    std::string stem;       // DOS characters of the stem
    std::string extension;  // at most 3 DOS characters, possibly empty
};

LongNameParts splitLongName(std::string_view upper) {
    while (!upper.empty() && upper.front() == '.') upper.remove_prefix(1);
    const std::size_t firstDot = upper.find('.');
    const std::size_t lastDot = upper.rfind('.');
    LongNameParts parts;
    parts.stem = keepDosChars(upper.substr(0, firstDot));
    if (parts.stem.empty()) parts.stem.push_back('_');
    if (lastDot != std::string_view::npos) {
        parts.extension = keepDosChars(upper.substr(lastDot + 1)).substr(0, 3);
    }
    return parts;
}

FolderNames shortNamesOf(const FileSystem& fs, const std::string& realFolder) {
    const std::vector<DirEntry> entries = fs.list(realFolder);
    FolderNames names;
    std::unordered_set<std::string> taken;
    std::vector<std::size_t> longNames;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string upper = upperAscii(entries[i].name);
        if (!isValidShortName(upper) || !taken.insert(upper).second) longNames.push_back(i);
    }
    std::unordered_map<std::string, int> counters;  // by the stem's first 6 characters
    for (const std::size_t i : longNames) {
        const LongNameParts parts = splitLongName(upperAscii(entries[i].name));
        int& number = counters[parts.stem.substr(0, 6)];
        std::string candidate;
        do {
            const std::string digits = std::to_string(++number);
            const std::size_t room = digits.size() < 7 ? 7 - digits.size() : 0;
            candidate = parts.stem.substr(0, room) + "~" + digits;
            if (!parts.extension.empty()) candidate += "." + parts.extension;
        } while (!taken.insert(candidate).second);
        names.emplace(entries[i].name, std::move(candidate));
    }
    return names;
}

std::optional<std::string> shortNameIn(const FolderNames& names, const std::string& realName) {
    const auto found = names.find(realName);
    if (found != names.end()) return found->second;
    std::string upper = upperAscii(realName);
    if (isValidShortName(upper)) return upper;
    return std::nullopt;  // a long name the folder did not have when it was read
}

}  // namespace

// A path cut lexically into components, "." and ".." worked out.
struct DosDriveTable::Components {
    bool absolute = false;
    std::vector<std::string> parts;

    explicit Components(std::string_view path) : absolute(!path.empty() && path[0] == '/') {
        std::size_t at = 0;
        while (at <= path.size()) {
            const std::size_t end = std::min(path.find('/', at), path.size());
            const std::string_view part = path.substr(at, end - at);
            if (part == "..") {
                if (!parts.empty() && parts.back() != "..") {
                    parts.pop_back();
                } else if (!absolute) {
                    parts.emplace_back(part);
                }
            } else if (!part.empty() && part != ".") {
                parts.emplace_back(part);
            }
            at = end + 1;
        }
    }

    bool startsWith(const Components& folder) const {
        if (absolute != folder.absolute || folder.parts.size() > parts.size()) return false;
        for (std::size_t i = 0; i < folder.parts.size(); ++i) {
            if (parts[i] != folder.parts[i]) return false;
        }
        return true;
    }

    std::string folderOf(std::size_t count) const {
        std::string folder = absolute ? "/" : "";
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) folder += '/';
            folder += parts[i];
        }
        return folder.empty() ? "." : folder;
    }
};

struct DosDriveTable::NameCache {
    std::mutex mutex;
    std::unordered_map<std::string, FolderNames> folders;  // by real folder path
    std::unordered_map<std::string, Components> roots;     // drive folders as resolved
};

DosDriveTable::DosDriveTable() : names_(std::make_shared<NameCache>()) {}

DosDriveTable::DosDriveTable(std::string programFolder) : DosDriveTable() {
    map('C', std::move(programFolder));
}

DosDriveTable DosDriveTable::fromSetting(std::string_view setting,
                                         const std::string& programFolder) {
    DosDriveTable table;
    while (!setting.empty()) {
        const std::size_t end = std::min(setting.find('\n'), setting.size());
        std::string_view line = setting.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // edited on Windows
        table.mapFromSpec(line);
        setting.remove_prefix(std::min(end + 1, setting.size()));
    }
    if (table.drives_.empty()) table.map('C', programFolder);
    return table;
}

std::string DosDriveTable::setting() const {
    std::string text;
    for (const auto& [letter, folder] : drives_) {
        if (!text.empty()) text += '\n';
        text += letter;
        text += '=';
        text += folder;
    }
    return text;
}

void DosDriveTable::map(char drive, std::string folder) {
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    // A line break would split the setting's line.
    if (drive < 'A' || drive > 'Z' || folder.empty() || folder.find('\n') != std::string::npos) {
        return;
    }
    drives_[drive] = std::move(folder);
}

void DosDriveTable::unmap(char drive) {
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    drives_.erase(drive);
}

char DosDriveTable::nextFreeLetter() const {
    // A: and B: are the floppy drives of DOS.
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!drives_.contains(letter)) return letter;
    }
    return 0;
}

bool DosDriveTable::mapFromSpec(std::string_view spec) {
    if (spec.size() < 3 || spec[1] != '=') return false;
    const char drive = spec[0];
    const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    if (!letter) return false;
    map(drive, std::string(spec.substr(2)));
    return true;
}

void DosDriveTable::forgetShortNames() {
    std::lock_guard lock(names_->mutex);
    names_->folders.clear();
    names_->roots.clear();
}

char DosDriveTable::driveHolding(const FileSystem& fs, const Components& target,
                                 std::size_t& rootDepth) const {
    char drive = 0;
    rootDepth = 0;
    for (const auto& [letter, folder] : drives_) {
        auto root = names_->roots.find(folder);
        if (root == names_->roots.end()) {
            const std::optional<std::string> realFolder = fs.resolve(folder);
            if (!realFolder) continue;  // may appear later: not remembered
            root = names_->roots.emplace(folder, Components(*realFolder)).first;
        }
        const std::size_t depth = root->second.parts.size();
        if (target.startsWith(root->second) && (drive == 0 || depth > rootDepth)) {
            drive = letter;
            rootDepth = depth;
        }
    }
    return drive;
}

char DosDriveTable::mapFolderHolding(const FileSystem& fs,
                                     const std::vector<std::string>& folders) {
    std::optional<Components> common;
    bool outside = false;
    {
        std::lock_guard lock(names_->mutex);
        for (const std::string& folder : folders) {
            const std::optional<std::string> real = fs.resolve(folder);
            if (!real) continue;
            const Components target(*real);
            std::size_t depth = 0;
            if (driveHolding(fs, target, depth) == 0) outside = true;
            if (!common) {
                common = target;
                continue;
            }
            std::size_t shared = 0;
            while (shared < common->parts.size() && shared < target.parts.size() &&
                   common->parts[shared] == target.parts[shared]) {
                ++shared;
            }
            common->parts.resize(shared);
        }
    }
    const char letter = nextFreeLetter();
    if (!outside || !common || letter == 0) return 0;
    map(letter, common->folderOf(common->parts.size()));
    return letter;
}

std::string DosDriveTable::shortPath(const FileSystem& fs, std::string_view path) const {
    const std::optional<std::string> real = fs.resolve(path);
    if (!real) return "";
    const Components target(*real);

    std::lock_guard lock(names_->mutex);
    // The deepest mapped folder holding the path gives the drive.
    std::size_t rootDepth = 0;
    const char drive = driveHolding(fs, target, rootDepth);
    if (drive == 0) return "";

    std::string result{drive, ':', '\\'};
    std::string folder = target.folderOf(rootDepth);
    for (std::size_t depth = rootDepth; depth < target.parts.size(); ++depth) {
        const std::string& name = target.parts[depth];
        auto cached = names_->folders.find(folder);
        bool fresh = false;
        if (cached == names_->folders.end()) {
            cached = names_->folders.emplace(folder, shortNamesOf(fs, folder)).first;
            fresh = true;
        }
        std::optional<std::string> shortName = shortNameIn(cached->second, name);
        if (!shortName && !fresh) {
            cached->second = shortNamesOf(fs, folder);  // the folder changed since it was read
            shortName = shortNameIn(cached->second, name);
        }
        if (!shortName) return "";
        if (depth > rootDepth) result += '\\';
        result += *shortName;
        if (folder.back() != '/') folder += '/';
        folder += name;
    }
    return result;
}

}  // namespace dadaz
