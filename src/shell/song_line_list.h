#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

#include "catalogue/search_view.h"

namespace dadaz {

// The lines of a song list (code page 874 bytes, as the catalogue keeps them), shown through
// a model: a page of 32,767 lines is replaced in one step, without copying the catalogue's
// lines, and converted for display only when a row is drawn.
class SongLineModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void setLines(SongLines lines);
    void appendLine(std::string line);
    void replaceLine(int row, std::string line);
    void eraseRows(const std::vector<int>& sortedRows);
    const SongLines& lines() const { return lines_; }

  private:
    SongLines lines_;
};

// A result list of song lines with multiple selection.
class SongLineList : public QListView {
    Q_OBJECT
  public:
    explicit SongLineList(QWidget* parent = nullptr);

    // Replaces every line at once (the list copy of a page turn or a search).
    void setLines(SongLines lines);
    void setLines(std::vector<std::string> lines) { setLines(SongLines(std::move(lines))); }
    void appendLine(std::string line);
    void clear() { setLines(SongLines()); }
    // Gives one row new text (the edited mark), keeping selection and scrolling.
    void replaceLine(int row, std::string line);
    // Takes out the rows (ascending, each once); the rows left keep their order and the list
    // stays scrolled near where it was. The selection is emptied.
    void removeRows(const std::vector<int>& sortedRows);
    // Copies of the lines.
    std::vector<std::string> lines() const { return model_->lines().copies(); }
    int count() const { return static_cast<int>(model_->lines().size()); }
    // Code page 874 bytes of a row; empty for a row that does not exist.
    std::string lineAt(int row) const;
    // The row as shown.
    QString textAt(int row) const;

    int currentRow() const;
    // Makes `row` the current and only selected row, scrolled into view.
    void setCurrentRow(int row);
    std::vector<int> selectedRows() const;
    SongLineModel* lineModel() const { return model_; }

  private:
    SongLineModel* model_;
};

}  // namespace dadaz
