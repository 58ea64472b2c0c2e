#include "widgets/CListViewEx.h"

#include "widgets/FullRowDelegate.h"

#include <QItemSelectionModel>

namespace tolvane {

CListViewEx::CListViewEx(QWidget* parent) : QTreeView(parent), rows_(new TextRowModel(this)) {
    setModel(rows_);
    FullRowDelegate::Install(this);
}

void CListViewEx::SetColumns(const QStringList& titles, const QList<int>& widths) {
    rows_->SetColumns(titles);
    for (int column = 0; column < widths.size(); ++column) {
        setColumnWidth(column, widths[column]);
    }
}

QString CListViewEx::CellText(int row, int column) const {
    return rows_->index(row, column).data().toString();
}

int CListViewEx::SelectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void CListViewEx::SelectRow(int row) {
    const QModelIndex index = rows_->index(row, 0);
    if (!index.isValid()) {
        clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

} // namespace tolvane
