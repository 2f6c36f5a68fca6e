#include "library_state.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <unordered_map>

namespace dadaz::testing {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::size_t hashOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::hash<std::string>{}(bytes);
}

// Where a song file stands, the kind folder left out: "SONG/1/10001.MID" and
// "LYRICS/1/10001.LYR" both give "*/1/10001"; the extension gives its place in the group.
bool songPlace(const std::string& path, std::string& place, int& slot) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    const std::string extension = upper(path.substr(dot + 1));
    slot = extension == "MID" ? 0 : extension == "LYR" ? 1 : extension == "CUR" ? 2 : -1;
    if (slot < 0) return false;
    std::stringstream parts(path.substr(0, dot));
    std::string part;
    place.clear();
    while (std::getline(parts, part, '/')) {
        const std::string name = upper(part);
        place += (name == "SONG" || name == "LYRICS" || name == "CURSOR") ? "*" : name;
        place += '/';
    }
    return true;
}

using Group = std::tuple<std::size_t, std::size_t, std::size_t>;  // bytes of MID, LYR, CUR

struct Groups {
    std::map<Group, std::vector<std::string>> paths;  // a path of each group found
};

Groups groupSongs(const TreeState& tree) {
    std::unordered_map<std::string, std::pair<Group, std::string>> byPlace;
    for (const auto& [path, file] : tree) {
        std::string place;
        int slot = 0;
        if (file.link || !songPlace(path, place, slot)) continue;
        auto& [group, example] = byPlace[place];
        // The hash plus one, so that a missing member (0) never equals an empty file.
        (slot == 0   ? std::get<0>(group)
         : slot == 1 ? std::get<1>(group)
                     : std::get<2>(group)) = file.hash + 1;
        if (example.empty()) example = path;
    }
    Groups groups;
    for (const auto& [place, entry] : byPlace) groups.paths[entry.first].push_back(entry.second);
    return groups;
}

}  // namespace

TreeState snapshot(const std::string& root) {
    TreeState tree;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        struct stat status;
        if (::lstat(it->path().c_str(), &status) != 0 || S_ISDIR(status.st_mode)) continue;
        FileState file;
        file.link = S_ISLNK(status.st_mode);
        file.size = static_cast<std::size_t>(status.st_size);
        file.modified = status.st_mtim;
        file.hash = file.link ? std::hash<std::string>{}(fs::read_symlink(it->path(), error))
                              : hashOfFile(it->path());
        tree[fs::relative(it->path(), root).string()] = file;
    }
    return tree;
}

void merge(TreeState& into, const TreeState& tree, const std::string& prefix) {
    for (const auto& [path, file] : tree) into[prefix + "/" + path] = file;
}

std::vector<std::string> songProblems(const TreeState& before, const TreeState& after,
                                      const PathFilter& mayGo, const TreeState* finished) {
    const Groups was = groupSongs(before);
    const Groups now = groupSongs(after);
    const Groups done = finished ? groupSongs(*finished) : was;
    auto countIn = [](const Groups& groups, const Group& group) {
        const auto found = groups.paths.find(group);
        return found == groups.paths.end() ? std::size_t{0} : found->second.size();
    };
    std::vector<std::string> problems;
    for (const auto& [group, paths] : was.paths) {
        const std::size_t count = countIn(now, group);
        if (count == paths.size()) continue;
        // A song the whole run changes may stand as that run left it.
        const std::size_t doneCount = countIn(done, group);
        if (count >= std::min(paths.size(), doneCount) &&
            count <= std::max(paths.size(), doneCount))
            continue;
        const bool allowed =
            mayGo && count < paths.size() && std::all_of(paths.begin(), paths.end(), mayGo);
        if (!allowed) {
            problems.push_back("song of " + paths.front() + ": " + std::to_string(paths.size()) +
                               " before, " + std::to_string(count) + " whole after");
        }
    }
    for (const auto& [group, paths] : now.paths) {
        if (!was.paths.count(group) && paths.size() > countIn(done, group))
            problems.push_back("split or changed song at " + paths[0]);
    }
    return problems;
}

std::vector<std::string> lostFiles(const TreeState& before, const TreeState& after,
                                   const PathFilter& skip) {
    std::unordered_map<std::size_t, long> balance;
    for (const auto& [path, file] : after) ++balance[file.hash];
    std::vector<std::string> problems;
    for (const auto& [path, file] : before) {
        if (skip && skip(path)) continue;
        if (--balance[file.hash] < 0) problems.push_back("lost: " + path);
    }
    return problems;
}

std::vector<std::string> changes(const TreeState& before, const TreeState& after) {
    std::vector<std::string> problems;
    for (const auto& [path, file] : before) {
        const auto now = after.find(path);
        if (now == after.end()) {
            problems.push_back("gone: " + path);
        } else if (now->second.hash != file.hash || now->second.link != file.link ||
                   now->second.modified.tv_sec != file.modified.tv_sec ||
                   now->second.modified.tv_nsec != file.modified.tv_nsec) {
            problems.push_back("changed: " + path);
        }
    }
    for (const auto& [path, file] : after) {
        if (!before.count(path)) problems.push_back("new: " + path);
    }
    return problems;
}

std::vector<std::string> temporaries(const TreeState& before, const TreeState& after) {
    std::vector<std::string> problems;
    for (const auto& [path, file] : after) {
        const std::size_t slash = path.rfind('/');
        const char first = path[slash == std::string::npos ? 0 : slash + 1];
        if (first == '.' && !before.count(path)) problems.push_back("left behind: " + path);
    }
    return problems;
}

std::vector<std::string> neitherOldNorNew(const TreeState& before, const TreeState& finished,
                                          const TreeState& after,
                                          const std::vector<std::string>& paths) {
    std::vector<std::string> problems;
    for (const std::string& path : paths) {
        const auto now = after.find(path);
        const auto old = before.find(path);
        const auto done = finished.find(path);
        auto same = [&](TreeState::const_iterator other, const TreeState& tree) {
            if (other == tree.end()) return now == after.end();
            return now != after.end() && now->second.hash == other->second.hash;
        };
        if (!same(old, before) && !same(done, finished)) problems.push_back("mixed: " + path);
    }
    return problems;
}

}  // namespace dadaz::testing
