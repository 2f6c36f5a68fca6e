#include "duplicates/gui/find_duplicate_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "catalogue/song_files.h"
#include "duplicates/duplicate_review.h"
#include "duplicates/duplicate_texts.h"
#include "duplicates/gui/result_list_view.h"
#include "library/song_paths.h"
#include "playback/mci.h"
#include "playback/playback_controller.h"
#include "playback/reset_file.h"
#include "shell/controls.h"
#include "shell/main_window.h"
#include "shell/progress_bar_widget.h"

namespace dadaz {

namespace text = duplicate_text;

namespace {

// The old window's measures were twips; 15 to a pixel.
constexpr int px(int twips) {
    return twips / 15;
}
constexpr int kLyricWidth = 300;

}  // namespace

FindDuplicateWindow::FindDuplicateWindow(MainWindow& main, const std::vector<ResultLine>& lines,
                                         const QString& counterText, DuplicateCriterion searchedBy)
    : QDialog(&main), main_(main), searchedBy_(searchedBy) {
    setObjectName(QStringLiteral("frmFindDuplicate"));
    setWindowTitle(QString::fromUtf8(text::kWindowCaption));
    setModal(true);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setMinimumSize(px(9600), px(7260));
    resize(px(12000), px(8400));

    const char* warning = "คำเตือน : กรุณาเลือกลบเพลงที่ไม่ต้องการเท่านั้น ในหนึ่งเพลง ห้ามลบออกทั้งหมด";
    lstSearchResult = makeList(this, "lstSearchResult");
    lstSearchResult->setSelectionMode(QAbstractItemView::MultiSelection);
    txtLyricContent = makeTextArea(this, "txtLyricContent");
    txtLyricContent->setReadOnly(true);
    lblSearchResult = makeLabel(this, "lblSearchResult", "ผลการค้นหา พบ");
    lblResultCounter = makeLabel(this, "lblResultCounter", counterText);
    lblLyricContent = makeLabel(this, "lblLyricContent", "เนื้อเพลง");
    lblSelectSong = makeLabel(this, "lblSelectSong", QString());
    lblWarning = makeLabel(this, "lblWarning", warning);
    picRemoveDuplicate = new ProgressBarWidget(QStringLiteral("picRemoveDuplicate"), this);
    picRemoveDuplicate->setFixedSize(360, 26);
    picRemoveDuplicate->hide();
    btnPlayMIDI = makeButton(this, "btnPlayMIDI", "เล่นเพลงที่เลือก");
    btnStopMIDI = makeButton(this, "btnStopMIDI", "หยุดเล่น");
    btnSaveSelect = makeButton(this, "btnSaveSelect", "บันทึกข้อมูลการเลือกเพลง");
    btnClear = makeButton(this, "btnClear", "ยกเลิกเพลงที่เลือกทั้งหมด");
    btnMoveFile = makeButton(this, "btnMoveFile", "ย้ายเพลงที่เลือกไว้ทั้งหมด");
    btnDeleteFile = makeButton(this, "btnDeleteFile", "ลบเพลงที่เลือกไว้ทั้งหมด");
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] {
        lblSelectSong->setText(
            QString::fromStdString(text::selectedInWindow(markedLines(lstSearchResult))));
    });
    armOnKeyOrDoubleClick(lstSearchResult, Timer1);
    btnStopMIDI->setEnabled(false);

    fillResultList(lstSearchResult, lines);
    showMarkedCount();
    connect(lstSearchResult, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lineClicked(lstSearchResult->row(item)); });
    connect(btnPlayMIDI, &QPushButton::clicked, this, &FindDuplicateWindow::play);
    connect(btnStopMIDI, &QPushButton::clicked, this, &FindDuplicateWindow::stop);
    connect(btnSaveSelect, &QPushButton::clicked, this, &FindDuplicateWindow::saveSelection);
    // Unmarks this window's lines only; the saved selection stays.
    connect(btnClear, &QPushButton::clicked, this, [this] {
        lstSearchResult->clearSelection();
        showMarkedCount();
    });
    connect(btnDeleteFile, &QPushButton::clicked, this,
            [this] { removeMarked(RemovalKind::Delete); });
    connect(btnMoveFile, &QPushButton::clicked, this, [this] { removeMarked(RemovalKind::Move); });
}

FindDuplicateWindow::~FindDuplicateWindow() = default;

void FindDuplicateWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (offered_) return;
    offered_ = true;
    std::vector<ResultLine> lines = readResultList(lstSearchResult);
    offerSelection(main_.fileSystem(), main_.programFolder(), lines, main_.prompt());
    applyMarks(lstSearchResult, lines);
    showMarkedCount();
}

void FindDuplicateWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int margin = 8;
    const int innerW = width() - 2 * margin, innerH = height() - 2 * margin;
    const int top = margin + 24;
    lblSearchResult->setGeometry(margin, margin, 110, 20);
    lblResultCounter->setGeometry(margin + 115, margin, 150, 20);
    lblSelectSong->setGeometry(margin + 270, margin, 200, 20);
    const int listW = innerW - kLyricWidth - px(420);
    const int listH = innerH - px(1200);
    lstSearchResult->setGeometry(margin, top, listW, listH);
    picRemoveDuplicate->move(margin + (listW - picRemoveDuplicate->width()) / 2,
                             top + (listH - picRemoveDuplicate->height()) / 2);
    const int lyricX = margin + listW + px(220);
    const int lyricH = innerH - px(1600);
    lblLyricContent->setGeometry(lyricX, margin, kLyricWidth, 20);
    txtLyricContent->setGeometry(lyricX, top, kLyricWidth, lyricH);
    lblWarning->setGeometry(margin, top + listH + px(480) - 24, listW, 22);
    int x = margin;
    const int y = top + lyricH + px(480);
    for (QPushButton* button :
         {btnPlayMIDI, btnStopMIDI, btnSaveSelect, btnClear, btnMoveFile, btnDeleteFile}) {
        const int w = button->sizeHint().width();
        button->setGeometry(x, y, w, button->sizeHint().height());
        x += w + 6;
    }
}

void FindDuplicateWindow::showMarkedCount() {
    const std::size_t marked = markedLines(lstSearchResult);
    lblSelectSong->setText(QString::fromStdString(text::selectedInWindow(marked)));
    for (QPushButton* button : {btnSaveSelect, btnClear, btnDeleteFile, btnMoveFile})
        button->setEnabled(marked > 0);
}

void FindDuplicateWindow::lineClicked(int row) {
    if (!unmarkSeparator(lstSearchResult->item(row))) return;
    showMarkedCount();
    if (row < 0) return;
    const std::string line = resultLineAt(lstSearchResult, row);
    main_.state().currentSong = currentSongOfLine(line, false);
    if (main_.state().duplicateSearchActive) return;
    showLyric(main_.fileSystem(), main_.folders(), line, txtLyricContent);
    stop();
}

void FindDuplicateWindow::play() {
    const int row = lstSearchResult->currentRow();
    if (row < 0) return;
    const SongPaths paths(main_.fileSystem(), main_.folders());
    const std::string line = resultLineAt(lstSearchResult, row);
    const std::string midi = songFileOfLine(paths, SongFileKind::Midi, line);
    if (midi.empty()) return;
    if (!player_) {
        mci_ = std::make_unique<Mci>();
        player_ = std::make_unique<ResultWindowPlayer>(*mci_, main_.fileSystem());
    }
    if (player_->play(resetFilePath(paths, ""), midi)) {
        btnStopMIDI->setEnabled(true);
        btnPlayMIDI->setEnabled(false);
    }
}

void FindDuplicateWindow::stop() {
    if (player_) player_->stop();
    btnStopMIDI->setEnabled(false);
    btnPlayMIDI->setEnabled(lstSearchResult->count() > 0);
}

void FindDuplicateWindow::saveSelection() {
    if (dadaz::saveSelection(main_.fileSystem(), main_.programFolder(),
                             readResultList(lstSearchResult), main_.prompt()))
        main_.prompt().inform(text::kSelectionSaved);
}

void FindDuplicateWindow::removeMarked(RemovalKind kind) {
    if (removing_) return;
    FileSystem& fs = main_.fileSystem();
    const Folders folders = main_.folders();
    const std::vector<ResultLine> lines = readResultList(lstSearchResult);
    if (!confirmDuplicateRemoval(fs, main_.prompt(), kind, folders, lines, searchedBy_)) return;
    removing_ = true;
    stop();
    picRemoveDuplicate->show();
    picRemoveDuplicate->raise();
    greyList(lstSearchResult, true, txtLyricContent);
    lstSearchResult->setEnabled(false);
    WidgetProgressSink bar(picRemoveDuplicate, nullptr);
    RunContext ctx = main_.makeRunContext("FindDuplicate");
    const DuplicateRemovalResult result =
        removeMarkedSongs(fs, lines,
                          {.kind = kind,
                           .programFolder = main_.programFolder(),
                           .folders = folders,
                           .stamp = logTimeStamp(std::chrono::system_clock::now()),
                           .pumpEvents = ctx.pumpEvents},
                          bar);
    fillResultList(lstSearchResult, result.lines);
    lblResultCounter->setText(QString::fromStdString(text::songCount(result.lines.size())));
    lstSearchResult->setEnabled(true);
    picRemoveDuplicate->hide();
    greyList(lstSearchResult, false, txtLyricContent);
    showMarkedCount();
    txtLyricContent->clear();
    deleteSelection(fs, main_.programFolder());
    if (result.anyGone()) main_.state().songsRemoved = true;
    removing_ = false;
    MessageIcon icon = MessageIcon::Information;
    const std::string message = removalMessage(kind, result, icon);
    main_.prompt().ask(icon, MessageButtons::Ok, message);
}

void FindDuplicateWindow::closeEvent(QCloseEvent* event) {
    stop();
    if (removing_) return event->ignore();
    if (markedLines(lstSearchResult) > 0) {
        const Answer answer = main_.prompt().ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                                 text::closeWindowQuestion());
        if (answer == Answer::Cancel) return event->ignore();
        if (answer == Answer::Yes) saveSelection();
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

// Escape goes the way of the close button.
void FindDuplicateWindow::reject() {
    close();
}

}  // namespace dadaz
