#include "catalogue/gui/search_panel_view.h"

#include "catalogue/catalogue_texts.h"
#include "shell/main_window.h"

namespace dadaz {

void SearchPanelView::showResultLine(const std::string& text) {
    QLabel* line = window_.songSearchPanel()->lblSongSearchResult;
    line->setText(QString::fromStdString(text));
    line->show();
    line->repaint();
}

void SearchPanelView::hideResultLine() {
    window_.songSearchPanel()->lblSongSearchResult->hide();
}

void SearchPanelView::loadingStarted() {
    SongSearchPanel* panel = window_.songSearchPanel();
    // A load also follows a song list rebuild, which brings another mode forward.
    if (window_.mode() != Mode::SongSearch) window_.selectMode(Mode::SongSearch);
    panel->cboArtist->hide();
    panel->cboArtist->clear();
    panel->lstSongSearch->clear();
    panel->lblSongSearchResult->show();
    window_.startLoadingNotice();
    panel->btnCancelSearch->show();
    panel->btnCancelSearch->setEnabled(true);
}

void SearchPanelView::loadingEnded() {
    window_.stopLoadingNotice();
    window_.songSearchPanel()->txtLoadingSong->hide();
}

void SearchPanelView::searchStarted(bool browsing) {
    SongSearchPanel* panel = window_.songSearchPanel();
    panel->lstSongSearch->setEnabled(false);
    panel->lstSongSearch->clear();
    panel->btnCancelSearch->show();
    panel->btnCancelSearch->setEnabled(true);
    panel->chkSearchAll->setEnabled(false);
    panel->chkSearchLyric->setEnabled(false);
    if (!browsing) {
        panel->lblPage->hide();
        panel->btnPreviousPage->hide();
        panel->btnNextPage->hide();
    }
}

void SearchPanelView::artistListStarted() {
    SongSearchPanel* panel = window_.songSearchPanel();
    panel->cboArtist->clear();
    panel->cboArtist->setCurrentIndex(-1);
    panel->cboArtist->setPlaceholderText(QString::fromUtf8(catalogue_text::kPleaseWait));
    panel->cboArtist->show();
}

}  // namespace dadaz
