// The full-row list of CListCtrlEx for lists that can be long (entry codes, the directory): the
// same look and "..." rule, over a model that reads the editor's own list as it is painted
// instead of holding an item per row.
#pragma once

#include "widgets/TextRowModel.h"

#include <QTreeView>

namespace tolvane {

class CListViewEx : public QTreeView {
    Q_OBJECT

public:
    explicit CListViewEx(QWidget* parent = nullptr);

    // Columns by title and width in pixels.
    void SetColumns(const QStringList& titles, const QList<int>& widths);
    TextRowModel* Rows() const { return rows_; }
    QString CellText(int row, int column) const;
    // The selected row, -1 for none.
    int SelectedRow() const;
    // Selects the row and scrolls it into sight; a row that is not there leaves none selected.
    void SelectRow(int row);

private:
    TextRowModel* rows_;
};

} // namespace tolvane
