#include "renumber/renumber_plan.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "library/song_code.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr const char* kExtensions[] = {"MID", "LYR", "CUR"};

// The names a folder will hold at each point of the plan, by upper-cased name.
using FolderState = std::unordered_map<std::string, std::string>;

struct FileAt {
    std::uint32_t folder = 0;
    std::string name;
};

class Planner {
  public:
    Planner(const LibraryListing& listing, const NumberScheme& scheme, RenumberPlan& plan)
        : listing_(listing), scheme_(scheme), plan_(plan) {}

    void addFolders(const FileSystem& fs, const std::string& moveTo) {
        plan_.folders.push_back(moveTo);
        state_.emplace_back();
        for (const DirEntry& entry : fs.listFiles(moveTo))
            state_[0].emplace(upperAscii(entry.name), entry.name);
        for (int kind = 0; kind < 3; ++kind) {
            plan_.firstFolder[kind] = static_cast<std::uint32_t>(plan_.folders.size());
            for (const auto& sub : listing_.kinds[kind]) {
                ids_[kind].emplace(upperAscii(sub.name), plan_.folders.size());
                plan_.folders.push_back(sub.path);
                FolderState& names = state_.emplace_back();
                for (const std::string& name : sub.files) names.emplace(upperAscii(name), name);
                plan_.totals[kind] += static_cast<long>(sub.files.size());
            }
        }
    }

    bool clearTheWay(const std::function<bool()>& askAlreadyDigits) {
        const auto songs = temporaryNames();
        std::unordered_set<std::string> handled;
        bool asked = false;
        for (int kind = 0; kind < 3; ++kind) {
            const std::string ext = kExtensions[kind];
            long done = 0;
            for (const auto& sub : listing_.kinds[kind]) {
                const std::uint32_t id = ids_[kind].at(upperAscii(sub.name));
                for (const std::string& name : sub.files) {
                    if (!hasExtension(name, ext)) {
                        moveAside(RenumberStep::Kind::Aside, kind, done, {{id, name}});
                        continue;
                    }
                    ++done;
                    const std::string stem = codeFromFileName(name);
                    if (!wantsTemporaryName(name, stem, ext)) continue;
                    if (kind == 0 && !asked && hasDigitCount(stem)) {  // before any change
                        asked = true;
                        if (!askAlreadyDigits()) return false;
                    }
                    // A song's files take their temporary names in one step, the first
                    // time the pass meets one of them.
                    const std::string key = songKey(sub.name, stem);
                    if (!handled.insert(key).second) continue;
                    const auto found = songs.find(key);
                    if (found == songs.end()) continue;
                    const TemporarySong& song = found->second;
                    if (song.blocked) {
                        plan_.keptSongs.push_back(sub.name + "/" + stem);
                        continue;
                    }
                    addStep(RenumberStep::Kind::Temporary, kind, done, song.moves);
                }
            }
        }
        return true;
    }

    void renameSongs() {
        for (const auto& sub : listing_.kinds[1]) {
            const std::string upperFolder = upperAscii(sub.name);
            const std::uint32_t lyricId = ids_[1].at(upperFolder);
            plan_.totals[kRenamePhase] += static_cast<long>(state_[lyricId].size());
        }
        long done = 0;
        for (const auto& sub : listing_.kinds[1]) {
            const std::string upperFolder = upperAscii(sub.name);
            const std::uint32_t lyricId = ids_[1].at(upperFolder);
            const auto midiId = idOf(0, upperFolder);
            const auto cursorId = idOf(2, upperFolder);
            std::uint64_t counter = 1;
            for (const std::string& name : currentNames(lyricId)) {
                if (!hasExtension(name, "LYR")) continue;  // never made into a lyric file
                const std::string stem = codeFromFileName(name);
                if (hasDigitCount(stem)) continue;
                const std::string upperStem = upperAscii(stem);
                const std::string* midi = midiId ? find(*midiId, upperStem + ".MID") : nullptr;
                const std::string* cursor =
                    cursorId ? find(*cursorId, upperStem + ".CUR") : nullptr;
                if (!midi || !cursor) {
                    std::vector<FileAt> files;
                    if (midi) files.push_back({*midiId, *midi});
                    if (cursor) files.push_back({*cursorId, *cursor});
                    files.push_back({lyricId, name});
                    moveAside(RenumberStep::Kind::Incomplete, kRenamePhase, done, files);
                    continue;
                }
                const auto newStem = scheme_.newStem(sub.name, stem, counter);
                std::vector<FileMove> moves{{*midiId, *midiId, *midi, ""},
                                            {*cursorId, *cursorId, *cursor, ""},
                                            {lyricId, lyricId, name, ""}};
                bool free = newStem.has_value();
                for (std::size_t i = 0; free && i < moves.size(); ++i) {
                    moves[i].toName = *newStem + "." +
                                      std::string(kExtensions[i == 0   ? 0
                                                              : i == 1 ? 2
                                                                       : 1]);
                    const std::string upperTarget = upperAscii(moves[i].toName);
                    free = upperTarget == upperAscii(moves[i].fromName) ||
                           !state_[moves[i].to].contains(upperTarget);
                }
                if (!free) {
                    plan_.keptSongs.push_back(sub.name + "/" + stem);
                    for (const FileMove& move : moves)
                        kept_.insert(fileKey(move.from, move.fromName));
                    continue;
                }
                ++counter;
                ++done;
                addStep(RenumberStep::Kind::Rename, kRenamePhase, done, std::move(moves));
            }
        }
    }

    // Pass 3 on the names passes 1 and 2 leave: valid files are counted, files of no valid
    // song go aside; songs kept under their old code stay.
    void check() {
        for (int kind = 0; kind < 3; ++kind) {
            const int phase = firstPhaseOfPass(3) + kind;
            for (const auto& sub : listing_.kinds[kind])
                plan_.totals[phase] +=
                    static_cast<long>(state_[ids_[kind].at(upperAscii(sub.name))].size());
            long done = 0;
            for (const auto& sub : listing_.kinds[kind]) {
                const std::uint32_t id = ids_[kind].at(upperAscii(sub.name));
                for (const std::string& name : currentNames(id)) {
                    ++done;
                    if (hasExtension(name, kExtensions[kind]) &&
                        characterCount(codeFromFileName(name)) == plan_.validLength) {
                        ++plan_.found[kind];
                    } else if (!kept_.contains(fileKey(id, name))) {
                        moveAside(RenumberStep::Kind::Check, phase, done, {{id, name}});
                    }
                }
            }
        }
    }

  private:
    bool hasDigitCount(const std::string& stem) const {
        return characterCount(stem) == static_cast<std::size_t>(scheme_.digitCount);
    }
    static std::string fileKey(std::uint32_t folder, const std::string& name) {
        return std::to_string(folder) + "/" + upperAscii(name);
    }
    static std::string songKey(const std::string& folder, const std::string& stem) {
        return upperAscii(folder) + "/" + upperAscii(stem);
    }
    std::optional<std::uint32_t> idOf(int kind, const std::string& upperFolder) const {
        const auto it = ids_[kind].find(upperFolder);
        if (it == ids_[kind].end()) return std::nullopt;
        return it->second;
    }
    const std::string* find(std::uint32_t folder, const std::string& upperName) const {
        const auto it = state_[folder].find(upperName);
        return it == state_[folder].end() ? nullptr : &it->second;
    }

    // Names of the digit count, and in custom-pattern mode also those of the pattern's own
    // length (an earlier run's songs): pass 2 hands out names of that length from the first
    // on, and a song meeting one still in place would be left under its temporary name.
    bool wantsTemporaryName(const std::string& name, const std::string& stem,
                            const std::string& ext) const {
        return !upperAscii(name).ends_with("TEMP." + ext) &&
               (hasDigitCount(stem) || characterCount(stem) == scheme_.validLength());
    }

    // The temporary names of each song of the new length, by songKey. A song one of whose
    // temporary names is taken keeps its code: renaming only some of its files would split it.
    struct TemporarySong {
        std::vector<FileMove> moves;
        bool blocked = false;
        bool ofDigitCount = false;
    };
    std::unordered_map<std::string, TemporarySong> temporaryNames() const {
        std::unordered_map<std::string, TemporarySong> songs;
        for (int kind = 0; kind < 3; ++kind) {
            const std::string ext = kExtensions[kind];
            for (const auto& sub : listing_.kinds[kind]) {
                const std::uint32_t id = ids_[kind].at(upperAscii(sub.name));
                for (const std::string& name : sub.files) {
                    const std::string stem = codeFromFileName(name);
                    if (!hasExtension(name, ext) || !wantsTemporaryName(name, stem, ext)) continue;
                    TemporarySong& song = songs[songKey(sub.name, stem)];
                    song.ofDigitCount = hasDigitCount(stem);
                    const std::string target = stem + "TEMP." + ext;
                    for (const FileMove& move : song.moves)
                        if (move.to == id) song.blocked = true;  // two names of one kind
                    if (state_[id].contains(upperAscii(target))) song.blocked = true;
                    song.moves.push_back({id, id, name, target});
                }
            }
        }
        // A lone file of the pattern's length is the user's: it keeps its name.
        std::erase_if(songs, [](const auto& song) {
            return !song.second.ofDigitCount && song.second.moves.size() < 3;
        });
        return songs;
    }

    // The folder's names as a listing would give them now.
    std::vector<std::string> currentNames(std::uint32_t folder) const {
        std::vector<std::pair<std::string, std::string>> entries(state_[folder].begin(),
                                                                 state_[folder].end());
        std::sort(entries.begin(), entries.end());
        std::vector<std::string> names;
        names.reserve(entries.size());
        for (auto& entry : entries) names.push_back(std::move(entry.second));
        return names;
    }

    // Files go to the move-to folder together, or stay when a name there is taken.
    void moveAside(RenumberStep::Kind kind, int phase, long done,
                   const std::vector<FileAt>& files) {
        std::vector<FileMove> moves;
        for (const FileAt& file : files) {
            if (state_[0].contains(upperAscii(file.name))) {
                plan_.notMoved += static_cast<long long>(files.size());
                return;
            }
            moves.push_back({file.folder, 0, file.name, file.name});
        }
        addStep(kind, phase, done, std::move(moves));
    }

    void addStep(RenumberStep::Kind kind, int phase, long done, std::vector<FileMove> moves) {
        for (const FileMove& move : moves) {
            state_[move.from].erase(upperAscii(move.fromName));
            state_[move.to].emplace(upperAscii(move.toName), move.toName);
        }
        plan_.steps.push_back({kind, static_cast<std::uint8_t>(phase), done, std::move(moves)});
    }

    const LibraryListing& listing_;
    const NumberScheme& scheme_;
    RenumberPlan& plan_;
    std::vector<FolderState> state_;
    std::unordered_map<std::string, std::uint32_t> ids_[3];  // by upper-cased folder name
    std::unordered_set<std::string> kept_;                   // files of kept songs (fileKey)
};

}  // namespace

int RenumberPlan::kindOfFolder(std::uint32_t folder) const {
    for (int kind = 2; kind >= 0; --kind)
        if (folder >= firstFolder[kind] && folder != 0) return kind;
    return -1;
}

std::size_t LibraryListing::largestFolder() const {
    std::size_t largest = 0;
    for (const auto& kind : kinds)
        for (const auto& sub : kind) largest = std::max(largest, sub.files.size());
    return largest;
}

LibraryListing listLibrary(const FileSystem& fs, const Folders& folders) {
    LibraryListing listing;
    const std::string* roots[] = {&folders.midi, &folders.lyric, &folders.cursor};
    for (int kind = 0; kind < 3; ++kind) {
        const std::string root = fs.resolve(*roots[kind]).value_or(*roots[kind]);
        std::unordered_set<std::string> seen;
        for (const DirEntry& folder : fs.listFolders(root)) {
            // Names differing only in case would be one folder to the players: the first wins.
            if (!seen.insert(upperAscii(folder.name)).second) continue;
            LibraryListing::SubFolder sub{folder.name, joinPath(root, folder.name), {}};
            // A linked folder that leads out of the library is not ours to rename in.
            if (!fs.leadsInside(sub.path, root)) continue;
            for (DirEntry& file : fs.listFiles(sub.path)) sub.files.push_back(std::move(file.name));
            listing.kinds[kind].push_back(std::move(sub));
        }
    }
    return listing;
}

std::optional<RenumberPlan> planRenumber(const FileSystem& fs, const LibraryListing& listing,
                                         const std::string& moveTo, const NumberScheme& scheme,
                                         const std::function<bool()>& askAlreadyDigits) {
    RenumberPlan plan;
    plan.validLength = scheme.validLength();
    Planner planner(listing, scheme, plan);
    planner.addFolders(fs, fs.resolve(moveTo).value_or(moveTo));
    if (!planner.clearTheWay(askAlreadyDigits)) return std::nullopt;
    planner.renameSongs();
    planner.check();
    return plan;
}

}  // namespace dadaz
