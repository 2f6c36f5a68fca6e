#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dadaz {

// One entry of a folder listing. Names are the real names on disk (UTF-8 on this system).
struct DirEntry {
    std::string name;
    bool isFolder = false;
    bool hidden = false;     // a name starting with "."
    std::uint64_t size = 0;  // files only, and only in listings asked for with sizes
};

// Whether a listing reads file sizes: that costs a stat per file, which a scan of 100,000
// songs does not need.
enum class ListSizes { Skip, Read };

// The library's view of the disk. Names compare without regard to ASCII case, as the DOS
// players and the folders they come from expect; every lookup resolves a path against the
// real entries through a per-folder index, so a run never scans a folder per lookup.
// Paths use "/" and folder texts carry no trailing "/". All members are thread-safe.
class FileSystem {
  public:
    // The real path of `path`, each component matched without regard to ASCII case (an exact
    // match wins), or nothing when a component does not exist.
    std::optional<std::string> resolve(std::string_view path) const;
    bool exists(std::string_view path) const;
    bool isFile(std::string_view path) const;
    bool isFolder(std::string_view path) const;

    // Entries of a folder, ordered by upper-cased name in byte order (what the players' file
    // systems list). Empty when the folder does not exist.
    std::vector<DirEntry> list(std::string_view folder, ListSizes sizes = ListSizes::Skip) const;
    std::vector<DirEntry> listFiles(std::string_view folder,
                                    ListSizes sizes = ListSizes::Skip) const;
    std::vector<DirEntry> listFolders(std::string_view folder) const;
    // The hidden regular files in a folder given by its real path (as resolve gives it), read
    // straight from disk without an index, for leftovers that most folders do not have.
    std::vector<std::string> hiddenFiles(std::string_view realFolder) const;
    std::size_t countFiles(std::string_view folder) const;
    std::size_t countFolders(std::string_view folder) const;

    // Creates the last level of `path` only; true when it exists afterwards as a folder.
    bool createFolder(std::string_view path);
    // Copies with overwrite: the copy is written beside the target and renamed over it, so
    // the target is never half written. A target that exists in another case is replaced.
    bool copyFile(std::string_view from, std::string_view to);
    // Moves or renames. Never replaces an existing file, also not one whose name differs only
    // in case (except the file itself, so a case-only rename works). False when refused.
    bool moveFile(std::string_view from, std::string_view to);
    // Deletes one file. Without `force` a read-only file (owner write bit cleared) stays.
    bool deleteFile(std::string_view path, bool force);
    // Deletes the files of `folder` matching a pattern of the form "*.ext", "*.*" or
    // "stem.*"; the stem is literal (a code's characters are never wildcards). Returns the
    // number of files deleted.
    int deleteMatching(std::string_view folder, std::string_view pattern, bool force);
    // The files of `folder` matching "stem.*" (the stem literal, without regard to ASCII
    // case), as real paths in byte order of their names. The folder's index keeps its names
    // by stem as well (made at the first such look, then kept in step), so looking up a song
    // costs no pass over a folder of 10,000 songs.
    std::vector<std::string> filesWithStem(std::string_view folder, std::string_view stem) const;
    // Deletes a folder with everything in it; read-only files too.
    bool deleteTree(std::string_view folder);
    bool setReadOnly(std::string_view path, bool readOnly);
    bool isReadOnly(std::string_view path) const;
    // Whether `path`, links followed, is `folder` or lies inside it (links followed too).
    bool leadsInside(std::string_view path, std::string_view folder) const;
    // Whether files may be added to and taken from the folder.
    bool isWritableFolder(std::string_view folder) const;

    // Whole file as bytes; nothing when it cannot be read.
    std::optional<std::string> readFile(std::string_view path) const;
    // The first `maxLines` lines (all when 0). A line ends at CR LF, a lone CR or a lone LF;
    // a last line without an end still counts. Reads no further than needed.
    std::optional<std::vector<std::string>> readLines(std::string_view path,
                                                      std::size_t maxLines = 0) const;
    // Writes `bytes` to a temporary file beside `path` and renames it over `path` only when
    // complete; the old file stays whole on any failure.
    bool writeFileAtomic(std::string_view path, std::string_view bytes);

    // Forgets the cached indexes (after changes made by other programs).
    void forgetIndexes();

    // A folder that exists but cannot be listed looks empty. Runs that act on what a listing
    // lacks (a song's partner missing, a list of what was found) compare this count before
    // and after; the last folder that failed names the fault to the user.
    std::size_t listingFailures() const;
    std::string lastUnlistedFolder() const;
    // The same count since the indexes were last dropped (a run's start): lookups found
    // nothing in those folders, whatever they hold.
    std::size_t unreadableFolders() const;

    // Size in bytes of a file; nothing when it is missing or a folder.
    std::optional<std::uint64_t> fileSize(std::string_view path) const;

  private:
    struct Entry {
        std::string name;  // real name on disk
        bool isFolder = false;
        bool sizeKnown = false;  // sizes are read when a listing first needs them
        std::uint64_t size = 0;
    };
    // The entries of one folder by upper-cased name; names differing only in case share a
    // key, kept in byte order of their real names.
    struct FolderIndex {
        std::unordered_map<std::string, std::vector<Entry>> byUpper;
        bool sizesKnown = false;
        // Keys of byUpper by every stem a "stem.*" pattern can match (each text before a
        // "."), made when a stem is first looked up and kept in step from then on.
        std::unordered_map<std::string, std::vector<std::string>> byStem;
        bool stemsKnown = false;
    };
    // Where a path leads: the real folder holding its last component, the name in it (the
    // real name when it exists, else the requested one) and the entry when it exists.
    struct Located {
        std::string folder;
        std::string name;
        const Entry* entry = nullptr;
        std::string requested;  // the last component as asked for
        bool isDotDot = false;  // the last component is ".."; never a target of a change
    };

    // A folder path as asked for, resolved: its real path and index; no index when missing.
    struct ResolvedFolder {
        std::string real;
        FolderIndex* index = nullptr;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    // Files (folders false) or sub-folders of a folder; takes the lock itself.
    std::size_t countEntries(std::string_view folder, bool folders) const;
    // All private members below expect mutex_ to be held.
    FolderIndex& indexOf(const std::string& realFolder) const;
    const ResolvedFolder& folderAt(std::string_view folderPath) const;
    std::optional<std::string> resolveFolder(std::string_view path) const;
    std::optional<Located> locate(std::string_view path) const;
    void noteEntry(const std::string& realFolder, const Entry& entry);
    void dropEntry(const std::string& realFolder, std::string_view realName);
    void forgetFolder(const std::string& realFolder) const;
    // Real names of the files whose upper-cased name starts with `upperStem` and ".".
    std::vector<std::string> stemFileNames(FolderIndex& index, const std::string& upperStem) const;
    bool removeFile(const std::string& realFolder, const std::string& realName, bool force);
    // Before the first write into a folder: removes what killed runs left half written there.
    void removeStaleTemporaries(const std::string& realFolder);

    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, FolderIndex> indexes_;  // by real folder path
    mutable std::size_t listingFailures_ = 0;
    mutable std::string lastUnlisted_;
    std::size_t failuresAtForget_ = 0;
    // Folder paths as callers write them, so a lookup costs one hash for the folder and one
    // for the name. Points into indexes_: cleared whenever a folder or an index goes or comes.
    mutable std::unordered_map<std::string, ResolvedFolder, TextHash, std::equal_to<>> folders_;
    std::unordered_set<std::string> cleanedFolders_;
};

// Splits bytes into lines: a line ends at CR LF, a lone CR or a lone LF.
std::vector<std::string> splitLines(std::string_view bytes);
// "A/B" from a folder and a name.
std::string joinPath(std::string_view folder, std::string_view name);
// ASCII upper case; other bytes unchanged.
std::string upperAscii(std::string_view text);

}  // namespace dadaz
