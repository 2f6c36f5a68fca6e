#include "library/lyric_file.h"

#include "library/forced_write.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr std::string_view kBlank = " ";

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string orBlank(std::string_view field) {
    return field.empty() ? std::string(kBlank) : std::string(field);
}

}  // namespace

std::string songListText(std::string_view text) {
    std::string listed(text);
    for (char& c : listed) {
        if (c == ';')
            c = ',';
        else if (c == '\0')
            c = ' ';
    }
    return listed;
}

std::string titleFromLine(std::string_view line) {
    const auto parenthesis = line.find('(');
    if (parenthesis != std::string_view::npos) line = line.substr(0, parenthesis);
    return orBlank(trimBlanks(line));
}

LyricFields lyricFieldsFromLines(const std::vector<std::string>& lines) {
    auto line = [&](std::size_t i) -> std::string_view {
        return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
    };
    return {titleFromLine(line(0)), orBlank(line(1)), orBlank(line(2)), std::string(line(3))};
}

std::optional<LyricFields> readLyricFields(const FileSystem& fs, std::string_view path) {
    auto lines = fs.readLines(path, 4);
    if (!lines) return std::nullopt;
    return lyricFieldsFromLines(*lines);
}

std::optional<std::vector<std::string>> readLyricLines(const FileSystem& fs,
                                                       std::string_view path) {
    return fs.readLines(path);
}

std::string lyricBytes(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool writeLyricLines(FileSystem& fs, std::string_view path, const std::vector<std::string>& lines) {
    return fs.writeFileAtomic(path, lyricBytes(lines));
}

FourthLineFix emptyFourthLine(FileSystem& fs, std::string_view path) {
    auto lines = fs.readLines(path);
    if (!lines) return FourthLineFix::Failed;
    if (lines->size() < 4 || (*lines)[3].empty()) return FourthLineFix::AlreadyEmpty;
    (*lines)[3].clear();
    // The fix replaces a read-only lyric too, as the players' tools did.
    return writeFileForced(fs, path, lyricBytes(*lines)) ? FourthLineFix::Emptied
                                                         : FourthLineFix::Failed;
}

}  // namespace dadaz
