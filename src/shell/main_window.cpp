#include "shell/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QPointer>
#include <QVBoxLayout>
#include <chrono>
#include <vector>

#include "shell/qt_prompt.h"
#include "shell/qt_settings_store.h"
#include "shell/tooltips.h"
#include "songlist/kar_converter.h"

namespace dadaz {

namespace {

const QColor kCaptionGrey(128, 128, 128);

// The window's fixed size: fits a 1366 x 768 screen with the desktop's panels and title bar.
constexpr int kWindowWidth = 1180;
constexpr int kWindowHeight = 680;

}  // namespace

MainWindow::MainWindow(std::string programFolder, QWidget* parent)
    : QWidget(parent),
      content_(new QWidget(this)),
      hold_(new ControlHold(this)),
      toolTips_(new ToolTip(this)),
      busy_(content_) {
    setObjectName(QStringLiteral("frmDADAzarEdizuda"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));

    ownPrompt_ = std::make_unique<QtPrompt>(this);
    ownSettings_ = std::make_unique<QtSettingsStore>();
    ownLauncher_ = std::make_unique<SystemLauncher>();
    context_.programFolder = std::move(programFolder);
    context_.fs = &fs_;
    context_.prompt = ownPrompt_.get();
    context_.settings = ownSettings_.get();
    context_.launcher = ownLauncher_.get();
    context_.state = &state_;

    buildLayout();
    connectFrames();

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("Timer1"));
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &MainWindow::clockTick);
    clockTimer_->start();

    loadingTimer_ = new QTimer(this);
    loadingTimer_->setObjectName(QStringLiteral("Timer2"));
    loadingTimer_->setInterval(300);
    connect(loadingTimer_, &QTimer::timeout, this, [this] {
        QWidget* notice = songSearchPanel_->txtLoadingSong;
        notice->setVisible(notice->isHidden());
    });

    selectedCountTimer_ = new QTimer(this);
    selectedCountTimer_->setObjectName(QStringLiteral("Timer3"));
    selectedCountTimer_->setInterval(250);
    selectedCountTimer_->setSingleShot(true);
    connect(selectedCountTimer_, &QTimer::timeout, this, [this] {
        auto count =
            static_cast<long long>(findDuplicatePanel_->lstSearchResult->selectedItems().size());
        findDuplicatePanel_->lblSelectedCount->setText(QString::fromStdString(formatCount(count)) +
                                                       QString::fromUtf8(" เพลง"));
    });

    // Load: add-rename-list mode with the automatic target, folder name first in custom
    // patterns, the converter if it is there, the help texts.
    selectMode(Mode::AddRenameLister);
    addSongPanel_->radAutoSelect->setChecked(true);
    state_.folderNameFirst = true;
    // A converter that cannot be started (a Windows one without wine) is not offered; the
    // About box says what it needs.
    if (findKarConverter(fs_, context_.programFolder).ready()) {
        state_.makeKarAvailable = true;
        listerPanel_->lblLister->setText(
            QString::fromUtf8("สร้างรายการเพลง หรือแฟ้มคาราโอเกะ [*.KAR]"));
    }
    installHelpTexts(*toolTips_, this, content_);
    // The shell gives the mode selector and the folder frame their actions; the mode panels
    // wait for their features.
    hold_->holdControls(fraMain_);
    clockTick();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // Features watch controls through event filters and signals. They go first, so the last
    // events of controls being torn down (focus, hide) never reach a feature that would
    // look at this half-destroyed window.
    // One of them may delete another: hold them by guarded pointers.
    std::vector<QPointer<QObject>> features;
    for (QObject* child : children()) {
        if (!child->isWidgetType() && qobject_cast<QLayout*>(child) == nullptr)
            features.emplace_back(child);
    }
    for (const QPointer<QObject>& feature : features) delete feature.data();
}

void MainWindow::buildLayout() {
    selectorPanel_ = new SelectorPanel(content_);
    folderPanel_ = new FolderPanel(context_, content_);
    fraDateTime_ = new CaptionFrame(QStringLiteral("fraDateTime"), {}, content_);
    fraDateTime_->setToolTip(alwaysOnTopOffTip());
    fraCopyRight_ = new CaptionFrame(QStringLiteral("fraCopyRight"),
                                     QStringLiteral("DAD Azar Edizuda"), content_);
    fraCopyRight_->setToolTip(QString::fromUtf8("เกี่ยวกับ DAD Azar Edizuda [F1]"));
    for (CaptionFrame* frame : {fraDateTime_, fraCopyRight_}) {
        frame->setCaptionColor(kCaptionGrey);
        frame->setFlat(true);
        frame->setFixedHeight(30);
    }

    fraMain_ = new CaptionFrame(QStringLiteral("fraMain"), {}, content_);
    fraMain_->setFlat(true);
    addSongPanel_ = new AddSongPanel(fraMain_);
    renamePanel_ = new RenamePanel(fraMain_);
    listerPanel_ = new ListerPanel(fraMain_);
    songSearchPanel_ = new SongSearchPanel(fraMain_);
    findDuplicatePanel_ = new FindDuplicatePanel(fraMain_);

    // The three modes share one place; only the current mode's panels show.
    auto* addRenameList = new QVBoxLayout;
    addRenameList->addWidget(addSongPanel_);
    addRenameList->addWidget(renamePanel_);
    addRenameList->addWidget(listerPanel_);
    addRenameList->addStretch();
    auto* modes = new QGridLayout(fraMain_);
    modes->addLayout(addRenameList, 0, 0);
    modes->addWidget(songSearchPanel_, 0, 0);
    modes->addWidget(findDuplicatePanel_, 0, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(selectorPanel_);
    left->addWidget(folderPanel_);
    left->addStretch();
    left->addWidget(fraDateTime_);
    left->addWidget(fraCopyRight_);
    auto* columns = new QHBoxLayout(content_);
    columns->addLayout(left, 0);
    columns->addWidget(fraMain_, 1);
    selectorPanel_->setFixedWidth(360);
    folderPanel_->setFixedWidth(360);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(content_);
    setFixedSize(kWindowWidth, kWindowHeight);
}

void MainWindow::attach(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) hold_->attach(control);
}

void MainWindow::connectFrames() {
    connect(selectorPanel_, &SelectorPanel::modeSelected, this, &MainWindow::onModeSelected);
    connect(fraCopyRight_, &CaptionFrame::clicked, this, &MainWindow::showAbout);
    connect(fraDateTime_, &CaptionFrame::doubleClicked, this, &MainWindow::toggleAlwaysOnTop);
    connect(fraCopyRight_, &CaptionFrame::mouseOver, this,
            [this] { fraCopyRight_->setCaptionColor(QColor(0, 0, 192)); });
    connect(fraDateTime_, &CaptionFrame::mouseOver, this,
            [this] { fraDateTime_->setCaptionColor(QColor(192, 0, 0)); });
    for (CaptionFrame* frame : {static_cast<CaptionFrame*>(folderPanel_), fraMain_}) {
        connect(frame, &CaptionFrame::mouseOver, this, [this] {
            fraCopyRight_->setCaptionColor(kCaptionGrey);
            fraDateTime_->setCaptionColor(kCaptionGrey);
        });
    }
}

void MainWindow::selectMode(Mode mode) {
    selectorPanel_->option(mode)->setChecked(true);
}

void MainWindow::onModeSelected(Mode mode) {
    addSongPanel_->setVisible(mode == Mode::AddRenameLister);
    renamePanel_->setVisible(mode == Mode::AddRenameLister);
    listerPanel_->setVisible(mode == Mode::AddRenameLister);
    songSearchPanel_->setVisible(mode == Mode::SongSearch);
    findDuplicatePanel_->setVisible(mode == Mode::FindDuplicate);
    stopPlayback();
    if (mode == Mode::SongSearch) {
        findDuplicatePanel_->btnPlayMIDI->setEnabled(false);
        findDuplicatePanel_->btnStopMIDI->setEnabled(false);
        songSearchPanel_->txtSongSearch->setFocus();
        songSearchPanel_->txtSongSearch->setCursorPosition(0);
    } else if (mode == Mode::FindDuplicate && hooks_.duplicateModeEntered) {
        hooks_.duplicateModeEntered();
    }
    emit modeChanged(mode);
}

void MainWindow::stopPlayback() {
    if (hooks_.stopPlayback) hooks_.stopPlayback();
}

RunContext MainWindow::makeRunContext(const std::string& runName) {
    // A run sees the disk as it is now; its indexes then last for the run.
    fs_.forgetIndexes();
    auto lastPump = std::make_shared<std::chrono::steady_clock::time_point>();
    return RunContext{
        .programFolder = context_.programFolder,
        .folders = folders(),
        .fs = fs_,
        .prompt = *context_.prompt,
        .progress = progressSinkFor(runName),
        .launcher = *context_.launcher,
        .state = state_,
        .pumpEvents =
            [lastPump, clock = runClock_] {
                auto now = clock();
                if (now - *lastPump < std::chrono::milliseconds(16)) return;
                *lastPump = now;
                QCoreApplication::processEvents();
            },
        .enterBusy = [this](const std::string& name) { busy_.enter(name); },
        .leaveBusy = [this] { busy_.leave(); },
        .now = runClock_,
    };
}

ProgressBarWidget* MainWindow::progressBarFor(const std::string& runName) const {
    if (runName == "AddSong") return addSongPanel_->picAddSongProgress;
    if (runName == "Rename") return renamePanel_->picRenameProgress;
    if (runName == "Lister") return listerPanel_->picListerProgress;
    return nullptr;
}

ProgressSink& MainWindow::progressSinkFor(const std::string& runName) {
    auto& sink = sinks_[runName];
    if (!sink) {
        QLabel* status = nullptr;
        if (runName == "Lister") status = listerPanel_->lblCurrentSong;
        if (runName == "LoadingSongDB") status = songSearchPanel_->lblSongSearchResult;
        if (runName == "FindDuplicate") status = findDuplicatePanel_->lblResultCounter;
        sink = std::make_unique<WidgetProgressSink>(progressBarFor(runName), status);
    }
    return *sink;
}

}  // namespace dadaz
