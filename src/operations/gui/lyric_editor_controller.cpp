// The lyric editor on the search panel: btnEditLyric enters editing, a click on a line of
// lstSongContent takes it into txtEditLyric, btnAcceptEdit puts it back, btnLyricSave writes
// the lyric file and marks the song, btnCancelEdit drops the edits.
#include <QEvent>
#include <QListWidget>

#include "catalogue/gui/search_controller.h"
#include "catalogue/song_files.h"
#include "library/song_paths.h"
#include "operations/gui/song_operations.h"
#include "operations/lyric_editor.h"
#include "platform/codepage.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

QString fromCp874(std::string_view bytes) {
    return QString::fromStdString(cp874ToUtf8(bytes));
}

QString count(std::size_t characters) {
    return QString::number(characters);
}

class LyricEditorController : public QObject {
  public:
    explicit LyricEditorController(MainWindow& window) : QObject(&window), window_(window) {
        SongSearchPanel* panel = window.songSearchPanel();
        connect(panel->btnEditLyric, &QPushButton::clicked, this, [this] { enterEditing(); });
        connect(panel->lstSongContent, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { takeLine(item); });
        connect(panel->lstSongContent, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { takeLine(item); });
        connect(panel->txtEditLyric, &QLineEdit::textChanged, this, [this] { textChanged(); });
        connect(panel->btnAcceptEdit, &QPushButton::clicked, this, [this] { accept(); });
        connect(panel->btnCancelEdit, &QPushButton::clicked, this, [this] { showDetailAgain(); });
        connect(panel->btnLyricSave, &QPushButton::clicked, this, [this] { save(); });
        // The detail view hides the line list when it shows a song: editing has ended.
        panel->lstSongContent->installEventFilter(this);
        // While editing, txtBeforeEdit and txtAfterEdit count characters: nothing may play
        // and write times into them.
        panel->btnPlaySong->installEventFilter(this);
        connect(&window, &MainWindow::modeChanged, this, [this] { keepPlaybackOff(); });
        window.attach({panel->btnEditLyric, panel->lstSongContent, panel->txtEditLyric,
                       panel->btnAcceptEdit, panel->btnCancelEdit, panel->btnLyricSave});
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        SongSearchPanel* panel = window_.songSearchPanel();
        if (watched == panel->lstSongContent && event->type() == QEvent::HideToParent)
            editor_.end();
        if (watched == panel->btnPlaySong && event->type() == QEvent::EnabledChange)
            keepPlaybackOff();
        return QObject::eventFilter(watched, event);
    }

  private:
    SongSearchPanel* panel() const { return window_.songSearchPanel(); }

    void stopPlayback() {
        if (window_.hooks().stopPlayback) window_.hooks().stopPlayback();
    }

    void keepPlaybackOff() {
        if (editor_.editing() && panel()->btnPlaySong->isEnabled())
            panel()->btnPlaySong->setEnabled(false);
    }

    void showCounters(bool visible) {
        panel()->txtBeforeEdit->setVisible(visible);
        panel()->txtAfterEdit->setVisible(visible);
    }

    void lockEditBox() {
        panel()->txtEditLyric->setReadOnly(true);
        panel()->btnAcceptEdit->setEnabled(false);
        showCounters(false);
    }

    void enterEditing() {
        stopPlayback();
        window_.fileSystem().forgetIndexes();  // the lyric as it is on disk now
        const SongPaths paths(window_.fileSystem(), window_.folders());
        if (const auto refused =
                editor_.begin(window_.fileSystem(), paths, window_.state().currentSong)) {
            window_.prompt().ask(MessageIcon::Critical, MessageButtons::Ok, *refused);
            return;
        }
        SongLineList* results = panel()->lstSongSearch;
        resultRow_ = results->currentRow();
        resultLine_ = results->lineAt(resultRow_);
        // Only the edited song's own line is marked after the save.
        const CurrentSong listed = currentSongOfLine(resultLine_, paths.multiFolder());
        if (listed.code() != editor_.song().code() || listed.volume() != editor_.song().volume())
            resultLine_.clear();

        // The list shows exactly the lines that will be saved.
        QListWidget* list = panel()->lstSongContent;
        list->clear();
        for (const std::string& line : editor_.lines()) list->addItem(fromCp874(line));
        panel()->txtEditLyric->clear();
        lockEditBox();
        keepPlaybackOff();

        panel()->txtSongContent->hide();
        for (QWidget* control :
             std::initializer_list<QWidget*>{list, panel()->txtEditLyric, panel()->btnAcceptEdit})
            control->show();
        panel()->btnCancelEdit->setEnabled(true);
        panel()->btnEditLyric->setEnabled(false);
    }

    void takeLine(QListWidgetItem* item) {
        if (!editor_.editing() || item == nullptr) return;
        editor_.take(panel()->lstSongContent->row(item));
        QLineEdit* box = panel()->txtEditLyric;
        box->setReadOnly(false);
        box->setText(item->text());
        box->setFocus();
        box->selectAll();
        panel()->txtBeforeEdit->setText(count(editor_.lengthBefore()));
        showCounters(true);
        textChanged();
        panel()->btnAcceptEdit->setEnabled(false);
    }

    void textChanged() {
        QLineEdit* box = panel()->txtEditLyric;
        if (!editor_.editing() || editor_.selected() < 0 || box->isReadOnly()) return;
        const std::string typed = box->text().toStdString();
        panel()->txtAfterEdit->setText(count(codePageLength(typed)));
        panel()->btnAcceptEdit->setEnabled(editor_.differs(typed));
    }

    void accept() {
        if (!editor_.editing()) return;
        QLineEdit* box = panel()->txtEditLyric;
        if (const auto refused = editor_.accept(box->text().toStdString())) {
            window_.prompt().ask(MessageIcon::Critical, MessageButtons::Ok, *refused);
            box->setFocus();
            box->selectAll();
            return;
        }
        const int row = editor_.selected();
        if (QListWidgetItem* item = panel()->lstSongContent->item(row))
            item->setText(fromCp874(editor_.lines()[static_cast<std::size_t>(row)]));
        box->clear();
        panel()->btnLyricSave->setEnabled(editor_.changed());
        lockEditBox();
    }

    void save() {
        if (!editor_.editing()) return;
        SearchController* search = searchControllerOf(window_);
        // A load builds the catalogue's pages on other threads meanwhile: they cannot be
        // marked until it is done.
        if (search != nullptr && search->running()) {
            window_.prompt().ask(MessageIcon::Exclamation, MessageButtons::Ok,
                                 lyric_edit_text::kWaitForSearch);
            return;
        }
        if (window_.prompt().ask(MessageIcon::Question, MessageButtons::YesNo,
                                 lyric_edit_text::kSaveQuestion) != Answer::Yes)
            return;
        stopPlayback();
        window_.fileSystem().forgetIndexes();
        const SongPaths paths(window_.fileSystem(), window_.folders());
        if (const auto failed = editor_.save(window_.fileSystem(), paths)) {
            window_.prompt().ask(MessageIcon::Critical, MessageButtons::Ok, *failed);
            return;
        }
        if (search != nullptr) {
            SongLineList* results = panel()->lstSongSearch;
            // Read before marking: the result list may show the catalogue's own line, which
            // the mark changes in place.
            const bool rowShowsSong =
                !resultLine_.empty() && results->lineAt(resultRow_) == resultLine_;
            const std::string marked = markSavedLyric(search->session().catalogue(), resultLine_);
            if (rowShowsSong) results->replaceLine(resultRow_, marked);
        }
        showDetailAgain();
    }

    // Back to viewing through the detail view of the selected result line, which reads the
    // lyric file again. When it cannot show a song (no line selected, the lyric gone), editing
    // ends all the same.
    void showDetailAgain() {
        if (SearchController* search = searchControllerOf(window_))
            search->showSong(panel()->lstSongSearch->currentRow());
        if (!editor_.editing()) return;
        editor_.end();
        lockEditBox();
        panel()->txtEditLyric->clear();
        panel()->txtEditLyric->hide();
        panel()->btnAcceptEdit->hide();
        panel()->lstSongContent->hide();
        panel()->txtSongContent->show();
        panel()->btnCancelEdit->setEnabled(false);
        panel()->btnLyricSave->setEnabled(false);
        panel()->btnEditLyric->setEnabled(true);
        stopPlayback();  // only brings the play buttons up to date
    }

    MainWindow& window_;
    LyricEditor editor_;
    int resultRow_ = -1;
    std::string resultLine_;  // the selected result line when editing began
};

}  // namespace

void attachLyricEditor(MainWindow& window) {
    new LyricEditorController(window);
}

}  // namespace dadaz
