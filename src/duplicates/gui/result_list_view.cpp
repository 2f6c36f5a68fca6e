#include "duplicates/gui/result_list_view.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "library/song_paths.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

QString onScreen(const std::string& cp874) {
    return QString::fromStdU16String(cp874ToUtf16(cp874));
}

class KeyWatcher : public QObject {
  public:
    KeyWatcher(QObject* parent, QTimer* timer) : QObject(parent), timer_(timer) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) timer_->start();
        return false;
    }

  private:
    QTimer* timer_;
};

}  // namespace

std::vector<ResultLine> readResultList(const QListWidget* list) {
    std::vector<ResultLine> lines;
    lines.reserve(static_cast<std::size_t>(list->count()));
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        lines.push_back({utf16ToCp874(item->text().toStdU16String()), item->isSelected()});
    }
    return lines;
}

void fillResultList(QListWidget* list, const std::vector<ResultLine>& lines) {
    list->setUpdatesEnabled(false);
    list->clear();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const ResultLine& line : lines) texts.push_back(onScreen(line.text));
    list->addItems(texts);
    applyMarks(list, lines);
    list->setUpdatesEnabled(true);
}

void applyMarks(QListWidget* list, const std::vector<ResultLine>& lines) {
    const int rows = std::min(list->count(), static_cast<int>(lines.size()));
    for (int row = 0; row < rows; ++row) {
        QListWidgetItem* item = list->item(row);
        if (item->isSelected() != lines[static_cast<std::size_t>(row)].marked)
            item->setSelected(lines[static_cast<std::size_t>(row)].marked);
    }
}

std::string resultLineAt(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item ? utf16ToCp874(item->text().toStdU16String()) : std::string();
}

std::size_t markedLines(const QListWidget* list) {
    return static_cast<std::size_t>(list->selectedItems().size());
}

bool unmarkSeparator(QListWidgetItem* item) {
    if (!item || !isSeparatorLine(utf16ToCp874(item->text().toStdU16String()))) return true;
    item->setSelected(false);
    return false;
}

void showLyric(FileSystem& fs, const Folders& folders, const std::string& line,
               QPlainTextEdit* box) {
    box->clear();
    const SongPaths paths(fs, folders);
    const std::string path = songFileOfLine(paths, SongFileKind::Lyric, line);
    if (path.empty()) return;
    if (const auto bytes = fs.readFile(path)) box->setPlainText(onScreen(*bytes));
}

void armOnKeyOrDoubleClick(QListWidget* list, QTimer* timer) {
    list->installEventFilter(new KeyWatcher(list, timer));
    QObject::connect(list, &QListWidget::itemDoubleClicked, timer, [timer] { timer->start(); });
}

void greyList(QListWidget* list, bool grey, const QWidget* lyricBox) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base,
                     grey ? QColor(0xC0, 0xC0, 0xC0) : lyricBox->palette().color(QPalette::Base));
    list->setPalette(palette);
}

}  // namespace dadaz
