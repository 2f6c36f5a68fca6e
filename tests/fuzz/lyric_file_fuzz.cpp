// A lyric file of any bytes: read, its song list fields taken, saved and read back.
#include <cstdint>

#include "fuzz_support.h"
#include "library/lyric_file.h"
#include "platform/filesystem.h"

using namespace dadaz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static FileSystem fs;
    const std::string path = fuzz::scratchFolder() + "/12345.LYR";
    const std::string saved = fuzz::scratchFolder() + "/12345.SAVED.LYR";
    fuzz::writeBytes(path, bytes);
    fs.forgetIndexes();

    const auto lines = readLyricLines(fs, path);
    FUZZ_CHECK(lines && *lines == splitLines(bytes));
    for (const std::string& line : *lines)
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);

    // The song list reads only the first four lines, and the same fields.
    const auto fields = readLyricFields(fs, path);
    std::vector<std::string> firstFour(lines->begin(),
                                       lines->begin() + std::min<std::size_t>(4, lines->size()));
    FUZZ_CHECK(fields);
    const LyricFields expected = lyricFieldsFromLines(firstFour);
    FUZZ_CHECK(fields->title == expected.title && fields->artist == expected.artist &&
               fields->key == expected.key && fields->fourthLine == expected.fourthLine);
    // A field is never empty, the title never holds "(" nor starts or ends with a blank
    // beyond the single blank of an empty one.
    FUZZ_CHECK(!fields->title.empty() && !fields->artist.empty() && !fields->key.empty());
    FUZZ_CHECK(fields->title.find('(') == std::string::npos);
    FUZZ_CHECK(fields->title == " " ||
               (fields->title.front() != ' ' && fields->title.back() != ' '));
    for (const std::string* field : {&fields->title, &fields->artist, &fields->key}) {
        const std::string listed = songListText(*field);
        FUZZ_CHECK(listed.size() == field->size());
        FUZZ_CHECK(listed.find_first_of(std::string_view(";\0", 2)) == std::string::npos);
    }

    // Saved and read back: the same lines, each ended by CR LF.
    FUZZ_CHECK(writeLyricLines(fs, saved, *lines));
    const auto again = readLyricLines(fs, saved);
    FUZZ_CHECK(again && *again == *lines);
    FUZZ_CHECK(*fs.readFile(saved) == lyricBytes(*lines));

    // Emptying the fourth line touches no other line.
    const FourthLineFix fix = emptyFourthLine(fs, path);
    const auto fixed = readLyricLines(fs, path);
    FUZZ_CHECK(fixed);
    if (lines->size() < 4 || (*lines)[3].empty()) {
        FUZZ_CHECK(fix == FourthLineFix::AlreadyEmpty && *fs.readFile(path) == bytes);
    } else {
        FUZZ_CHECK(fix == FourthLineFix::Emptied);
        std::vector<std::string> want = *lines;
        want[3].clear();
        FUZZ_CHECK(*fixed == want);
    }
    return 0;
}
