#include "songlist/player_records.h"

#include "library/song_code.h"
#include "platform/filesystem.h"
#include "platform/shortpath.h"
#include "songlist/song_entry.h"

namespace dadaz {

namespace {

constexpr std::size_t kCodeField = 8;
constexpr std::size_t kNameField = 60;
constexpr std::size_t kMidiField = 61;
constexpr std::size_t kLyricField = 61;
constexpr std::size_t kCursorField = 63;
constexpr std::size_t kMidiOffset = kCodeField + 1 + kNameField;
constexpr std::size_t kLyricOffset = kMidiOffset + kMidiField;
constexpr std::size_t kCursorOffset = kLyricOffset + kLyricField;
static_assert(kCursorOffset + kCursorField + 2 == kPlayerRecordSize);

void appendPadded(std::string& out, std::string_view text, std::size_t width, char pad) {
    const std::size_t used = std::min(text.size(), width);
    out.append(text.substr(0, used));
    out.append(width - used, pad);
}

void appendRecord(std::string& out, std::string_view code, std::string_view name,
                  const ShortPaths& paths) {
    appendPadded(out, code, kCodeField, ' ');
    out += ':';
    appendPadded(out, name, kNameField, '\0');
    appendPadded(out, paths.midi, kMidiField, '\0');
    appendPadded(out, paths.lyric, kLyricField, '\0');
    appendPadded(out, paths.cursor, kCursorField, '\0');
    out += "\r\n";
}

}  // namespace

bool fitsPlayerRecord(std::string_view code, const ShortPaths& paths) {
    return !code.empty() && code.size() <= kCodeField && paths.midi.size() <= kMidiField &&
           paths.lyric.size() <= kLyricField && paths.cursor.size() <= kCursorField;
}

void appendPlayerRecord(std::string& list, std::string_view code, std::string_view title,
                        std::string_view artist, const ShortPaths& paths) {
    std::string name;
    name.reserve(title.size() + 2 + artist.size());
    name.append(title).append("->").append(artist);
    appendRecord(list, code, name, paths);
}

std::string shortPathAsData(const FileSystem& fs, const DosDriveTable& drives,
                            std::string_view path) {
    if (path.empty()) return {};
    return nameAsData(drives.shortPath(fs, path)).value_or(std::string());
}

long appendMidiOnlyRecords(std::string& list, const FileSystem& fs, const DosDriveTable& drives,
                           const std::string& midiFolder) {
    const auto realFolder = fs.resolve(midiFolder);
    if (!realFolder) return 0;
    const std::string name(1, '\xFE');
    long withoutPath = 0;
    for (const DirEntry& file : fs.listFiles(*realFolder)) {
        if (file.hidden || !hasExtension(file.name, "MID")) continue;
        const auto code = nameAsData(dropLastCharacters(file.name, 4));
        if (!code || code->empty() || code->size() > kCodeField) continue;
        ShortPaths paths{shortPathAsData(fs, drives, joinPath(*realFolder, file.name)), {}, {}};
        if (paths.midi.empty()) {
            ++withoutPath;
            continue;
        }
        if (paths.midi.size() > kMidiField) continue;
        appendRecord(list, *code, name, paths);
    }
    return withoutPath;
}

void convertToTarnRecords(std::string& records, std::size_t songRecords) {
    std::size_t index = 0;
    for (std::size_t at = 0; at + kPlayerRecordSize <= records.size();
         at += kPlayerRecordSize, ++index) {
        for (std::size_t field : {kMidiOffset, kLyricOffset, kCursorOffset}) {
            if (index >= songRecords && field != kMidiOffset) break;
            records[at + field] = '.';
            records[at + field + 1] = '.';
        }
    }
}

std::string drivesUsed(std::string_view records) {
    bool used[26] = {};
    for (std::size_t at = 0; at + kPlayerRecordSize <= records.size(); at += kPlayerRecordSize) {
        for (std::size_t field : {kMidiOffset, kLyricOffset, kCursorOffset}) {
            const char letter = records[at + field];
            if (letter >= 'A' && letter <= 'Z') used[letter - 'A'] = true;
        }
    }
    std::string letters;
    for (int i = 0; i < 26; ++i) {
        if (used[i]) letters += static_cast<char>('A' + i);
    }
    return letters;
}

}  // namespace dadaz
