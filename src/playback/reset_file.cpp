#include "playback/reset_file.h"

#include "library/song_paths.h"
#include "platform/filesystem.h"

namespace dadaz {
namespace {

// Kept as the hexadecimal text the bytes were specified in, so the two are easy to compare.
constexpr std::string_view kResetFileHex =
    "4D,54,68,64,00,00,00,06,00,01,00,01,00,78,4D,54,72,6B,00,00,00,30,00,FF,21,01,00,00,F0,0A,"
    "41,10,42,12,40,00,7F,00,41,F7,00,FF,21,01,00,00,FF,58,04,04,02,18,08,00,FF,59,02,00,00,00,"
    "FF,51,03,09,27,C0,00,FF,2F,00";

int hexDigit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

std::string decodeHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3) {
        bytes.push_back(static_cast<char>(hexDigit(hex[i]) * 16 + hexDigit(hex[i + 1])));
    }
    return bytes;
}

}  // namespace

const std::string& resetFileBytes() {
    static const std::string bytes = decodeHex(kResetFileHex);
    return bytes;
}

std::string resetFilePath(const SongPaths& paths, std::string_view volume) {
    if (!paths.multiFolder()) {
        if (paths.folders().midi.empty()) return {};
        return joinPath(paths.folders().midi, kResetFileName);
    }
    if (!paths.isVolumeOfRoot(volume)) return {};
    return joinPath(joinPath(volume, "SONG"), kResetFileName);
}

}  // namespace dadaz
