#include "playback/gui/playback_panel.h"

#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "library/song_paths.h"
#include "platform/codepage.h"
#include "playback/mci.h"
#include "playback/playback_controller.h"
#include "playback/reset_file.h"
#include "shell/main_window.h"

namespace dadaz {
namespace {

void setEnabled(QWidget* control, const std::optional<bool>& enabled) {
    if (enabled) control->setEnabled(*enabled);
}

void setText(QLineEdit* box, const std::optional<std::string>& text) {
    if (text) box->setText(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())));
}

}  // namespace

PlaybackPanel::PlaybackPanel(MainWindow& window, Mci* mci) : QObject(&window), window_(window) {
    if (!mci) {
        ownMci_ = std::make_unique<Mci>();
        mci = ownMci_.get();
    }
    controller_ = std::make_unique<PlaybackController>(*mci, window.fileSystem());

    SongSearchPanel* search = window.songSearchPanel();
    FindDuplicatePanel* duplicates = window.findDuplicatePanel();
    connect(search->btnPlaySong, &QPushButton::clicked, this, &PlaybackPanel::playSearchResult);
    connect(search->btnStopSong, &QPushButton::clicked, this, &PlaybackPanel::stop);
    connect(duplicates->btnPlayMIDI, &QPushButton::clicked, this,
            &PlaybackPanel::playDuplicateResult);
    connect(duplicates->btnStopMIDI, &QPushButton::clicked, this, &PlaybackPanel::stop);
    window.attach({search->btnPlaySong, search->btnStopSong, duplicates->btnPlayMIDI,
                   duplicates->btnStopMIDI});

    // The panel goes with the window, after the window's hooks: they never outlive it.
    window.hooks().stopPlayback = [this] { stop(); };
    window.hooks().playbackTick = [this] { tick(); };
}

// The device stops and closes its song when the Mci goes; the window's file system may
// already be gone by then, so nothing here touches it.
PlaybackPanel::~PlaybackPanel() = default;

PlaybackPanel::SongFiles PlaybackPanel::filesOfLine(const std::string& line) const {
    if (isSeparatorLine(line)) return {};
    SongPaths paths(window_.fileSystem(), window_.folders());
    SongFiles files;
    files.midiFile = songFileOfLine(paths, SongFileKind::Midi, line);
    const std::string volume = paths.multiFolder() ? cp874Name(volumeOfLine(line)) : "";
    files.resetFile = resetFilePath(paths, volume);
    return files;
}

void PlaybackPanel::playSearchResult() {
    SongLineList* list = window_.songSearchPanel()->lstSongSearch;
    const int row = list->currentRow();
    if (row < 0) return;
    const SongFiles files = filesOfLine(list->lineAt(row));
    const PlaybackView view = controller_->playSearchSong(files.midiFile);
    if (view.stopSongEnabled) resetFile_ = files.resetFile;
    apply(view);
}

void PlaybackPanel::playDuplicateResult() {
    QListWidgetItem* item = window_.findDuplicatePanel()->lstSearchResult->currentItem();
    if (!item) return;
    const SongFiles files = filesOfLine(utf16ToCp874(item->text().toStdU16String()));
    const PlaybackView view = controller_->playDuplicateSong(files.midiFile);
    if (view.stopMidiEnabled) resetFile_ = files.resetFile;
    apply(view);
}

StopContext PlaybackPanel::stopContext() const {
    SongSearchPanel* search = window_.songSearchPanel();
    StopContext context;
    context.songSearchMode = window_.mode() == Mode::SongSearch;
    context.resetFile = resetFile_;
    context.searchListCount = static_cast<std::size_t>(search->lstSongSearch->count());
    context.searchAll = search->chkSearchAll->isChecked();
    context.duplicateListCount =
        static_cast<std::size_t>(window_.findDuplicatePanel()->lstSearchResult->count());
    return context;
}

void PlaybackPanel::stop() {
    apply(controller_->stop(stopContext()));
}

void PlaybackPanel::tick() {
    SongSearchPanel* search = window_.songSearchPanel();
    SongLineList* list = search->lstSongSearch;
    TickInput input;
    input.searchListCount = static_cast<std::size_t>(list->count());
    input.selectedIndex = list->currentRow();
    input.lineText = [list](std::size_t row) { return list->lineAt(static_cast<int>(row)); };
    input.stop = stopContext();
    const TickResult result = controller_->tick(input);
    if (result.positionText) {
        setText(search->txtBeforeEdit, result.positionText);
        search->txtBeforeEdit->repaint();
    }
    // The finished song is released (and the synthesizer reset) before the next line is
    // selected and opens.
    apply(result.view);
    if (result.select) list->setCurrentRow(static_cast<int>(*result.select));
    if (result.play) playSearchResult();
}

void PlaybackPanel::apply(const PlaybackView& view) {
    SongSearchPanel* search = window_.songSearchPanel();
    FindDuplicatePanel* duplicates = window_.findDuplicatePanel();
    setEnabled(search->btnPlaySong, view.playSongEnabled);
    setEnabled(search->btnStopSong, view.stopSongEnabled);
    setEnabled(duplicates->btnPlayMIDI, view.playMidiEnabled);
    setEnabled(duplicates->btnStopMIDI, view.stopMidiEnabled);
    if (view.timesVisible) {
        search->txtBeforeEdit->setVisible(*view.timesVisible);
        search->txtAfterEdit->setVisible(*view.timesVisible);
    }
    setText(search->txtAfterEdit, view.lengthText);
    setText(search->txtBeforeEdit, view.positionText);
    if (view.message)
        window_.prompt().ask(view.message->icon, MessageButtons::Ok, view.message->text);
}

PlaybackPanel* attachPlayback(MainWindow& window, Mci* mci) {
    return new PlaybackPanel(window, mci);
}

}  // namespace dadaz
