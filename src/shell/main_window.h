#pragma once

#include <QDateTime>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "library/folders.h"
#include "library/run_context.h"
#include "library/session_state.h"
#include "platform/filesystem.h"
#include "shell/add_song_panel.h"
#include "shell/busy_state.h"
#include "shell/caption_frame.h"
#include "shell/control_hold.h"
#include "shell/find_duplicate_panel.h"
#include "shell/folder_panel.h"
#include "shell/lister_panel.h"
#include "shell/progress_bar_widget.h"
#include "shell/rename_panel.h"
#include "shell/selector_panel.h"
#include "shell/shell_context.h"
#include "shell/song_search_panel.h"
#include "ui/tool_tip.h"

class QCheckBox;

namespace dadaz {

// The About box's text (F1, or a click on fraCopyRight).
std::string aboutBoxText();

// frmDADAzarEdizuda: the program's one main window. It holds the folder settings, the mode
// selector and the panels of the three modes, the shared session state, the shortcuts F1 to
// F12, the clock and the closing sequence. Runs get everything they need from
// makeRunContext(); features attach through the hooks and find their controls through the
// panels (or by object name). The controls of the mode panels stay disabled until a feature
// attaches to them.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // Where other parts of the program plug in; every hook may stay empty.
    struct Hooks {
        // Playback: stop the playing song (or only bring the play buttons up to date).
        std::function<void()> stopPlayback;
        // Timer1's playback share, every second: the running position and, when a song of
        // the search results has ended, the next result line.
        std::function<void()> playbackTick;
        // Duplicate mode was entered: offer the saved selection.
        std::function<void()> duplicateModeEntered;
        // Start, before anything else: complete a run a crash left unfinished.
        std::function<void()> completeInterruptedRuns;
        // Start: the update check window (runs after folder detection).
        std::function<void()> checkForUpdate;
        // Closing with a downloaded update: true when the installer was started and the
        // program may end; false cancels the closing.
        std::function<bool()> offerUpdateInstall;
        // Closing: empty the catalogue and the song list groups.
        std::function<void()> clearLists;
    };

    explicit MainWindow(std::string programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Services; the window makes its own (message boxes, INI settings, desktop launcher)
    // until others are put in. The window does not own what is put in.
    void setPrompt(Prompt& prompt) { context_.prompt = &prompt; }
    void setSettingsStore(SettingsStore& store) { context_.settings = &store; }
    void setLauncher(Launcher& launcher) { context_.launcher = &launcher; }
    // The clock's time source, and the time runs measure their pauses with (tests put in
    // times of their own).
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    void setRunClock(std::function<std::chrono::steady_clock::time_point()> now) {
        runClock_ = std::move(now);
    }
    Prompt& prompt() { return *context_.prompt; }
    Launcher& launcher() { return *context_.launcher; }
    SettingsStore& settings() { return *context_.settings; }
    FileSystem& fileSystem() { return fs_; }
    SessionState& state() { return state_; }
    const std::string& programFolder() const { return context_.programFolder; }
    Hooks& hooks() { return hooks_; }
    // The tooltip window of the controls' help texts.
    ToolTip& toolTips() { return *toolTips_; }
    // A feature gives these controls of the mode panels their action: they take the state
    // their panel made them with, and from then on the busy state and the feature govern
    // them. Features attach at start, before any run.
    void attach(std::initializer_list<QWidget*> controls);

    // The four folder texts as the boxes hold them now.
    Folders folders() const { return folderPanel_->folders(); }

    SelectorPanel* selectorPanel() const { return selectorPanel_; }
    FolderPanel* folderPanel() const { return folderPanel_; }
    AddSongPanel* addSongPanel() const { return addSongPanel_; }
    RenamePanel* renamePanel() const { return renamePanel_; }
    ListerPanel* listerPanel() const { return listerPanel_; }
    SongSearchPanel* songSearchPanel() const { return songSearchPanel_; }
    FindDuplicatePanel* findDuplicatePanel() const { return findDuplicatePanel_; }

    // Everything a run needs: folders as the boxes hold them now, the services, the progress
    // box of the run ("AddSong", "Rename", "Lister"; status texts of "Lister" go to
    // lblCurrentSong, of "LoadingSongDB" to lblSongSearchResult, of "FindDuplicate" to
    // lblResultCounter), an event pump (at most every 16 ms) and the busy state. The file
    // system's indexes are dropped first, so the run sees the disk as it is now.
    RunContext makeRunContext(const std::string& runName);
    ProgressBarWidget* progressBarFor(const std::string& runName) const;
    ProgressSink& progressSinkFor(const std::string& runName);
    void enterBusy(const std::string& runName) { busy_.enter(runName); }
    void leaveBusy() { busy_.leave(); }
    BusyState& busyState() { return busy_; }

    // Start, after the window shows: folder detection (modal), then the update check; with
    // an update downloaded the window closes at once to offer it.
    void startUp();
    // The detection window alone; `closeDelayMs` is its wait before it closes.
    void runFolderDetection(int closeDelayMs = 1500);

    void selectMode(Mode mode);
    Mode mode() const { return selectorPanel_->current(); }

    void toggleAlwaysOnTop();
    bool alwaysOnTop() const { return alwaysOnTop_; }
    void showAbout();

    // Timer2: the blinking notice while the catalogue loads.
    void startLoadingNotice() { loadingTimer_->start(); }
    void stopLoadingNotice() { loadingTimer_->stop(); }
    // Timer3: recounts the marked duplicate lines 250 ms from now.
    void armSelectedCountTimer() { selectedCountTimer_->start(); }
    // Timer1's work, once: the clock, then playback's share (playbackTick).
    void clockTick();

    bool updateReady() const { return updateReady_; }
    void setUpdateReady(bool ready) { updateReady_ = ready; }
    bool installUpdateOnExit() const { return installUpdateOnExit_; }

    // The closing sequence; true when the window may close.
    bool confirmClose();

  signals:
    void modeChanged(Mode mode);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLayout();
    void connectFrames();
    void onModeSelected(Mode mode);
    bool handleFunctionKey(int key);
    void toggleCheckBox(QCheckBox* box);
    void stopPlayback();

    FileSystem fs_;
    SessionState state_;
    ShellContext context_;
    std::unique_ptr<Prompt> ownPrompt_;
    std::unique_ptr<SettingsStore> ownSettings_;
    std::unique_ptr<Launcher> ownLauncher_;
    Hooks hooks_;
    std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };
    std::function<std::chrono::steady_clock::time_point()> runClock_ = [] {
        return std::chrono::steady_clock::now();
    };

    QWidget* content_;  // every control lies under it (dialogs do not)
    SelectorPanel* selectorPanel_ = nullptr;
    FolderPanel* folderPanel_ = nullptr;
    CaptionFrame* fraMain_ = nullptr;
    CaptionFrame* fraDateTime_ = nullptr;
    CaptionFrame* fraCopyRight_ = nullptr;
    AddSongPanel* addSongPanel_ = nullptr;
    RenamePanel* renamePanel_ = nullptr;
    ListerPanel* listerPanel_ = nullptr;
    SongSearchPanel* songSearchPanel_ = nullptr;
    FindDuplicatePanel* findDuplicatePanel_ = nullptr;

    ControlHold* hold_;
    ToolTip* toolTips_;
    BusyState busy_;
    std::map<std::string, std::unique_ptr<ProgressSink>> sinks_;
    QTimer* clockTimer_ = nullptr;
    QTimer* loadingTimer_ = nullptr;
    QTimer* selectedCountTimer_ = nullptr;

    bool alwaysOnTop_ = false;
    bool updateReady_ = false;
    bool installUpdateOnExit_ = false;
};

}  // namespace dadaz
