#include "widgets/CListViewEx.h"

#include "widgets/CListCtrlEx.h"
#include "widgets/FullRowDelegate.h"

#include <QItemSelectionModel>
#include <QPushButton>

#include <algorithm>

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

void CListViewEx::ShowAppendedRow() {
    rows_->RowAppended();
    SelectRow(rows_->rowCount() - 1);
}

void CListViewEx::WidenColumnsFor(int row) {
    for (int column = 0; column < rows_->columnCount(); ++column) {
        const int allowance =
            column == 0 ? CListCtrlEx::kFirstColumnAllowance : CListCtrlEx::kColumnAllowance;
        const int needed = fontMetrics().horizontalAdvance(CellText(row, column)) + allowance;
        setColumnWidth(column, std::max(columnWidth(column), needed));
    }
}

void CListViewEx::ActOnSelectedRow(QPushButton* button, std::function<void(int row)> action) {
    connect(button, &QPushButton::clicked, this, [this, action] {
        if (const int row = SelectedRow(); row >= 0) {
            action(row);
        }
    });
}

void CListViewEx::EditSelectedRow(QPushButton* button, std::function<void(int row)> action) {
    ActOnSelectedRow(button, action);
    connect(this, &CListViewEx::doubleClicked, button, &QPushButton::click);
}

} // namespace tolvane
