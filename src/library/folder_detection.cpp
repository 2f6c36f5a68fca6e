#include "library/folder_detection.h"

#include <array>
#include <string_view>

namespace dadaz {

namespace {

enum class Slot { Midi, Lyric, Cursor, MoveTo, None };

Slot slotOf(const std::string& upperName) {
    struct Rule {
        std::string_view name;
        Slot slot;
    };
    static constexpr std::array<Rule, 9> rules{{
        {"MIDI", Slot::Midi},
        {"DATA", Slot::Midi},
        {"SONG", Slot::Midi},
        {"SONGS", Slot::Midi},
        {"LYRIC", Slot::Lyric},
        {"LYRICS", Slot::Lyric},
        {"CURSOR", Slot::Cursor},
        {"CURSORS", Slot::Cursor},
        {"INVALID FILES", Slot::MoveTo},
    }};
    for (const auto& rule : rules) {
        if (rule.name == upperName) return rule.slot;
    }
    return Slot::None;
}

}  // namespace

DetectedFolders detectFolders(const FileSystem& fs, const std::string& programFolder,
                              const std::function<void()>& beforeEach) {
    DetectedFolders found;
    Folders& f = found.folders;
    for (const DirEntry& entry : fs.listFolders(programFolder)) {
        if (beforeEach) beforeEach();
        const std::string path = joinPath(programFolder, entry.name);
        switch (slotOf(upperAscii(entry.name))) {
            case Slot::Midi:
                f.midi = path;
                break;
            case Slot::Lyric:
                f.lyric = path;
                break;
            case Slot::Cursor:
                f.cursor = path;
                break;
            case Slot::MoveTo:
                f.moveTo = path;
                break;
            case Slot::None:
                break;
        }
    }
    if (f.midi.empty()) f.midi = programFolder;
    if (f.lyric.empty()) f.lyric = programFolder;
    if (f.cursor.empty()) f.cursor = programFolder;
    if (f.moveTo.empty()) f.moveTo = joinPath(programFolder, "Invalid Files");
    found.addSongSource = joinPath(programFolder, "New Song");
    return found;
}

}  // namespace dadaz
