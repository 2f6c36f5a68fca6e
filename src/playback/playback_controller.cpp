#include "playback/playback_controller.h"

#include <filesystem>

#include "platform/filesystem.h"
#include "playback/mci.h"
#include "playback/playback_messages.h"
#include "playback/reset_file.h"

namespace dadaz {
namespace {

constexpr const char* kAlias = "MidiFile";

// Paths go to the device in double quotes, so folders with spaces work.
std::string inQuotes(const std::string& path) {
    return "\"" + path + "\"";
}

// The leading digits of a reply, as a number (0 when there are none).
std::int64_t leadingNumber(const std::string& text) {
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > (INT64_MAX - 9) / 10) break;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The file's real path. The folder indexes may predate a file another program put there, so
// the exact name is also asked of the disk.
std::optional<std::string> findFile(const FileSystem& fs, const std::string& path) {
    if (auto real = fs.resolve(path)) return real;
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
    return std::nullopt;
}

// Plays the reset file when it exists; writes it when it is missing (played from next time).
void resetSynthesizer(Mci& mci, FileSystem& fs, const std::string& resetFile) {
    if (resetFile.empty()) return;
    if (auto real = findFile(fs, resetFile)) {
        mci.send("Play " + inQuotes(*real) + " wait");
    } else {
        fs.writeFileAtomic(resetFile, resetFileBytes());
    }
}

}  // namespace

std::string formatPlayTime(std::int64_t ms) {
    if (ms < 0) ms = 0;
    std::int64_t seconds = (ms / 1000) % 60;
    return std::to_string(ms / 60000) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
}

bool hasMidiHeader(const FileSystem& fs, const std::string& path) {
    if (path.empty()) return false;
    auto real = findFile(fs, path);
    return real && startsWithMidiHeader(*real);
}

bool isSeparatorLine(const std::string& line) {
    return line.compare(0, 5, "-----") == 0;
}

PlaybackController::PlaybackController(Mci& mci, FileSystem& fs) : mci_(mci), fs_(fs) {}

bool PlaybackController::open(const std::string& midiFile, PlaybackView& view) {
    filePath_ = midiFile;
    if (!hasMidiHeader(fs_, midiFile)) return false;
    if (playing_) {
        // Only reachable when a caller skipped stop: release the old song first.
        mci_.send(std::string("Stop ") + kAlias);
        mci_.send(std::string("Close ") + kAlias);
        playing_ = false;
    }
    // A file that cannot be read as a song would play silence while showing a running song;
    // it is treated like one without the header.
    const std::string real = findFile(fs_, midiFile).value_or(midiFile);
    const MciReply opened = mci_.send("Open " + inQuotes(real) + " alias " + kAlias);
    if (opened.error == MciError::FileTooLarge) {
        view.message = PlaybackMessage{MessageIcon::Critical, playback_text::fileTooLarge(real)};
    }
    if (!opened.ok()) return false;
    mci_.send(std::string("Play ") + kAlias);
    mci_.send(std::string("Set ") + kAlias + " time format milliseconds");
    warnOfSilence(view);
    return true;
}

void PlaybackController::warnOfSilence(PlaybackView& view) {
    const SoundProblem problem = mci_.soundProblem();
    if (problem.kind == SoundProblem::Kind::None || problem == toldProblem_) return;
    toldProblem_ = problem;
    view.message = PlaybackMessage{MessageIcon::Exclamation, playback_text::soundProblem(problem)};
}

std::int64_t PlaybackController::statusNumber(const std::string& command) {
    return leadingNumber(mci_.send(command).text);
}

PlaybackView PlaybackController::playSearchSong(const std::string& midiFile) {
    PlaybackView view;
    if (!open(midiFile, view)) return view;
    lengthMs_ = statusNumber(std::string("Status ") + kAlias + " length");
    playing_ = true;
    playingSearchSong_ = true;
    skippedSeparator_.reset();
    view.lengthText = formatPlayTime(lengthMs_);
    view.timesVisible = true;
    view.stopSongEnabled = true;
    view.playSongEnabled = false;
    return view;
}

PlaybackView PlaybackController::playDuplicateSong(const std::string& midiFile) {
    PlaybackView view;
    if (!open(midiFile, view)) return view;
    playing_ = true;
    playingSearchSong_ = false;
    skippedSeparator_.reset();
    view.stopMidiEnabled = true;
    view.playMidiEnabled = false;
    return view;
}

PlaybackView PlaybackController::stop(const StopContext& context) {
    // A stop or a mode change ends the auto-advance too: a pending move past a separator
    // would start a song in a panel the user has left.
    skippedSeparator_.reset();
    return release(context);
}

PlaybackView PlaybackController::release(const StopContext& context) {
    PlaybackView view;
    if (!playing_) {
        if (context.songSearchMode) {
            view.playSongEnabled =
                context.searchAll ? context.searchListCount >= 4 : context.searchListCount >= 1;
        } else {
            view.playMidiEnabled = context.duplicateListCount >= 1;
        }
        return view;
    }
    mci_.send(std::string("Stop ") + kAlias);
    mci_.send(std::string("Close ") + kAlias);
    resetSynthesizer(mci_, fs_, context.resetFile);
    // Nothing plays any more, so no stop button stays live; the play button that the play
    // disabled comes back even when the mode changed meanwhile.
    view.stopSongEnabled = false;
    view.stopMidiEnabled = false;
    if (context.songSearchMode || playingSearchSong_) view.playSongEnabled = true;
    if (!context.songSearchMode || !playingSearchSong_) view.playMidiEnabled = true;
    playing_ = false;
    view.timesVisible = false;
    view.lengthText = std::string();
    view.positionText = std::string();
    return view;
}

TickResult PlaybackController::tick(const TickInput& input) {
    TickResult result;
    bool advance = false;
    if (playing_) {
        MciReply reply = mci_.send(std::string("Status ") + kAlias + " position");
        std::int64_t position = leadingNumber(reply.text);
        result.positionText = formatPlayTime(position);
        advance = playingSearchSong_ && reply.ok() && position == lengthMs_;
    } else if (skippedSeparator_ && input.selectedIndex >= 0 &&
               static_cast<std::size_t>(input.selectedIndex) == *skippedSeparator_) {
        advance = true;
    }
    skippedSeparator_.reset();
    if (!advance || input.searchListCount <= 2) return result;

    const std::size_t count = input.searchListCount;
    std::size_t next = 0;
    if (input.selectedIndex >= 0 && static_cast<std::size_t>(input.selectedIndex) + 1 < count) {
        next = static_cast<std::size_t>(input.selectedIndex) + 1;
    }
    result.view = release(input.stop);
    result.select = next;
    if (input.lineText && isSeparatorLine(input.lineText(next))) {
        skippedSeparator_ = next;
    } else {
        result.play = true;
    }
    return result;
}

ResultWindowPlayer::ResultWindowPlayer(Mci& mci, FileSystem& fs) : mci_(mci), fs_(fs) {}

bool ResultWindowPlayer::play(const std::string& resetFile, const std::string& midiFile) {
    if (!resetFile.empty()) {
        if (auto real = findFile(fs_, resetFile)) mci_.send("Play " + inQuotes(*real) + " wait");
    }
    if (!hasMidiHeader(fs_, midiFile)) return false;
    const std::string real = findFile(fs_, midiFile).value_or(midiFile);
    if (!mci_.send("Play " + inQuotes(real)).ok()) return false;
    playingFile_ = real;
    return true;
}

void ResultWindowPlayer::stop() {
    if (playingFile_.empty()) return;
    mci_.send("Stop " + inQuotes(playingFile_));
    playingFile_.clear();
}

}  // namespace dadaz
