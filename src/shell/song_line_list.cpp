#include "shell/song_line_list.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "platform/codepage.h"

namespace dadaz {

int SongLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant SongLineModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(lines_.size())) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return QString::fromStdString(cp874ToUtf8(lines_[static_cast<std::size_t>(index.row())]));
}

void SongLineModel::setLines(SongLines lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

void SongLineModel::appendLine(std::string line) {
    const int row = static_cast<int>(lines_.size());
    beginInsertRows({}, row, row);
    lines_.addCopy(std::move(line));
    endInsertRows();
}

void SongLineModel::replaceLine(int row, std::string line) {
    if (row < 0 || row >= rowCount()) return;
    lines_.replace(static_cast<std::size_t>(row), std::move(line));
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

void SongLineModel::eraseRows(const std::vector<int>& sortedRows) {
    if (sortedRows.empty()) return;
    // One reset instead of a signal per row: a selection of thousands of lines goes at once.
    beginResetModel();
    lines_.erase(sortedRows);
    endResetModel();
}

SongLineList::SongLineList(QWidget* parent) : QListView(parent), model_(new SongLineModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);  // keeps scrolling fast with a full page
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void SongLineList::setLines(SongLines lines) {
    model_->setLines(std::move(lines));
}

void SongLineList::appendLine(std::string line) {
    model_->appendLine(std::move(line));
}

void SongLineList::replaceLine(int row, std::string line) {
    model_->replaceLine(row, std::move(line));
}

void SongLineList::removeRows(const std::vector<int>& sortedRows) {
    if (sortedRows.empty()) return;
    const int top = indexAt(QPoint(0, 0)).row();
    int removedAbove = 0;
    while (removedAbove < static_cast<int>(sortedRows.size()) && sortedRows[removedAbove] < top)
        ++removedAbove;
    model_->eraseRows(sortedRows);
    if (top >= 0 && count() > 0)
        scrollTo(model_->index(std::min(top - removedAbove, count() - 1)),
                 QAbstractItemView::PositionAtTop);
}

std::string SongLineList::lineAt(int row) const {
    if (row < 0 || row >= count()) return {};
    return model_->lines()[static_cast<std::size_t>(row)];
}

QString SongLineList::textAt(int row) const {
    return model_->data(model_->index(row), Qt::DisplayRole).toString();
}

int SongLineList::currentRow() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void SongLineList::setCurrentRow(int row) {
    if (row < 0 || row >= count()) return;
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

std::vector<int> SongLineList::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace dadaz
