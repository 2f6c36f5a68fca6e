#include "operations/staged_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/filesystem.h"
#include "platform/sys_io.h"

namespace dadaz {

namespace {

// Swaps the contents of two names in one step, so a target is never missing, not even for
// a moment; false (errno set) when the file system cannot do it.
bool exchange(const std::string& a, const std::string& b) {
    return sys::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

bool exchangeUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

bool nameTaken(const std::string& path) {
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

}  // namespace

StagedReplacement::~StagedReplacement() {
    if (committed_) return;
    for (const Item& item : items_) fs_.deleteFile(item.staged, true);
}

std::string StagedReplacement::freeNameBeside(const std::string& target, const char* kind) const {
    const std::size_t slash = target.rfind('/');
    const std::string folder = target.substr(0, slash + 1);
    // Hidden, and not ending in a song file's extension: a scan never takes it for a song.
    const std::string stem = folder + "." + target.substr(slash + 1) + "." + kind + "-";
    for (int n = 1;; ++n) {
        std::string candidate = stem + std::to_string(n);
        if (!fs_.exists(candidate) && !nameTaken(candidate)) return candidate;
    }
}

bool StagedReplacement::stage(const std::string& source, const std::string& folder,
                              const std::string& name) {
    Item item;
    const std::string target = joinPath(folder, name);
    item.target = fs_.resolve(target).value_or(target);  // an existing name in another case
    item.staged = freeNameBeside(item.target, "new");
    if (!fs_.copyFile(source, item.staged)) {
        fs_.deleteFile(item.staged, true);
        return false;
    }
    items_.push_back(std::move(item));
    return true;
}

bool StagedReplacement::replace(Item& item) {
    if (!fs_.isFile(item.target)) {
        if (!fs_.moveFile(item.staged, item.target)) return false;
        item.done = Done::Created;
        return true;
    }
    if (swap_ == Swap::Exchange) {
        if (exchange(item.staged, item.target)) {
            item.done = Done::Exchanged;
            return true;
        }
        if (!exchangeUnsupported(errno)) return false;
    }
    // No exchange here (FAT, some network folders): the old file steps aside first.
    item.aside = freeNameBeside(item.target, "old");
    if (!fs_.moveFile(item.target, item.aside)) return false;
    item.done = Done::MovedAside;
    return fs_.moveFile(item.staged, item.target);
}

bool StagedReplacement::undo(Item& item) {
    bool undone = true;
    switch (item.done) {
        case Done::Nothing:
            break;
        case Done::Exchanged:
            undone = exchange(item.staged, item.target);
            break;
        case Done::MovedAside:
            if (fs_.isFile(item.target) && !fs_.exists(item.staged))
                undone = fs_.deleteFile(item.target, true);
            undone = undone && fs_.moveFile(item.aside, item.target);
            break;
        case Done::Created:
            undone = fs_.deleteFile(item.target, true);
            break;
    }
    if (undone) item.done = Done::Nothing;
    return undone;
}

StagedReplacement::Result StagedReplacement::commit() {
    committed_ = true;
    Result result = Result::Replaced;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (replace(items_[i])) continue;
        failedTarget_ = items_[i].target;
        result = Result::Unchanged;
        for (std::size_t j = i + 1; j-- > 0;) {
            if (!undo(items_[j])) result = Result::Incomplete;
        }
        break;
    }
    for (const Item& item : items_) {
        // What is left under a temporary name: the new copies after a failure, the old files
        // after success. An old file whose return failed stays, so nothing is lost.
        if (item.done == Done::Nothing) {
            removeTemporary(item.staged);
        } else if (result == Result::Replaced && item.done != Done::Created) {
            removeTemporary(item.done == Done::MovedAside ? item.aside : item.staged);
        }
    }
    // Once every target holds its new file, what earlier runs left beside it is of no use.
    if (result == Result::Replaced) {
        for (const Item& item : items_) removeEarlierTemporaries(item.target);
    }
    // Exchanges happen behind the indexes' back; let them read the folders afresh.
    fs_.forgetIndexes();
    return result;
}

void StagedReplacement::removeTemporary(const std::string& path) {
    if (!fs_.deleteFile(path, true) && fs_.exists(path)) leftBehind_.push_back(path);
}

void StagedReplacement::removeEarlierTemporaries(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string name = upperAscii(target.substr(slash + 1));
    for (const std::string& path : fs_.filesWithStem(target.substr(0, slash), "." + name)) {
        // ".{name}.new-N" or ".{name}.old-N", as freeNameBeside makes them
        const std::string rest = upperAscii(path.substr(slash + 1 + name.size() + 2));
        const bool ours = (rest.starts_with("NEW-") || rest.starts_with("OLD-")) &&
                          rest.size() > 4 &&
                          rest.find_first_not_of("0123456789", 4) == std::string::npos;
        if (ours && std::find(leftBehind_.begin(), leftBehind_.end(), path) == leftBehind_.end())
            removeTemporary(path);
    }
}

}  // namespace dadaz
