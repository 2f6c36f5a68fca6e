#include "addsong/gui/add_song_controller.h"

#include <QEvent>
#include <QFocusEvent>
#include <QTimer>

#include "addsong/add_run.h"
#include "addsong/add_texts.h"
#include "library/song_code.h"
#include "shell/main_window.h"
#include "songlist/gui/lister_controller.h"

namespace dadaz {

AddSongController::AddSongController(MainWindow& window)
    : QObject(&window), window_(window), panel_(*window.addSongPanel()) {
    AddSongPanel& p = panel_;
    connect(p.radAutoSelect, &QRadioButton::clicked, this,
            [this] { selectTarget(AddTarget::Automatic); });
    connect(p.radManualSelect, &QRadioButton::clicked, this,
            [this] { selectTarget(AddTarget::Manual); });
    connect(p.radFromFileSelect, &QRadioButton::clicked, this,
            [this] { selectTarget(AddTarget::KeepNames); });
    connect(p.chkManualConfig, &QCheckBox::toggled, this, &AddSongController::manualConfigChanged);
    connect(p.txtFolderSelect, &QLineEdit::textChanged, p.txtFirstFileName, &QLineEdit::setText);
    connect(p.txtFolderSelect, &QLineEdit::editingFinished, this,
            &AddSongController::pulseManualConfig);
    connect(p.btnBrowseNewSong, &QPushButton::clicked, this, &AddSongController::browse);
    connect(p.btnAddSong, &QPushButton::clicked, this, &AddSongController::start);
    p.txtLastFileName->installEventFilter(this);
    window.attach({p.txtAddSong, p.btnBrowseNewSong, p.radAutoSelect, p.radManualSelect,
                   p.radFromFileSelect, p.txtFolderSelect, p.chkManualConfig, p.txtFirstFileName,
                   p.txtLastFileName, p.btnAddSong});
    // The window selected its target before the panel came alive.
    selectTarget(target());
}

AddTarget AddSongController::target() const {
    if (panel_.radManualSelect->isChecked()) return AddTarget::Manual;
    if (panel_.radFromFileSelect->isChecked()) return AddTarget::KeepNames;
    return AddTarget::Automatic;
}

void AddSongController::selectTarget(AddTarget target) {
    panel_.txtFolderSelect->setEnabled(target == AddTarget::Manual);
    panel_.chkManualConfig->setEnabled(target != AddTarget::KeepNames);
    if (target != AddTarget::KeepNames) pulseManualConfig();
}

void AddSongController::pulseManualConfig() {
    panel_.chkManualConfig->setChecked(true);
    panel_.chkManualConfig->setChecked(false);
}

void AddSongController::manualConfigChanged(bool checked) {
    panel_.txtFirstFileName->setEnabled(checked);
    panel_.txtLastFileName->setEnabled(checked);
    if (!checked) return;
    // A file system of its own: the folders as they are on disk now.
    FileSystem fs;
    const PatternSuggestion suggestion = suggestPattern(
        fs, window_.folders().midi, target(), panel_.txtFolderSelect->text().toStdString());
    if (suggestion.prefix) {
        panel_.txtFirstFileName->setText(QString::fromStdString(*suggestion.prefix));
    }
    panel_.txtLastFileName->setText(QString::fromStdString(suggestion.pattern));
}

void AddSongController::browse() {
    const std::string folder = window_.prompt().pickFolder(panel_.txtAddSong->text().toStdString(),
                                                           add_text::kFolderPickerTitle);
    if (folder.empty()) return;
    panel_.txtAddSong->setText(QString::fromStdString(folder));
    pulseManualConfig();
    panel_.btnAddSong->setEnabled(true);
}

bool AddSongController::patternLengthKept() {
    if (target() != AddTarget::Automatic) return true;
    const std::size_t kept = characterCount(addDigitPattern_);
    if (characterCount(panel_.txtLastFileName->text().toStdString()) == kept) return true;
    window_.prompt().ask(MessageIcon::Critical, MessageButtons::Ok,
                         add_text::patternLengthMessage(kept));
    return false;
}

bool AddSongController::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* box = panel_.txtLastFileName;
    if (watched != box) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // Coming back after a refused pattern is no new start of editing.
        if (!refocusing_) addDigitPattern_ = box->text().toStdString();
        refocusing_ = false;
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window coming forward is no move to another control.
        const bool leaving =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (leaving && !refocusing_ && !patternLengthKept()) {
            refocusing_ = true;
            QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void AddSongController::start() {
    AddSongOptions options;
    options.target = target();
    options.sourceFolder = panel_.txtAddSong->text().toStdString();
    options.prefix = panel_.txtFirstFileName->text().toStdString();
    options.patternBox = panel_.txtLastFileName->text().toStdString();
    options.customPattern = panel_.chkManualConfig->isChecked();
    options.buildSongList = [this] { rebuildSongList(window_); };
    RunContext ctx = window_.makeRunContext("AddSong");
    const AddSongResult result = runAddSong(ctx, options);
    if (!result.createdMoveTo.empty()) {
        window_.folderPanel()->txtMoveTo->setText(QString::fromStdString(result.createdMoveTo));
    }
}

void attachAddSong(MainWindow& window) {
    if (!window.findChild<AddSongController*>()) new AddSongController(window);
}

}  // namespace dadaz
