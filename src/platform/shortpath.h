#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace dadaz {

class FileSystem;

// Short DOS paths as the players see the library: each drive letter stands for a folder of
// this system (by default drive C: is the program folder). A path that exists under a mapped
// folder becomes "C:\SONG\1\12345.MID": valid 8.3 names upper-cased, other names in the
// "NAME~N.EXT" form DOSBox shows for a mounted folder. Anything else gives an empty text.
// shortPath may be called from several threads at once; copies share the names learnt.
class DosDriveTable {
  public:
    explicit DosDriveTable(std::string programFolder);
    // Maps drive letter `drive` (A to Z, either case) to `folder`.
    void map(char drive, std::string folder);
    // Parses "C=/some/folder"; false when malformed.
    bool mapFromSpec(std::string_view spec);
    std::string shortPath(const FileSystem& fs, std::string_view path) const;
    // Short names are worked out once per folder; call this after folders changed.
    void forgetShortNames();

  private:
    struct NameCache;
    std::map<char, std::string> drives_;
    std::shared_ptr<NameCache> names_;  // shared by copies: names do not depend on the drives
};

}  // namespace dadaz
