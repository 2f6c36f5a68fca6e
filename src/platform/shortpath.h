#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz {

class FileSystem;

// Short DOS paths as the players see the library: each drive letter stands for a folder of
// this system (by default drive C: is the program folder). A path that exists under a mapped
// folder becomes "C:\SONG\1\12345.MID": valid 8.3 names upper-cased, other names in the
// "NAME~N.EXT" form DOSBox shows for a mounted folder. Anything else gives an empty text.
// shortPath may be called from several threads at once; copies share the names learnt.
class DosDriveTable {
  public:
    // No drive at all.
    DosDriveTable();
    // Drive C: is the program folder.
    explicit DosDriveTable(std::string programFolder);
    // The table a DosDrives setting holds (one "C=/some/folder" per line); the default
    // table of the program folder when the setting holds no drive. Malformed lines are
    // passed over.
    static DosDriveTable fromSetting(std::string_view setting, const std::string& programFolder);
    // The table as the DosDrives setting holds it.
    std::string setting() const;

    // Maps drive letter `drive` (A to Z, either case) to `folder`.
    void map(char drive, std::string folder);
    void unmap(char drive);
    // Parses "C=/some/folder"; false when malformed.
    bool mapFromSpec(std::string_view spec);
    // The mapped folders by drive letter (upper case), in letter order.
    const std::map<char, std::string>& drives() const { return drives_; }
    // The first letter from C: on that has no folder; 0 when all are taken.
    char nextFreeLetter() const;

    // When one of `folders` (existing folders) lies outside every mapped drive, maps the
    // next free letter to the deepest folder holding all of them and returns that letter;
    // otherwise (or when no letter is free) returns 0.
    char mapFolderHolding(const FileSystem& fs, const std::vector<std::string>& folders);

    std::string shortPath(const FileSystem& fs, std::string_view path) const;
    // Short names are worked out once per folder; call this after folders changed.
    void forgetShortNames();

  private:
    struct NameCache;
    struct Components;
    // The drive whose folder holds `target` deepest (0 for none) and that folder's depth.
    // Expects the name cache's lock to be held.
    char driveHolding(const FileSystem& fs, const Components& target, std::size_t& depth) const;

    std::map<char, std::string> drives_;
    std::shared_ptr<NameCache> names_;  // shared by copies: names do not depend on the drives
};

}  // namespace dadaz
