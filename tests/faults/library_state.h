#pragma once

// Pictures of folder trees taken before and after a run, and the checks every fault test
// makes on them. Each check returns one text per problem found, empty when all is well, so a
// failing test says what went wrong where.

#include <cstddef>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace dadaz::testing {

struct FileState {
    std::size_t hash = 0;  // of the bytes; of the target for a link
    std::size_t size = 0;
    struct timespec modified {};
    bool link = false;
};

// Every file and link under `root` by its path relative to it; links are never followed.
using TreeState = std::map<std::string, FileState>;
TreeState snapshot(const std::string& root);

// Which files a check leaves out, by relative path (e.g. the song list a run writes anew).
using PathFilter = std::function<bool(const std::string& relativePath)>;

// Songs lost, doubled or split: files are grouped as songs (a .MID, .LYR and .CUR of one stem,
// in one folder or in matching SONG/LYRICS/CURSOR folders) and the groups compared by their
// bytes, wherever they stand. Groups `mayGo` accepts (by the path of any of its files in
// `before`) may be missing afterwards, but only whole. `after` may gather several trees
// (the library and a move-to folder) with `merge`. With `finished` (what a whole run leaves),
// a song may also stand as the whole run left it (a run that rewrites a song's lyric).
std::vector<std::string> songProblems(const TreeState& before, const TreeState& after,
                                      const PathFilter& mayGo = {},
                                      const TreeState* finished = nullptr);
// Files of `before` whose bytes no longer exist anywhere in `after` as often as before.
std::vector<std::string> lostFiles(const TreeState& before, const TreeState& after,
                                   const PathFilter& skip = {});
// Differences of any kind: files come, gone, changed in bytes or in modification time.
std::vector<std::string> changes(const TreeState& before, const TreeState& after);
// Hidden files (name starting with ".") that were not there before: temporaries left behind.
std::vector<std::string> temporaries(const TreeState& before, const TreeState& after);
// The files named must hold either their old bytes (`before`) or those one whole run writes
// (`finished`); a file may be missing only where it is missing in one of the two.
std::vector<std::string> neitherOldNorNew(const TreeState& before, const TreeState& finished,
                                          const TreeState& after,
                                          const std::vector<std::string>& paths);

// `tree` with every path prefixed by `prefix` + "/", added to `into`.
void merge(TreeState& into, const TreeState& tree, const std::string& prefix);

}  // namespace dadaz::testing
