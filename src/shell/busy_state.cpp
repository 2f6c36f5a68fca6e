#include "shell/busy_state.h"

#include <QAbstractButton>

#include <array>
#include <span>
#include <vector>

namespace dadaz {

namespace {

struct RunControls {
    const char* runName;
    std::vector<const char*> disable;
    std::vector<const char*> hide;
    std::vector<const char*> show;
};

const std::array<RunControls, 4>& runTable() {
    static const std::array<RunControls, 4> table{{
        {"AddSong", {"btnRename", "btnLister"}, {}, {"lblAddSongProgress", "picAddSongProgress"}},
        // Hiding a start button uncovers its stop button, which lies under it.
        {"Rename", {"btnLister"}, {"btnRename"}, {"lblRenameProgress", "picRenameProgress"}},
        {"Lister",
         {"btnRename"},
         {"btnLister"},
         {"lblListerProgress", "lblOperate", "lblCurrentSong", "picListerProgress"}},
        {"LoadingSongDB",
         {"txtSongSearch", "lstSongSearch", "chkSearchAll", "chkSearchLyric", "txtSongContent"},
         {},
         {}},
    }};
    return table;
}

constexpr const char* kBusyDisable[] = {
    "btnFindDuplicate", "btnSongBook", "btnPlayMIDI", "btnStopMIDI", "btnSaveSelect",
    "btnOpenSelectList", "btnClear", "btnAddSelectList", "btnDeleteFile", "btnMoveFile",
    "btnBrowseMIDI", "btnBrowseLyric", "btnBrowseCursor", "btnBrowseMoveTo", "btnShowNewWindow",
    "btnAddSong", "btnBrowseNewSong", "lstSearchResult", "txtLyricContent", "txtMIDIPath",
    "txtLyricPath", "txtCursorPath", "txtMoveTo", "txtRenameDigit", "txtAddSong", "txtLeaveDigit",
    "txtCustomPattern", "radAddRenameLister", "radSongSearch", "radFindDuplicate",
    "radManualSelect", "radFromFileSelect", "radAutoSelect", "chkManualConfig", "chkLeaveDigit",
    "chkCustomPattern", "chkConfirmRemove",
    // The DOS drive table is read when a run starts; changing it meanwhile would mean nothing.
    "btnDosDrives", "btnSongBook"};

// The duplicate search reads its criterion at every pair of lines: a change during a run would
// mix two rules in one result, so the criterion is locked like the other options.
constexpr const char* kDuplicateCriteria[] = {"radFindSong", "radFindSongArtist", "radFindSongMidi",
                                              "radFindAll"};

constexpr const char* kIdleEnableShow[] = {"btnLister", "btnRename"};
constexpr const char* kIdleEnable[] = {
    "btnBrowseMIDI",     "btnBrowseLyric",   "btnBrowseCursor",  "btnFindDuplicate",
    "btnOpenSelectList", "btnBrowseMoveTo",  "btnBrowseNewSong", "txtMIDIPath",
    "txtLyricPath",      "txtCursorPath",    "txtRenameDigit",   "txtMoveTo",
    "txtLyricContent",   "txtAddSong",       "lstSearchResult",  "radAddRenameLister",
    "radSongSearch",     "radFindDuplicate", "radManualSelect",  "radFromFileSelect",
    "radAutoSelect",     "chkCustomPattern", "txtSongSearch",    "lstSongSearch",
    "chkSearchAll",      "chkSearchLyric",   "txtSongContent",   "chkConfirmRemove",
    "btnDosDrives",      "btnSongBook"};
// The add button comes back only when a source folder is chosen again.
constexpr const char* kIdleDisable[] = {"btnPlayMIDI",   "btnStopMIDI", "btnSaveSelect", "btnClear",
                                        "btnDeleteFile", "btnMoveFile", "btnAddSong"};
constexpr const char* kIdleHide[] = {
    "lblAddSongProgress", "lblOperate",         "lblCurrentSong",    "lblRenameProgress",
    "lblListerProgress",  "picAddSongProgress", "picRenameProgress", "picListerProgress"};

}  // namespace

QWidget* BusyState::control(const char* name) const {
    return window_->findChild<QWidget*>(QString::fromLatin1(name));
}

void BusyState::setEnabled(std::span<const char* const> names, bool enabled) const {
    for (const char* name : names) {
        if (QWidget* w = control(name)) w->setEnabled(enabled);
    }
}

void BusyState::setVisible(std::span<const char* const> names, bool visible) const {
    for (const char* name : names) {
        if (QWidget* w = control(name)) w->setVisible(visible);
    }
}

bool BusyState::isChecked(const char* name) const {
    auto* button = qobject_cast<QAbstractButton*>(control(name));
    return button != nullptr && button->isChecked();
}

void BusyState::enter(const std::string& runName) {
    busy_ = true;
    runName_ = runName;
    for (const RunControls& run : runTable()) {
        if (runName != run.runName) continue;
        setEnabled(run.disable, false);
        setVisible(run.hide, false);
        setVisible(run.show, true);
    }
    setEnabled(kBusyDisable, false);
    setEnabled(kDuplicateCriteria, false);
}

void BusyState::leave() {
    busy_ = false;
    setEnabled(kIdleEnableShow, true);
    setVisible(kIdleEnableShow, true);
    setEnabled(kIdleEnable, true);
    setEnabled(kDuplicateCriteria, true);
    setEnabled(kIdleDisable, false);
    setVisible(kIdleHide, false);
    if (QWidget* w = control("chkManualConfig")) w->setEnabled(!isChecked("radFromFileSelect"));
    if (QWidget* w = control("chkLeaveDigit")) w->setEnabled(!isChecked("chkCustomPattern"));
}

}  // namespace dadaz
