#include "platform/filesystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/filesystem_posix.h"
#include "platform/sys_io.h"

namespace dadaz {

using fsdetail::childPath;

namespace {

char upperByte(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A path cut into where it starts ("/" or the working folder ".") and its components; empty
// components and "." are dropped. Nothing for an empty path or one holding a NUL byte, which
// the system would cut short.
struct PathParts {
    std::string start;
    std::vector<std::string_view> components;
};

std::optional<PathParts> splitPath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    PathParts parts;
    parts.start = std::string(1, path.front() == '/' ? '/' : '.');
    std::size_t at = 0;
    while (at <= path.size()) {
        std::size_t end = std::min(path.find('/', at), path.size());
        std::string_view component = path.substr(at, end - at);
        if (!component.empty() && component != ".") parts.components.push_back(component);
        at = end + 1;
    }
    return parts;
}

// Every stem a "stem.*" pattern can match in an upper-cased name: each text before a ".".
template <typename Visit>
void forEachStem(const std::string& upperName, Visit visit) {
    for (std::size_t dot = upperName.find('.', 1); dot != std::string::npos;
         dot = upperName.find('.', dot + 1))
        visit(upperName.substr(0, dot));
}

template <typename Index>
void addStems(Index& index, const std::string& upperName) {
    forEachStem(upperName, [&](std::string stem) {
        index.byStem.try_emplace(std::move(stem)).first->second.push_back(upperName);
    });
}

template <typename Index>
void dropStems(Index& index, const std::string& upperName) {
    forEachStem(upperName, [&](const std::string& stem) {
        auto found = index.byStem.find(stem);
        if (found == index.byStem.end()) return;
        std::erase(found->second, upperName);
        if (found->second.empty()) index.byStem.erase(found);
    });
}

}  // namespace

FileSystem::FolderIndex& FileSystem::indexOf(const std::string& realFolder) const {
    auto found = indexes_.find(realFolder);
    if (found != indexes_.end()) return found->second;
    FolderIndex& index = indexes_[realFolder];
    DIR* dir = sys::opendir(realFolder.c_str());
    if (!dir) {
        if (errno != ENOENT && errno != ENOTDIR) {
            ++listingFailures_;
            lastUnlisted_ = realFolder;
        }
        return index;
    }
    while (dirent* raw = ::readdir(dir)) {
        std::string_view name = raw->d_name;
        if (name == "." || name == "..") continue;
        Entry entry{std::string(name)};
        if (raw->d_type == DT_DIR) {
            entry.isFolder = true;
        } else if (raw->d_type != DT_REG) {
            // Links count as what they point to; anything else is neither file nor folder.
            struct stat status;
            if (::fstatat(::dirfd(dir), raw->d_name, &status, 0) != 0) continue;
            if (S_ISDIR(status.st_mode)) {
                entry.isFolder = true;
            } else if (S_ISREG(status.st_mode)) {
                entry.size = static_cast<std::uint64_t>(status.st_size);
                entry.sizeKnown = true;
            } else {
                continue;
            }
        }
        std::vector<Entry>& variants = index.byUpper[upperAscii(name)];
        auto place =
            std::lower_bound(variants.begin(), variants.end(), entry.name,
                             [](const Entry& e, const std::string& n) { return e.name < n; });
        variants.insert(place, std::move(entry));
    }
    ::closedir(dir);
    return index;
}

namespace {

// The entry named `name` without regard to ASCII case; an exact match wins, otherwise the
// first variant in byte order.
template <typename Index>
auto findIn(Index& index, std::string_view name) -> decltype(&index.byUpper.begin()->second[0]) {
    auto found = index.byUpper.find(upperAscii(name));
    if (found == index.byUpper.end()) return nullptr;
    for (auto& variant : found->second) {
        if (variant.name == name) return &variant;
    }
    return &found->second.front();
}

// `path` without trailing "/" and "/." (a lone "/" stays).
std::string_view trimEnd(std::string_view path) {
    for (;;) {
        if (path.size() > 1 && path.back() == '/') {
            path.remove_suffix(1);
        } else if (path.size() > 2 && path.ends_with("/.")) {
            path.remove_suffix(2);
        } else {
            return path;
        }
    }
}

}  // namespace

const FileSystem::ResolvedFolder& FileSystem::folderAt(std::string_view folderPath) const {
    auto cached = folders_.find(folderPath);
    if (cached != folders_.end()) return cached->second;
    ResolvedFolder resolved;
    if (auto parts = splitPath(folderPath)) {
        std::string folder = parts->start;
        bool found = true;
        for (std::string_view component : parts->components) {
            if (component == "..") {
                folder = childPath(folder, component);
                continue;
            }
            const Entry* entry = findIn(indexOf(folder), component);
            if (!entry || !entry->isFolder) {
                found = false;
                break;
            }
            folder = childPath(folder, entry->name);
        }
        if (found) {
            resolved.index = &indexOf(folder);
            resolved.real = std::move(folder);
        }
    }
    return folders_.emplace(std::string(folderPath), std::move(resolved)).first->second;
}

std::optional<std::string> FileSystem::resolveFolder(std::string_view path) const {
    if (path.empty()) return std::nullopt;
    const ResolvedFolder& folder = folderAt(trimEnd(path));
    if (!folder.index) return std::nullopt;
    return folder.real;
}

std::optional<FileSystem::Located> FileSystem::locate(std::string_view path) const {
    path = trimEnd(path);
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    std::size_t slash = path.rfind('/');
    std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string_view parent = slash == std::string_view::npos ? std::string_view(".")
                              : slash == 0                    ? std::string_view("/")
                                                              : path.substr(0, slash);
    if (last.empty() || last == ".") return std::nullopt;  // "/" or "." itself
    const ResolvedFolder& folder = folderAt(parent);
    if (!folder.index) return std::nullopt;
    if (last == "..") {
        static const Entry parentEntry{"..", true};
        return Located{folder.real, "..", &parentEntry, "..", true};
    }
    const Entry* entry = findIn(*folder.index, last);
    std::string name = entry ? entry->name : std::string(last);
    return Located{folder.real, std::move(name), entry, std::string(last), false};
}

void FileSystem::noteEntry(const std::string& realFolder, const Entry& entry) {
    auto found = indexes_.find(realFolder);
    if (entry.isFolder) folders_.clear();  // a path may now lead to this folder
    if (found == indexes_.end()) return;   // read afresh when first needed
    if (!entry.isFolder && !entry.sizeKnown) found->second.sizesKnown = false;
    const std::string upper = upperAscii(entry.name);
    std::vector<Entry>& variants = found->second.byUpper[upper];
    if (variants.empty() && found->second.stemsKnown) addStems(found->second, upper);
    auto place = std::lower_bound(variants.begin(), variants.end(), entry.name,
                                  [](const Entry& e, const std::string& n) { return e.name < n; });
    if (place != variants.end() && place->name == entry.name) {
        *place = entry;
    } else {
        variants.insert(place, entry);
    }
}

void FileSystem::dropEntry(const std::string& realFolder, std::string_view realName) {
    auto found = indexes_.find(realFolder);
    if (found == indexes_.end()) return;
    auto variants = found->second.byUpper.find(upperAscii(realName));
    if (variants == found->second.byUpper.end()) return;
    std::erase_if(variants->second, [&](const Entry& e) {
        if (e.name != realName) return false;
        if (e.isFolder) folders_.clear();
        return true;
    });
    if (variants->second.empty()) {
        if (found->second.stemsKnown) dropStems(found->second, variants->first);
        found->second.byUpper.erase(variants);
    }
}

std::vector<std::string> FileSystem::stemFileNames(FolderIndex& index,
                                                   const std::string& upperStem) const {
    if (!index.stemsKnown) {
        index.byStem.reserve(index.byUpper.size());
        for (const auto& item : index.byUpper) addStems(index, item.first);
        index.stemsKnown = true;
    }
    std::vector<std::string> names;
    auto found = index.byStem.find(upperStem);
    if (found == index.byStem.end()) return names;
    for (const std::string& upper : found->second) {
        for (const Entry& entry : index.byUpper.at(upper)) {
            if (!entry.isFolder) names.push_back(entry.name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> FileSystem::filesWithStem(std::string_view folder,
                                                   std::string_view stem) const {
    std::vector<std::string> paths;
    if (stem.empty() || stem.find('/') != std::string_view::npos) return paths;
    std::lock_guard lock(mutex_);
    auto real = resolveFolder(folder);
    if (!real) return paths;
    for (const std::string& name : stemFileNames(indexOf(*real), upperAscii(stem)))
        paths.push_back(childPath(*real, name));
    return paths;
}

void FileSystem::forgetFolder(const std::string& realFolder) const {
    folders_.clear();
    const std::string prefix = realFolder + "/";
    std::erase_if(indexes_, [&](const auto& item) {
        return item.first == realFolder || item.first.starts_with(prefix);
    });
}

void FileSystem::forgetIndexes() {
    std::lock_guard lock(mutex_);
    folders_.clear();
    indexes_.clear();
    failuresAtForget_ = listingFailures_;
}

std::size_t FileSystem::unreadableFolders() const {
    std::lock_guard lock(mutex_);
    return listingFailures_ - failuresAtForget_;
}

std::size_t FileSystem::listingFailures() const {
    std::lock_guard lock(mutex_);
    return listingFailures_;
}

std::string FileSystem::lastUnlistedFolder() const {
    std::lock_guard lock(mutex_);
    return lastUnlisted_;
}

std::optional<std::string> FileSystem::resolve(std::string_view path) const {
    std::lock_guard lock(mutex_);
    auto located = locate(path);
    if (located) {
        if (!located->entry) return std::nullopt;
        return childPath(located->folder, located->name);
    }
    return resolveFolder(path);  // "/" or "."
}

bool FileSystem::exists(std::string_view path) const {
    return resolve(path).has_value();
}

bool FileSystem::isFile(std::string_view path) const {
    std::lock_guard lock(mutex_);
    auto located = locate(path);
    return located && located->entry && !located->entry->isFolder;
}

bool FileSystem::isFolder(std::string_view path) const {
    std::lock_guard lock(mutex_);
    return resolveFolder(path).has_value();
}

std::optional<std::uint64_t> FileSystem::fileSize(std::string_view path) const {
    std::string real;
    {
        std::lock_guard lock(mutex_);
        auto located = locate(path);
        if (!located || !located->entry || located->entry->isFolder) return std::nullopt;
        real = childPath(located->folder, located->name);
    }
    struct stat status;
    if (::stat(real.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

std::vector<DirEntry> FileSystem::list(std::string_view folder, ListSizes sizes) const {
    std::lock_guard lock(mutex_);
    auto real = resolveFolder(folder);
    if (!real) return {};
    FolderIndex& index = indexOf(*real);
    const bool withSizes = sizes == ListSizes::Read;
    if (withSizes && !index.sizesKnown) {
        for (auto& [upper, variants] : index.byUpper) {
            for (Entry& entry : variants) {
                struct stat status;
                if (entry.isFolder || entry.sizeKnown) continue;
                if (::stat(childPath(*real, entry.name).c_str(), &status) == 0) {
                    entry.size = static_cast<std::uint64_t>(status.st_size);
                }
                entry.sizeKnown = true;
            }
        }
        index.sizesKnown = true;
    }
    std::vector<const std::pair<const std::string, std::vector<Entry>>*> keys;
    keys.reserve(index.byUpper.size());
    for (const auto& item : index.byUpper) keys.push_back(&item);
    std::sort(keys.begin(), keys.end(), [](auto* a, auto* b) { return a->first < b->first; });
    std::vector<DirEntry> entries;
    entries.reserve(keys.size());
    for (const auto* item : keys) {
        for (const Entry& entry : item->second) {  // variants are in byte order already
            entries.push_back({entry.name, entry.isFolder, entry.name.front() == '.',
                               entry.isFolder || !withSizes ? 0 : entry.size});
        }
    }
    return entries;
}

std::vector<DirEntry> FileSystem::listFiles(std::string_view folder, ListSizes sizes) const {
    std::vector<DirEntry> entries = list(folder, sizes);
    std::erase_if(entries, [](const DirEntry& e) { return e.isFolder; });
    return entries;
}

std::vector<DirEntry> FileSystem::listFolders(std::string_view folder) const {
    std::vector<DirEntry> entries = list(folder);
    std::erase_if(entries, [](const DirEntry& e) { return !e.isFolder; });
    return entries;
}

std::vector<std::string> FileSystem::hiddenFiles(std::string_view realFolder) const {
    return fsdetail::hiddenFileNames(std::string(realFolder));
}

std::size_t FileSystem::countEntries(std::string_view folder, bool folders) const {
    std::lock_guard lock(mutex_);
    auto real = resolveFolder(folder);
    if (!real) return 0;
    std::size_t count = 0;
    for (const auto& [upper, variants] : indexOf(*real).byUpper) {
        count += std::count_if(variants.begin(), variants.end(),
                               [folders](const Entry& e) { return e.isFolder == folders; });
    }
    return count;
}

std::size_t FileSystem::countFiles(std::string_view folder) const {
    return countEntries(folder, false);
}

std::size_t FileSystem::countFolders(std::string_view folder) const {
    return countEntries(folder, true);
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    fsdetail::LineSplitter splitter(lines, 0);
    splitter.feed(bytes);
    splitter.finish();
    return lines;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = upperByte(c);
    return upper;
}

}  // namespace dadaz
