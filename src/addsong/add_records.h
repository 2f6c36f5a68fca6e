#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace dadaz {

// Title, artist and key: the first three lines of a lyric file as they are (code page 874).
struct SongLineFields {
    std::string title, artist, key;
};

// "123 => 1000151  ;title  ;artist  ;key  ;1" for a song given a new code; codes are file
// names (UTF-8) and go into the line in code page 874.
std::string numberedSongLine(const std::string& oldCode, const std::string& newCode,
                             const SongLineFields& fields);
// "55  ;title  ;artist  ;key  ;2" for a song that kept its name.
std::string keptSongLine(const std::string& code, const SongLineFields& fields);

// A song the run did not add: its lyric file's name, the code it would have had (empty when
// it keeps its name) and why (UTF-8).
struct LeftOutSong {
    std::string lyricName;
    std::string code;
    std::string reason;
};

// NewSong.txt: the heading, an empty line, the added songs' lines; then, when songs were
// left out, an empty line, their heading and one line each. Lines end with CR LF.
std::string newSongListBytes(const std::vector<std::string>& songLines,
                             const std::vector<LeftOutSong>& leftOut);
std::string leftOutLine(const LeftOutSong& song);

// "DDMMYYYYHHNN" of a moment in local time.
std::string timeStamp(std::chrono::system_clock::time_point when);

// The run's log: one song line per song that arrived, written at once, so a run that is
// stopped half-way leaves the lines of the songs it added.
class AddLog {
  public:
    AddLog() = default;
    AddLog(const AddLog&) = delete;
    AddLog& operator=(const AddLog&) = delete;
    ~AddLog() { close(); }
    // Replaces a log of the same name.
    bool open(const std::string& path);
    // False once any line could not be written.
    bool append(const std::string& line);
    bool close();
    bool ok() const { return ok_; }

  private:
    std::FILE* file_ = nullptr;
    bool ok_ = false;
};

}  // namespace dadaz
