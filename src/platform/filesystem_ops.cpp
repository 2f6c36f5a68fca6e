// Changes to the disk: folders, copies, moves, deletions and the read-only attribute. Each
// keeps the cached folder indexes in step with what it did.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/filesystem.h"
#include "platform/filesystem_posix.h"
#include "platform/sys_io.h"

namespace dadaz {

using fsdetail::childPath;

namespace {

bool isReadOnlyMode(mode_t mode) {
    return (mode & S_IWUSR) == 0;
}

// Writes a copy of the open file `in` (status `status`) to a fresh temporary file in
// `folder`, with the source's permissions and modification time, as Windows copies do.
bool copyToTemp(int in, const struct stat& status, fsdetail::TempFile& temp) {
    if (!temp.ok() || !fsdetail::copyData(in, temp.fd())) return false;
    ::fchmod(temp.fd(), status.st_mode & 0777);
    const struct timespec times[2] = {status.st_atim, status.st_mtim};
    ::futimens(temp.fd(), times);
    return temp.close();
}

// A move between file systems: the copy is complete and in place before the source goes.
int moveAcrossDevices(const std::string& source, const std::string& targetFolder,
                      const std::string& target) {
    int in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return errno;
    struct stat status;
    fsdetail::TempFile temp(targetFolder);
    bool copied =
        ::fstat(in, &status) == 0 && S_ISREG(status.st_mode) && copyToTemp(in, status, temp);
    ::close(in);
    if (!copied) return EIO;
    if (int error = fsdetail::renameNoReplace(temp.path(), target)) return error;
    temp.commit();
    if (sys::unlink(source.c_str()) != 0) {
        int error = errno;
        ::unlink(target.c_str());  // our own copy; the source is still whole
        return error;
    }
    return 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

enum class PatternKind { AllFiles, Extension, Stem, Name };

}  // namespace

bool FileSystem::createFolder(std::string_view path) {
    std::lock_guard lock(mutex_);
    auto located = locate(path);
    if (!located) return resolveFolder(path).has_value();  // "/" or "." always exist
    if (located->entry) return located->entry->isFolder;
    std::string real = childPath(located->folder, located->name);
    if (sys::mkdir(real.c_str(), 0777) != 0) {
        struct stat status;
        if (errno != EEXIST || ::stat(real.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            return false;
        }
    }
    noteEntry(located->folder, Entry{located->name, true});
    return true;
}

bool FileSystem::copyFile(std::string_view from, std::string_view to) {
    std::string source, targetFolder, targetName;
    {
        std::lock_guard lock(mutex_);
        auto src = locate(from);
        if (!src || !src->entry || src->entry->isFolder) return false;
        auto dst = locate(to);
        if (!dst || dst->isDotDot || (dst->entry && dst->entry->isFolder)) return false;
        source = childPath(src->folder, src->name);
        targetFolder = dst->folder;
        targetName = dst->name;  // an existing name in another case is the one written
    }
    const std::string target = childPath(targetFolder, targetName);
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && isReadOnlyMode(existing.st_mode)) {
        return false;  // a read-only target is not overwritten, as on Windows
    }
    {
        std::lock_guard lock(mutex_);
        removeStaleTemporaries(targetFolder);
    }
    int in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return false;
    struct stat status;
    fsdetail::TempFile temp(targetFolder);
    bool copied =
        ::fstat(in, &status) == 0 && S_ISREG(status.st_mode) && copyToTemp(in, status, temp);
    ::close(in);
    if (!copied || sys::rename(temp.path().c_str(), target.c_str()) != 0) return false;
    temp.commit();
    std::lock_guard lock(mutex_);
    noteEntry(targetFolder,
              Entry{targetName, false, true, static_cast<std::uint64_t>(status.st_size)});
    return true;
}

void FileSystem::removeStaleTemporaries(const std::string& realFolder) {
    if (!cleanedFolders_.insert(realFolder).second) return;
    for (const std::string& name : fsdetail::removeStaleTemporaries(realFolder)) {
        dropEntry(realFolder, name);
    }
}

bool FileSystem::moveFile(std::string_view from, std::string_view to) {
    std::string sourceFolder, targetFolder, targetName;
    Entry moved;
    bool caseOnlyRename = false;
    {
        std::lock_guard lock(mutex_);
        auto src = locate(from);
        if (!src || !src->entry || src->isDotDot) return false;
        auto dst = locate(to);
        if (!dst || dst->isDotDot) return false;
        if (dst->entry) {
            // Never replace: only the file itself may answer to the new name.
            if (dst->folder != src->folder || dst->name != src->name) return false;
            if (dst->requested == src->name) return true;  // already there under that name
            if (indexOf(dst->folder).byUpper.at(upperAscii(src->name)).size() > 1) return false;
            caseOnlyRename = true;
        }
        moved = *src->entry;
        sourceFolder = src->folder;
        targetFolder = dst->folder;
        targetName = dst->requested;
    }
    const std::string source = childPath(sourceFolder, moved.name);
    const std::string target = childPath(targetFolder, targetName);
    int error = fsdetail::renameNoReplace(source, target);
    if (error == EEXIST && caseOnlyRename && sameFile(source, target)) {
        // A file system that ignores case itself: the new name is this very file.
        error = sys::rename(source.c_str(), target.c_str()) == 0 ? 0 : errno;
    }
    if (error == EXDEV && !moved.isFolder) error = moveAcrossDevices(source, targetFolder, target);
    if (error != 0) return false;

    std::lock_guard lock(mutex_);
    dropEntry(sourceFolder, moved.name);
    if (moved.isFolder) {
        forgetFolder(source);
        forgetFolder(target);
    }
    moved.name = targetName;
    noteEntry(targetFolder, moved);
    return true;
}

bool FileSystem::removeFile(const std::string& realFolder, const std::string& realName,
                            bool force) {
    const std::string real = childPath(realFolder, realName);
    struct stat status;
    if (::stat(real.c_str(), &status) != 0) {
        if (errno == ENOENT) dropEntry(realFolder, realName);  // gone behind our back
        return false;
    }
    if (S_ISDIR(status.st_mode)) return false;
    if (!force && isReadOnlyMode(status.st_mode)) return false;
    if (sys::unlink(real.c_str()) != 0) return false;
    dropEntry(realFolder, realName);
    return true;
}

bool FileSystem::deleteFile(std::string_view path, bool force) {
    std::lock_guard lock(mutex_);
    auto located = locate(path);
    if (!located || !located->entry || located->entry->isFolder) return false;
    return removeFile(located->folder, located->name, force);
}

int FileSystem::deleteMatching(std::string_view folder, std::string_view pattern, bool force) {
    if (pattern.empty() || pattern.find('/') != std::string_view::npos) return 0;
    const std::string upper = upperAscii(pattern);
    PatternKind kind = PatternKind::Name;
    std::string part = upper;  // what the upper-cased name must equal, start or end with
    if (upper == "*.*" || upper == "*") {
        kind = PatternKind::AllFiles;
    } else if (upper.starts_with("*.")) {
        kind = PatternKind::Extension;
        part = upper.substr(1);  // ".EXT"
    } else if (upper.ends_with(".*")) {
        kind = PatternKind::Stem;  // the stem is literal: a code's "*" or "?" is no wildcard
        part = upper.substr(0, upper.size() - 1);  // "STEM."
    }
    auto matches = [&](const std::string& name) {
        switch (kind) {
            case PatternKind::AllFiles:
                return true;
            case PatternKind::Extension:
                return name.ends_with(part);
            case PatternKind::Stem:
                return name.starts_with(part);
            case PatternKind::Name:
                return name == part;
        }
        return false;
    };

    std::lock_guard lock(mutex_);
    auto real = resolveFolder(folder);
    if (!real) return 0;
    FolderIndex& index = indexOf(*real);
    std::vector<std::string> names;
    if (kind == PatternKind::Stem) {
        names = stemFileNames(index, part.substr(0, part.size() - 1));
    } else {
        for (const auto& [name, variants] : index.byUpper) {
            if (!matches(name)) continue;
            for (const Entry& entry : variants) {
                if (!entry.isFolder) names.push_back(entry.name);
            }
        }
    }
    int deleted = 0;
    for (const std::string& name : names) deleted += removeFile(*real, name, force) ? 1 : 0;
    return deleted;
}

bool FileSystem::deleteTree(std::string_view folder) {
    std::lock_guard lock(mutex_);
    auto located = locate(folder);
    if (!located || located->isDotDot || !located->entry || !located->entry->isFolder) {
        return false;
    }
    const std::string real = childPath(located->folder, located->name);
    bool removed = fsdetail::removeTree(real);
    forgetFolder(real);
    if (removed) dropEntry(located->folder, located->name);
    return removed;
}

bool FileSystem::setReadOnly(std::string_view path, bool readOnly) {
    auto real = resolve(path);
    struct stat status;
    // Files only: a folder without write bits would refuse new files here, unlike Windows. A
    // link has no attribute of its own, and what it points to is not ours to change.
    if (!real || ::lstat(real->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    mode_t mode =
        readOnly ? status.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : status.st_mode | S_IWUSR;
    return ::chmod(real->c_str(), mode & 07777) == 0;
}

bool FileSystem::isReadOnly(std::string_view path) const {
    auto real = resolve(path);
    struct stat status;
    return real && ::stat(real->c_str(), &status) == 0 && isReadOnlyMode(status.st_mode);
}

bool FileSystem::leadsInside(std::string_view path, std::string_view folder) const {
    auto realPath = resolve(path);
    auto realFolder = resolve(folder);
    if (!realPath || !realFolder) return false;
    auto canonical = [](const std::string& p) -> std::optional<std::string> {
        char* full = ::realpath(p.c_str(), nullptr);
        if (!full) return std::nullopt;
        std::string text(full);
        std::free(full);
        return text;
    };
    auto inner = canonical(*realPath);
    auto outer = canonical(*realFolder);
    if (!inner || !outer) return false;
    if (*outer == "/") return true;
    return *inner == *outer || inner->starts_with(*outer + "/");
}

bool FileSystem::isWritableFolder(std::string_view folder) const {
    auto real = resolve(folder);
    struct stat status;
    return real && ::stat(real->c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(real->c_str(), W_OK | X_OK) == 0;
}

}  // namespace dadaz
