#pragma once

#include <string>
#include <vector>

namespace dadaz {

class FileSystem;

// Puts new files in place of old ones all together or not at all. Each new file is first
// copied beside its target, into the target's own folder; only when every copy is complete
// are they renamed over their targets, so a failing copy never touches a target. Should a
// rename fail, the targets already replaced get their old files back.
class StagedReplacement {
  public:
    enum class Result { Replaced, Unchanged, Incomplete };

    // How an old file makes way: swapped with its copy in one step where the file system can
    // (`Exchange`), else moved aside first; `MoveAside` asks for the second way everywhere.
    enum class Swap { Exchange, MoveAside };

    explicit StagedReplacement(FileSystem& fs, Swap swap = Swap::Exchange) : fs_(fs), swap_(swap) {}
    // Removes the copies of a replacement that was never committed.
    ~StagedReplacement();
    StagedReplacement(const StagedReplacement&) = delete;
    StagedReplacement& operator=(const StagedReplacement&) = delete;

    // Copies `source` beside the file `name` in the existing folder `folder` (real path); the
    // file itself need not exist. False when the copy could not be made.
    bool stage(const std::string& source, const std::string& folder, const std::string& name);
    // Renames every staged copy over its target, in staging order. Unchanged: a rename failed
    // and every target is as before; Incomplete: not even that could be undone.
    Result commit();
    // The target whose rename failed (commit gave something else than Replaced).
    const std::string& failedTarget() const { return failedTarget_; }
    // Temporaries commit could not delete (hidden, beside their targets). A later replacement
    // of the same files that succeeds deletes them.
    const std::vector<std::string>& leftBehind() const { return leftBehind_; }

  private:
    enum class Done { Nothing, Exchanged, MovedAside, Created };
    struct Item {
        std::string target;  // real path of the target
        std::string staged;  // the copy; after an exchange, the old file
        std::string aside;   // the old file, when it was moved aside instead
        Done done = Done::Nothing;
    };

    bool replace(Item& item);
    bool undo(Item& item);
    std::string freeNameBeside(const std::string& target, const char* kind) const;
    void removeTemporary(const std::string& path);
    void removeEarlierTemporaries(const std::string& target);

    FileSystem& fs_;
    Swap swap_;
    std::vector<Item> items_;
    std::string failedTarget_;
    std::vector<std::string> leftBehind_;
    bool committed_ = false;
};

}  // namespace dadaz
