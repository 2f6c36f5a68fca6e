#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "duplicates/duplicate_keys.h"
#include "library/run_context.h"

namespace dadaz {

class SongPaths;

// One line of the duplicate result list: a song line as SongList.txt holds it (code page
// 874) or a separator, and whether the user marked it for removal.
struct ResultLine {
    std::string text;
    bool marked = false;
    bool operator==(const ResultLine&) const = default;
};

// The list control's limit: the search stops when the result list reaches it.
inline constexpr std::size_t kMaxResultLines = 32767;

// 120 "-": what the search puts where the title changes.
const std::string& duplicateSeparator();

// The neighbour comparison over the song lines of SongList.txt (heading lines already
// dropped), in file order. `criterion` is asked afresh for every pair; `pairDone` runs after
// each pair with the result list's length (it lets window events through and shows the count).
struct NeighbourResult {
    std::vector<ResultLine> lines;
    bool tooMany = false;  // stopped at kMaxResultLines
};
NeighbourResult compareNeighbours(const std::vector<std::string>& songLines, const FileSystem& fs,
                                  const SongPaths& paths,
                                  const std::function<DuplicateCriterion()>& criterion,
                                  const std::function<void(std::size_t lines)>& pairDone = {});

// The search as the button starts it: the multi-folder refusal, the stale song list questions
// (which may run `rebuild`, the song list run for SongList.txt only), the missing-file
// question, then the comparison of SongList.txt in the program folder. Sets
// duplicateSearchActive from the start to the end, enters the busy state "FindDuplicate"
// before reading and leaves it at the end; shows the count through the run's status and the
// too-many message through the prompt. `prepare` runs just before reading (the window clears
// its list and lyric there).
struct FinderHooks {
    std::function<DuplicateCriterion()> criterion;
    std::function<void()> rebuild;
    std::function<void()> prepare = [] {};
};
struct FinderResult {
    enum class End {
        Refused,   // multi-folder layout: nothing changed
        Stopped,   // the song list run was stopped or ended early: no finishing step
        Finished,  // cancelled, no song list, or searched
    } end = End::Finished;
    bool searched = false;  // the result list was cleared and filled anew
    NeighbourResult result;
};
FinderResult findDuplicates(RunContext& ctx, const FinderHooks& hooks);

}  // namespace dadaz
