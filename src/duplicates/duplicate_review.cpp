#include "duplicates/duplicate_review.h"

#include <ctime>
#include <unordered_set>

#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "duplicates/duplicate_texts.h"
#include "library/song_paths.h"
#include "operations/favourites.h"
#include "operations/removal_texts.h"
#include "platform/filesystem.h"
#include "platform/progress.h"

namespace dadaz {

namespace text = duplicate_text;

std::size_t markedCount(const std::vector<ResultLine>& lines) {
    std::size_t count = 0;
    for (const ResultLine& line : lines) count += line.marked ? 1 : 0;
    return count;
}

void importSelection(std::vector<ResultLine>& lines, const std::vector<std::string>& fileLines) {
    const std::unordered_set<std::string> wanted(fileLines.begin(), fileLines.end());
    for (ResultLine& line : lines) {
        if (!isSeparatorLine(line.text) && wanted.count(line.text)) line.marked = true;
    }
}

bool saveSelection(FileSystem& fs, const std::string& programFolder,
                   const std::vector<ResultLine>& lines, Prompt& prompt) {
    std::vector<std::string> marked;
    for (const ResultLine& line : lines) {
        if (line.marked) marked.push_back(line.text);
    }
    if (FavouritesFile(fs, programFolder).write(marked)) return true;
    prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::selectionNotSaved(programFolder));
    return false;
}

void offerSelection(FileSystem& fs, const std::string& programFolder,
                    std::vector<ResultLine>& lines, Prompt& prompt) {
    FavouritesFile file(fs, programFolder);
    if (!file.exists()) return;
    if (prompt.ask(MessageIcon::Question, MessageButtons::YesNo, text::importQuestion()) ==
        Answer::Yes) {
        importSelection(lines, file.read().value_or(std::vector<std::string>{}));
    } else if (prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                          text::deleteSelectionQuestion()) == Answer::Yes) {
        deleteSelection(fs, programFolder);
    }
}

void deleteSelection(FileSystem& fs, const std::string& programFolder) {
    FavouritesFile file(fs, programFolder);
    if (file.exists()) fs.deleteFile(file.path(), true);
}

std::size_t songsLosingEveryCopy(const std::vector<ResultLine>& lines,
                                 DuplicateCriterion criterion) {
    std::size_t songs = 0;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (isSeparatorLine(lines[i].text)) {
            ++i;
            continue;
        }
        bool allMarked = lines[i].marked;
        std::size_t j = i + 1;
        for (; j < lines.size() && !isSeparatorLine(lines[j].text) &&
               sameSong(lines[j - 1].text, lines[j].text, criterion);
             ++j)
            allMarked = allMarked && lines[j].marked;
        songs += allMarked ? 1 : 0;
        i = j;
    }
    return songs;
}

std::string ensureLogFolder(FileSystem& fs, const std::string& programFolder) {
    const std::string folder = joinPath(programFolder, "Log");
    if (!fs.isFolder(folder)) fs.createFolder(folder);
    return folder;
}

std::string logTimeStamp(std::chrono::system_clock::time_point when) {
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&time, &local);
    char out[16];
    std::strftime(out, sizeof out, "%d%m%Y%H%M", &local);
    return out;
}

bool confirmDuplicateRemoval(FileSystem& fs, Prompt& prompt, RemovalKind kind,
                             const Folders& folders, const std::vector<ResultLine>& lines,
                             DuplicateCriterion criterion) {
    if (kind == RemovalKind::Move) {
        fs.forgetIndexes();
        if (!fs.isFolder(folders.moveTo)) {
            if (prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                           removal_text::missingMoveToQuestion()) != Answer::Yes)
                return false;
            if (!fs.createFolder(folders.moveTo)) {
                prompt.ask(MessageIcon::Critical, MessageButtons::Ok,
                           removal_text::moveToNotCreated(folders.moveTo));
                return false;
            }
        }
    }
    const Answer answer =
        kind == RemovalKind::Delete
            ? prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNo, text::deleteQuestion())
            : prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                         text::moveQuestion(folders.moveTo));
    if (answer != Answer::Yes) return false;
    const std::size_t whole = songsLosingEveryCopy(lines, criterion);
    return whole == 0 || prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNoDefaultNo,
                                    text::everyCopyQuestion(whole)) == Answer::Yes;
}

bool DuplicateRemovalResult::anyGone() const {
    for (const SongRemovalOutcome& song : report.songs) {
        if (song.gone()) return true;
    }
    return false;
}

DuplicateRemovalResult removeMarkedSongs(FileSystem& fs, const std::vector<ResultLine>& lines,
                                         const DuplicateRemovalRun& run, ProgressSink& progress) {
    DuplicateRemovalResult result;
    fs.forgetIndexes();
    const SongPaths paths(fs, run.folders);
    SongRemover remover(fs, paths);
    const bool deleting = run.kind == RemovalKind::Delete;
    progress.barColour(deleting ? 0xFF8080 : 0xFFC080);
    const char* barText = deleting ? text::kDeleteBar : text::kMoveBar;
    const long total = static_cast<long>(lines.size());
    long done = 0;
    std::string log;
    for (const ResultLine& line : lines) {
        if (!line.marked || isSeparatorLine(line.text)) {
            result.lines.push_back({line.text, false});
            continue;
        }
        run.pumpEvents();
        const std::vector<CurrentSong> song{currentSongOfLine(line.text, paths.multiFolder())};
        RemovalReport one =
            deleting ? remover.deleteSongs(song) : remover.moveSongs(song, run.folders.moveTo);
        result.report.filesRemoved += one.filesRemoved;
        const SongRemovalOutcome& outcome = result.report.songs.emplace_back(one.songs.front());
        progress.progress(++done, total, barText);
        if (outcome.gone()) {
            log += line.text + "\r\n";
        } else {
            result.lines.push_back(line);
        }
    }
    const std::string logFolder = ensureLogFolder(fs, run.programFolder);
    result.logPath = joinPath(logFolder, (deleting ? "DDUP" : "MDUP") + run.stamp + ".txt");
    result.logWritten = fs.writeFileAtomic(result.logPath, log);
    return result;
}

std::string removalMessage(RemovalKind kind, const DuplicateRemovalResult& result,
                           MessageIcon& icon) {
    std::string message = removal_text::reportText(kind, result.report, true);
    if (!result.logWritten) {
        if (!message.empty()) message += "\n\n";
        message += text::logNotWritten(result.logPath);
    }
    if (!message.empty()) {
        icon = MessageIcon::Exclamation;
        return message;
    }
    icon = MessageIcon::Information;
    return kind == RemovalKind::Delete ? text::deleted() : text::moved();
}

}  // namespace dadaz
