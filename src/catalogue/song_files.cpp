#include "catalogue/song_files.h"

#include <algorithm>

#include "catalogue/song_line.h"
#include "platform/codepage.h"

namespace dadaz {

std::string cp874Name(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(text) : cp874ToUtf8(text);
}

std::string songCodeOfLine(std::string_view line) {
    return cp874Name(splitSongLine(line).code);
}

CurrentSong currentSongOfLine(std::string_view line, bool multiFolder) {
    return {songCodeOfLine(line), multiFolder ? cp874Name(volumeOfLine(line)) : std::string()};
}

std::string songFileOfLine(const SongPaths& paths, SongFileKind kind, std::string_view line) {
    const std::string code = songCodeOfLine(line);
    if (!paths.multiFolder()) return paths.path(kind, code);
    return paths.path(kind, code, cp874Name(volumeOfLine(line)));
}

}  // namespace dadaz
