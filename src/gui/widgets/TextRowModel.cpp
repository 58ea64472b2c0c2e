#include "widgets/TextRowModel.h"

namespace tolvane {

void TextRowModel::SetColumns(const QStringList& titles) {
    beginResetModel();
    titles_ = titles;
    endResetModel();
}

void TextRowModel::SetRows(int count, CellText text) {
    beginResetModel();
    rows_ = count;
    text_ = std::move(text);
    endResetModel();
}

void TextRowModel::RowAppended() {
    beginInsertRows(QModelIndex(), rows_, rows_);
    ++rows_;
    endInsertRows();
}

void TextRowModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TextRowModel::RemoveRow(int row, const std::function<void()>& takeOut) {
    if (row < 0 || row >= rows_) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    takeOut();
    --rows_;
    endRemoveRows();
}

int TextRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TextRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant TextRowModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !text_) {
        return {};
    }
    return text_(index.row(), index.column());
}

QVariant TextRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    return titles_.value(section);
}

} // namespace tolvane
