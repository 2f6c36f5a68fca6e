#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/session_state.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/prompt.h"

namespace dadaz {

enum class DetailOutcome {
    Separator,      // a separator line: the six song operation buttons are disabled
    Shown,          // the lyric is shown; the song operation buttons are enabled
    LyricMissing,   // no lyric file: the rebuild offer was asked
    TitleMismatch,  // the lyric's title is not the catalogue's: the rebuild offer was asked
};

// What the detail view shows for one selected result line.
struct SongDetail {
    DetailOutcome outcome = DetailOutcome::Separator;
    // Yes to the rebuild offer: build the song list, load the catalogue and search again.
    bool rebuildRequested = false;
    CurrentSong song;  // the line's song; none for a separator
    // Shown only: the whole lyric for txtSongContent and its lines for lstSongContent, in
    // code page 874; the MIDI file path for the clipboard; the highlighted match in the lyric
    // text (start and length in characters; length 0 when nothing is highlighted).
    std::string lyricText;
    std::vector<std::string> lyricLines;
    std::string midiPath;
    std::pair<std::size_t, std::size_t> highlight{0, 0};
};

// The detail view of a result line: checks that the song's lyric file exists and still
// carries the catalogue's title (unless the line bears the edited mark "[+]"), asking the
// rebuild offer when not, and reads the lyric. With `highlightQuery` (the lyric option is
// ticked), the query's first match in the lyric is highlighted.
SongDetail showSongDetail(std::string_view line, const SongPaths& paths, const FileSystem& fs,
                          Prompt& prompt, std::string_view highlightQuery = {});

// Whether a lyric's first line passes the title check: as the song list writes it (";" as
// ",", NUL as a blank) and trimmed, it begins with the catalogue title (compared over the
// title's length, case ignored).
bool titleMatches(std::string_view firstLyricLine, std::string_view catalogueTitle);

// Double click on a result line: "tmidi.exe" from the program folder with the MIDI path as
// its one argument, in a normal window, when it is there; else the MIDI file opens with the
// desktop's default application. False for a separator or a line without a safe path.
bool openSongMidi(std::string_view line, const SongPaths& paths, const FileSystem& fs,
                  const std::string& programFolder, Launcher& launcher);

}  // namespace dadaz
