#include "catalogue/song_detail.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue/lyric_search.h"
#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "library/lyric_file.h"

namespace dadaz {

bool titleMatches(std::string_view firstLyricLine, std::string_view catalogueTitle) {
    return startsWithFolded(trimBlanks(songListText(firstLyricLine)), foldCase(catalogueTitle));
}

namespace {

// The real path of a song's file when it exists, else the path the layout gives.
std::string existingOrBuilt(const SongPaths& paths, const FileSystem& fs, std::string_view line,
                            SongFileKind kind) {
    const std::string built = songFileOfLine(paths, kind, line);
    if (built.empty()) return built;
    const auto real = fs.resolve(built);
    return real && fs.isFile(*real) ? *real : built;
}

bool offerRebuild(Prompt& prompt, const char* text) {
    return prompt.ask(MessageIcon::Critical, MessageButtons::YesNo, text) == Answer::Yes;
}

}  // namespace

SongDetail showSongDetail(std::string_view line, const SongPaths& paths, const FileSystem& fs,
                          Prompt& prompt, std::string_view highlightQuery) {
    SongDetail detail;
    if (isSeparatorLine(line)) return detail;
    detail.song = currentSongOfLine(line, paths.multiFolder());

    const std::string lyricPath = songFileOfLine(paths, SongFileKind::Lyric, line);
    const auto lyric = lyricPath.empty() ? std::nullopt : fs.readFile(lyricPath);
    if (!lyric) {
        detail.outcome = DetailOutcome::LyricMissing;
        detail.rebuildRequested = offerRebuild(prompt, catalogue_text::kSongMissing);
        return detail;
    }
    std::vector<std::string> lines = splitLines(*lyric);
    if (!hasEditedMark(line)) {
        const std::string_view firstLine = lines.empty() ? std::string_view{} : lines.front();
        if (!titleMatches(firstLine, splitSongLine(line).title)) {
            detail.outcome = DetailOutcome::TitleMismatch;
            detail.rebuildRequested = offerRebuild(prompt, catalogue_text::kTitleMismatch);
            return detail;
        }
    }
    detail.outcome = DetailOutcome::Shown;
    detail.lyricText = *lyric;
    detail.lyricLines = std::move(lines);
    detail.midiPath = existingOrBuilt(paths, fs, line, SongFileKind::Midi);
    if (!highlightQuery.empty()) detail.highlight = LyricQuery(highlightQuery).find(*lyric);
    return detail;
}

bool openSongMidi(std::string_view line, const SongPaths& paths, const FileSystem& fs,
                  const std::string& programFolder, Launcher& launcher) {
    if (isSeparatorLine(line)) return false;
    const std::string midi = existingOrBuilt(paths, fs, line, SongFileKind::Midi);
    if (midi.empty()) return false;
    const auto player = fs.resolve(joinPath(programFolder, "tmidi.exe"));
    if (player && fs.isFile(*player)) return launcher.startProgram(*player, {midi}, false);
    return launcher.openDocument(midi);
}

}  // namespace dadaz
