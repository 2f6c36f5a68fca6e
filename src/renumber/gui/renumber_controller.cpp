#include "renumber/gui/renumber_controller.h"

#include <QApplication>
#include <QEvent>

#include "renumber/renumber_texts.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

RenumberSettings settingsOf(const RenamePanel& panel, const SessionState& state) {
    RenumberSettings settings;
    settings.digitText = panel.txtRenameDigit->text().toStdString();
    settings.customPattern = panel.chkCustomPattern->isChecked();
    settings.patternText = panel.txtCustomPattern->text().toStdString();
    settings.leaveDigit = panel.chkLeaveDigit->isChecked();
    settings.leaveText = panel.txtLeaveDigit->text().toStdString();
    settings.folderNameFirst = state.folderNameFirst;
    return settings;
}

}  // namespace

RenumberController::RenumberController(MainWindow& window) : QObject(&window), window_(window) {
    RenamePanel* panel = window.renamePanel();
    window.attach({panel->btnRename, panel->btnStopRename, panel->txtRenameDigit,
                   panel->chkCustomPattern, panel->txtCustomPattern, panel->chkLeaveDigit,
                   panel->txtLeaveDigit});
    connect(panel->btnRename, &QPushButton::clicked, this, [this] { start(); });
    connect(panel->btnStopRename, &QPushButton::clicked, this, &RenumberController::askStop);
    connect(panel->chkCustomPattern, &QCheckBox::toggled, this,
            &RenumberController::customPatternToggled);
    connect(panel->chkLeaveDigit, &QCheckBox::toggled, panel->txtLeaveDigit,
            &QLineEdit::setEnabled);
    connect(panel->txtCustomPattern, &QLineEdit::textChanged, this, [panel](const QString& text) {
        panel->txtRenameDigit->setText(QString::number(text.toUcs4().size()));
    });
    connect(panel->txtRenameDigit, &QLineEdit::editingFinished, this,
            &RenumberController::digitCountEdited);
    panel->txtCustomPattern->installEventFilter(this);
}

void RenumberController::customPatternToggled(bool checked) {
    RenamePanel* panel = window_.renamePanel();
    panel->txtCustomPattern->setEnabled(checked);
    if (checked) panel->chkLeaveDigit->setChecked(false);
    panel->chkLeaveDigit->setEnabled(!checked);
}

void RenumberController::digitCountEdited() {
    if (validating_) return;  // the message box takes the focus
    validating_ = true;
    RenamePanel* panel = window_.renamePanel();
    if (const auto digits = parseDigitCount(panel->txtRenameDigit->text().toStdString())) {
        panel->txtCustomPattern->setText(QString(*digits, QLatin1Char('0')));
    } else {
        window_.prompt().ask(MessageIcon::Critical, MessageButtons::Ok,
                             renumber_text::digitCountInvalid());
        panel->txtRenameDigit->setFocus();
    }
    validating_ = false;
}

bool RenumberController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        watched == window_.renamePanel()->txtCustomPattern) {
        const Answer answer = window_.prompt().ask(MessageIcon::Information, MessageButtons::YesNo,
                                                   renumber_text::folderNameFirstQuestion());
        window_.state().folderNameFirst = answer == Answer::Yes;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void RenumberController::askStop() {
    const Answer answer = window_.prompt().ask(MessageIcon::Exclamation, MessageButtons::YesNo,
                                               renumber_text::stopQuestion());
    window_.state().stopRequested = answer == Answer::Yes;
}

RenumberResult RenumberController::run(RenumberResult (*body)(RunContext&,
                                                              const RenumberSettings&)) {
    if (running_) return {};
    running_ = true;
    RunContext ctx = window_.makeRunContext("Rename");
    bool pointer = false;
    ctx.enterBusy = [this, &pointer, enter = ctx.enterBusy](const std::string& runName) {
        if (!pointer) QApplication::setOverrideCursor(Qt::BusyCursor);
        pointer = true;
        enter(runName);
        window_.selectMode(Mode::AddRenameLister);  // the progress box lies there
    };
    const RenumberResult result = body(ctx, settingsOf(*window_.renamePanel(), window_.state()));
    if (pointer) QApplication::restoreOverrideCursor();
    if (!result.createdMoveTo.empty())
        window_.folderPanel()->txtMoveTo->setText(QString::fromStdString(result.createdMoveTo));
    running_ = false;
    return result;
}

RenumberResult RenumberController::start() {
    return run([](RunContext& ctx, const RenumberSettings& settings) {
        return runRenumber(ctx, settings);
    });
}

RenumberResult RenumberController::completeInterrupted() {
    if (!hasInterruptedRenumber(window_.programFolder())) return {};
    return run(
        [](RunContext& ctx, const RenumberSettings&) { return completeInterruptedRenumber(ctx); });
}

void attachRenumber(MainWindow& window) {
    if (window.findChild<RenumberController*>()) return;
    auto* controller = new RenumberController(window);
    window.hooks().completeInterruptedRuns = [controller] { controller->completeInterrupted(); };
}

}  // namespace dadaz
