#include "catalogue/gui/search_controller.h"

#include <QKeyEvent>

#include "catalogue/catalogue_texts.h"
#include "catalogue/song_line.h"
#include "platform/codepage.h"
#include "shell/main_window.h"
#include "songlist/songlist_run.h"

namespace dadaz {

namespace {

QString fromCp874(std::string_view bytes) {
    return QString::fromStdString(cp874ToUtf8(bytes));
}

}  // namespace

SearchController::SearchController(MainWindow& window)
    : QObject(&window), window_(window), view_(window) {
    setObjectName(QStringLiteral("searchController"));
    connectControls();
    watchTyping();
    // Closing empties the catalogue along with the other lists.
    auto& clearLists = window_.hooks().clearLists;
    clearLists = [this, previous = clearLists] {
        if (previous) previous();
        session_.catalogue().clear();
    };
}

void SearchController::connectControls() {
    SongSearchPanel* panel = window_.songSearchPanel();
    connect(panel->chkSearchAll, &QCheckBox::toggled, this,
            [this](bool checked) { optionToggled(true, checked); });
    connect(panel->chkSearchLyric, &QCheckBox::toggled, this,
            [this](bool checked) { optionToggled(false, checked); });
    connect(panel->btnCancelSearch, &QPushButton::clicked, this, &SearchController::cancelSearch);
    connect(panel->cboArtist, &QComboBox::activated, this, &SearchController::artistPicked);
    connect(panel->btnNextPage, &QPushButton::clicked, this, [this] { turnPage(true); });
    connect(panel->btnPreviousPage, &QPushButton::clicked, this, [this] { turnPage(false); });

    SongLineList* list = panel->lstSongSearch;
    // A click shows the song; so do the arrow keys and the automatic move to the next
    // result, which change the current row the same way. A click on the current row again
    // shows it again.
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                rowShownOnPress_ = current.row();
                showSong(current.row());
            });
    connect(list, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        const bool alreadyShown = index.row() == rowShownOnPress_;
        rowShownOnPress_ = -1;
        if (!alreadyShown) showSong(index.row());
    });
    connect(list, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openSong(index.row()); });
    window_.attach({panel->txtSongSearch, panel->chkSearchAll, panel->chkSearchLyric,
                    panel->btnCancelSearch, panel->cboArtist, list, panel->btnPreviousPage,
                    panel->btnNextPage});
}

const CurrentSong& SearchController::currentSong() const {
    return window_.state().currentSong;
}

SearchOptions SearchController::options() const {
    SongSearchPanel* panel = window_.songSearchPanel();
    return {.searchAll = panel->chkSearchAll->isChecked(),
            .searchLyric = panel->chkSearchLyric->isChecked()};
}

std::string SearchController::query() const {
    return utf8ToCp874(window_.songSearchPanel()->txtSongSearch->text().toStdString());
}

bool SearchController::defaultRebuild() {
    RunContext ctx = window_.makeRunContext("Lister");
    SongListOptions listOptions;
    listOptions.checkFiles = false;
    return runSongList(ctx, listOptions).status == SongListResult::Status::Written;
}

SearchSession::BuildSongList SearchController::buildSongList() {
    return [this](RunContext&) {
        if (rebuild_)
            rebuild_();
        else
            defaultRebuild();
    };
}

void SearchController::enterPressed() {
    if (running_) return;
    RunningGuard guard(running_);
    if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();
    SongSearchPanel* panel = window_.songSearchPanel();
    const std::string trimmed(trimBlanks(query()));
    panel->txtSongSearch->setText(fromCp874(trimmed));
    panel->txtSongSearch->selectAll();
    panel->txtSongContent->clear();

    RunContext ctx = window_.makeRunContext("LoadingSongDB");
    const SearchResult result = session_.enter(trimmed, options(), ctx, view_, buildSongList());
    if (result.ran) showResult(result);
}

void SearchController::searchAgain() {
    if (running_) return;
    RunningGuard guard(running_);
    RunContext ctx = window_.makeRunContext("LoadingSongDB");
    const SearchResult result = session_.search(query(), options(), ctx, view_);
    if (result.ran) showResult(result);
}

void SearchController::showResult(const SearchResult& result) {
    SongSearchPanel* panel = window_.songSearchPanel();
    panel->lstSongSearch->setLines(result.lines);
    showPageControls(result.page);

    if (result.artistListShown) {
        panel->cboArtist->clear();
        for (const std::string& artist : result.artists)
            panel->cboArtist->addItem(fromCp874(artist), QByteArray::fromStdString(artist));
    }
    panel->cboArtist->setCurrentIndex(-1);
    panel->cboArtist->setPlaceholderText(QString::fromUtf8(catalogue_text::kChooseArtist));

    view_.showResultLine(result.resultLineText());
    panel->lstSongSearch->setEnabled(true);
    panel->txtSongSearch->setFocus();
    panel->btnCancelSearch->hide();
    const OptionStates states = optionStatesByTicks(options());
    applyOptionStates(states.searchAllEnabled, states.searchLyricEnabled);
}

void SearchController::applyOptionStates(bool searchAllEnabled, bool searchLyricEnabled) {
    window_.songSearchPanel()->chkSearchAll->setEnabled(searchAllEnabled);
    window_.songSearchPanel()->chkSearchLyric->setEnabled(searchLyricEnabled);
}

void SearchController::updateOptionsOnKeyUp() {
    const OptionStates states = optionStatesOnKeyUp(query(), options());
    applyOptionStates(states.searchAllEnabled, states.searchLyricEnabled);
}

void SearchController::optionToggled(bool searchAllBox, bool checked) {
    SongSearchPanel* panel = window_.songSearchPanel();
    QCheckBox* other = searchAllBox ? panel->chkSearchLyric : panel->chkSearchAll;
    if (checked) other->setChecked(false);
    // F7 and F8 tick the boxes even during a run; the run's end sets their states again.
    if (!window_.busyState().busy()) other->setEnabled(!checked);
}

void SearchController::cancelSearch() {
    window_.state().stopRequested = true;
    window_.songSearchPanel()->btnCancelSearch->hide();
    focusSearchBoxAtEnd();
}

void SearchController::focusSearchBoxAtEnd() {
    QLineEdit* box = window_.songSearchPanel()->txtSongSearch;
    box->setFocus();
    box->deselect();
    box->setCursorPosition(static_cast<int>(box->text().size()));
}

void SearchController::artistPicked(int index) {
    if (running_ || index < 0) return;
    QComboBox* box = window_.songSearchPanel()->cboArtist;
    const std::string name = box->itemData(index).toByteArray().toStdString();
    window_.songSearchPanel()->txtSongSearch->setText(fromCp874(artistPickQuery(name)));
    searchAgain();
}

void SearchController::turnPage(bool forward) {
    if (running_) return;
    showPage(forward ? session_.nextPage() : session_.previousPage());
}

void SearchController::showPage(const PageView& page) {
    SongSearchPanel* panel = window_.songSearchPanel();
    view_.showResultLine(catalogue_text::kPleaseWait);
    panel->lstSongSearch->setLines(page.lines);
    view_.showResultLine(page.resultLine);
    showPageControls(page.controls);
}

void SearchController::showPageControls(const PageControls& controls) {
    SongSearchPanel* panel = window_.songSearchPanel();
    for (QWidget* control : std::initializer_list<QWidget*>{panel->btnPreviousPage, panel->lblPage,
                                                            panel->btnNextPage})
        control->setVisible(controls.visible);
    panel->lblPage->setText(QString::fromStdString(controls.label));
    panel->btnPreviousPage->setEnabled(controls.previousEnabled);
    panel->btnNextPage->setEnabled(controls.nextEnabled);
}

SearchController* searchControllerOf(MainWindow& window) {
    return window.findChild<SearchController*>(QStringLiteral("searchController"),
                                               Qt::FindDirectChildrenOnly);
}

void attachCatalogue(MainWindow& window) {
    if (searchControllerOf(window) == nullptr) new SearchController(window);
}

}  // namespace dadaz
