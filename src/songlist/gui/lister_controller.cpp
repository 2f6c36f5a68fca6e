#include "songlist/gui/lister_controller.h"

#include <QApplication>
#include <QCursor>

#include "shell/main_window.h"
#include "songlist/songlist_buttons.h"
#include "songlist/songlist_file.h"
#include "songlist/songlist_messages.h"

namespace dadaz {

namespace {

// The busy pointer from the moment the run enters the busy state to every way out of it,
// also an exception; shown at most once however often the run enters.
class BusyPointer {
  public:
    BusyPointer() = default;
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer() { hide(); }
    void show() {
        if (shown_) return;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        shown_ = true;
    }
    void hide() {
        if (!shown_) return;
        QApplication::restoreOverrideCursor();
        shown_ = false;
    }

  private:
    bool shown_ = false;
};

ListerController& controllerOf(MainWindow& window) {
    if (auto* controller = window.findChild<ListerController*>()) return *controller;
    return *new ListerController(window);
}

}  // namespace

ListerController::ListerController(MainWindow& window) : QObject(&window), window_(window) {
    ListerPanel* panel = window.listerPanel();
    connect(panel->btnLister, &QPushButton::clicked, this, &ListerController::start);
    connect(panel->btnStopLister, &QPushButton::clicked, this, &ListerController::askStop);
    window.attach({panel->btnLister, panel->btnStopLister});
}

std::optional<SongListResult> ListerController::run(const Body& body) {
    if (running_) return std::nullopt;
    running_ = true;
    struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};

    BusyPointer pointer;
    RunContext ctx = window_.makeRunContext("Lister");
    ctx.enterBusy = [this, &pointer, enter = ctx.enterBusy](const std::string& runName) {
        pointer.show();
        enter(runName);
        // The run's progress box lies in the add-rename-list mode, wherever it was started.
        window_.selectMode(Mode::AddRenameLister);
    };
    ctx.leaveBusy = [&pointer, leave = ctx.leaveBusy] {
        leave();
        pointer.hide();
    };

    // A stop asked for after the scan cannot stop the writing; it must not stop the next run.
    SessionState& state = window_.state();
    state.stopRequested = false;
    std::optional<SongListResult> result = body(ctx);
    state.stopRequested = false;

    if (result && !result->createdMoveTo.empty()) {
        window_.folderPanel()->txtMoveTo->setText(QString::fromStdString(result->createdMoveTo));
    }
    return result;
}

void ListerController::start() {
    SongListOptions options;
    options.drives = window_.folderPanel()->dosDrives();
    run([&options](RunContext& ctx) { return startSongListFromButton(ctx, options); });
}

void ListerController::askStop() {
    askStopSongList(window_.prompt(), window_.state());
}

void attachSongList(MainWindow& window) {
    controllerOf(window);
}

bool songListWritten(const SongListResult& result, const std::string& programFolder) {
    if (result.status == SongListResult::Status::Written) return true;
    // A failed player database leaves the new SongList.txt in place; a failed SongList.txt
    // stops the run before the database.
    return result.status == SongListResult::Status::WriteFailed &&
           result.message != songlist_text::writeFailed(kSongListFileName, programFolder);
}

bool rebuildSongList(MainWindow& window) {
    SongListOptions options;
    options.drives = window.folderPanel()->dosDrives();
    const std::optional<SongListResult> result =
        controllerOf(window).run([&options](RunContext& ctx) -> std::optional<SongListResult> {
            return runSongList(ctx, options);
        });
    return result && songListWritten(*result, window.programFolder());
}

}  // namespace dadaz
