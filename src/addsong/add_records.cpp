#include "addsong/add_records.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "addsong/add_texts.h"
#include "platform/codepage.h"
#include "platform/sys_io.h"

namespace dadaz {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string fieldsPart(const SongLineFields& fields) {
    return "  ;" + fields.title + "  ;" + fields.artist + "  ;" + fields.key + "  ;";
}

// A file name as a record line holds it: a control character would break the line.
std::string recordName(std::string_view name) {
    std::string text(name);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

}  // namespace

std::string numberedSongLine(const std::string& oldCode, const std::string& newCode,
                             const SongLineFields& fields) {
    return utf8ToCp874(recordName(oldCode)) + " => " + utf8ToCp874(newCode) + fieldsPart(fields) +
           "1";
}

std::string keptSongLine(const std::string& code, const SongLineFields& fields) {
    return utf8ToCp874(code) + fieldsPart(fields) + "2";
}

std::string leftOutLine(const LeftOutSong& song) {
    std::string line = recordName(song.lyricName);
    if (!song.code.empty()) line += " => " + song.code;
    return line + "  ;" + song.reason;
}

std::string newSongListBytes(const std::vector<std::string>& songLines,
                             const std::vector<LeftOutSong>& leftOut) {
    std::string bytes = utf8ToCp874(add_text::kListHeading) + kLineEnd + kLineEnd;
    for (const std::string& line : songLines) bytes += line + kLineEnd;
    if (leftOut.empty()) return bytes;
    bytes += kLineEnd +
             utf8ToCp874(add_text::leftOutHeading(static_cast<long long>(leftOut.size()))) +
             kLineEnd;
    for (const LeftOutSong& song : leftOut) {
        // A file name may hold a line end; it must not split the song's line.
        std::string line = utf8ToCp874(leftOutLine(song));
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, '?');
        bytes += line + kLineEnd;
    }
    return bytes;
}

std::string timeStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d%m%Y%H%M", &local);
    return text;
}

bool AddLog::open(const std::string& path) {
    close();
    // A log of the same minute is replaced by a fresh file, never written through a link.
    std::remove(path.c_str());
    file_ = sys::fopen(path.c_str(), "wbx");
    ok_ = file_ != nullptr;
    return ok_;
}

bool AddLog::append(const std::string& line) {
    if (!file_) return false;
    const std::string bytes = line + kLineEnd;
    if (sys::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() ||
        sys::fflush(file_) != 0) {
        ok_ = false;
    }
    return ok_;
}

bool AddLog::close() {
    if (!file_) return ok_;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
    return ok_;
}

}  // namespace dadaz
