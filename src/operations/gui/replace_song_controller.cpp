// btnReplaceSong: new files in place of the selected song's files; the song keeps its code.
#include "operations/gui/song_operations.h"
#include "operations/song_replacement.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

std::optional<ReplaceMode> askMode(Prompt& prompt) {
    switch (prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel, replaceModeQuestion(),
                       kReplaceTitle)) {
        case Answer::Yes:
            return ReplaceMode::AllFiles;
        case Answer::No:
            return ReplaceMode::MidiOnly;
        default:
            return std::nullopt;
    }
}

void replaceSelectedSong(MainWindow& window) {
    SongSearchPanel* panel = window.songSearchPanel();
    Prompt& prompt = window.prompt();
    FileSystem& fs = window.fileSystem();
    auto refuse = [&](const std::string& text) {
        prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text);
        panel->txtSongSearch->setFocus();
    };
    fs.forgetIndexes();  // files may have changed since the song was shown
    const SongPaths paths(fs, window.folders());
    const CurrentSong song = window.state().currentSong;
    if (std::string refusal = replaceTargetRefusal(paths, song); !refusal.empty())
        return refuse(refusal);

    const std::optional<ReplaceMode> mode = askMode(prompt);
    if (!mode) return;
    const std::string picked =
        prompt.pickFile(window.programFolder(), kReplacePickerTitle, kReplacePickerFilter);
    if (picked.empty()) return panel->txtSongSearch->setFocus();
    const ReplaceCheck check = checkReplacement(fs, paths, song, *mode, picked);
    if (!check.plan) return refuse(check.refusal);
    if (!panel->chkConfirmRemove->isChecked() &&
        prompt.ask(replaceConfirmationIcon(*mode), MessageButtons::YesNo,
                   replaceConfirmation(*mode)) != Answer::Yes)
        return panel->txtSongSearch->setFocus();

    if (window.hooks().stopPlayback) window.hooks().stopPlayback();
    panel->txtSongContent->clear();
    const ReplaceOutcome outcome = replaceSongFiles(fs, *check.plan);
    prompt.ask(outcome.icon, MessageButtons::Ok, outcome.message);
    panel->btnReplaceSong->setEnabled(true);
    panel->txtSongSearch->setFocus();
}

}  // namespace

void attachReplaceSong(MainWindow& window) {
    QPushButton* button = window.songSearchPanel()->btnReplaceSong;
    window.attach({button});
    QObject::connect(button, &QPushButton::clicked, button,
                     [&window] { replaceSelectedSong(window); });
}

}  // namespace dadaz
