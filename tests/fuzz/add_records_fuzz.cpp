// NewSong.txt lines from any file names and lyric fields: every song stays one line that names
// its codes, and the file holds exactly the lines given.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstdint>

#include "addsong/add_records.h"
#include "fuzz_support.h"
#include "library/song_code.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

using namespace dadaz;

namespace {

// A lyric line: any bytes but a line end.
std::string lyricLine(FuzzedDataProvider& in) {
    std::string line = in.ConsumeRandomLengthString(40);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

// A file name: any bytes but "/" and NUL.
std::string fileName(FuzzedDataProvider& in) {
    std::string name = in.ConsumeRandomLengthString(16);
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    return name;
}

std::size_t count(std::string_view text, char c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<std::string> songLines;
    std::vector<LeftOutSong> leftOut;
    while (in.remaining_bytes() > 0 && songLines.size() + leftOut.size() < 8) {
        const std::string code = fileName(in);
        const std::string newCode = fileName(in);
        SongLineFields fields{lyricLine(in), lyricLine(in), lyricLine(in)};
        // The run adds only songs whose codes may build a path.
        const bool safe = isSafeCode(code) && isSafeCode(newCode);
        switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0:
                if (!safe) break;
                {
                    const std::string line = numberedSongLine(code, newCode, fields);
                    FUZZ_CHECK(line.starts_with(utf8ToCp874(code) + " => " + utf8ToCp874(newCode) +
                                                "  ;"));
                    FUZZ_CHECK(line.ends_with("  ;1"));
                    songLines.push_back(line);
                    break;
                }
            case 1:
                if (!safe) break;
                {
                    const std::string line = keptSongLine(code, fields);
                    FUZZ_CHECK(line.starts_with(utf8ToCp874(code) + "  ;") &&
                               line.ends_with("  ;2"));
                    songLines.push_back(line);
                    break;
                }
            default:
                leftOut.push_back({fileName(in), code, lyricLine(in)});
                break;
        }
    }
    const std::string bytes = newSongListBytes(songLines, leftOut);
    // Every line ends with CR LF; no field breaks a line.
    FUZZ_CHECK(bytes.ends_with("\r\n"));
    const std::vector<std::string> lines = splitLines(bytes);
    FUZZ_CHECK(count(bytes, '\n') == lines.size() && count(bytes, '\r') == lines.size());
    const std::size_t heading = 2;
    const std::size_t leftOutPart = leftOut.empty() ? 0 : 2 + leftOut.size();
    FUZZ_CHECK(lines.size() == heading + songLines.size() + leftOutPart);
    for (std::size_t i = 0; i < songLines.size(); ++i)
        FUZZ_CHECK(lines[heading + i] == songLines[i]);
    return 0;
}
