// The full-row list of CListCtrlEx for lists that can be long (entry codes, the directory): the
// same look and "..." rule, over a model that reads the editor's own list as it is painted
// instead of holding an item per row.
#pragma once

#include "widgets/TextRowModel.h"

#include <QTreeView>

#include <functional>

class QPushButton;

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
    // The owner appended a row: it is shown, selected.
    void ShowAppendedRow();
    // Widens each column that is too narrow for the row's text in it, so that it is drawn whole.
    void WidenColumnsFor(int row);

    // The button runs the action on the selected row, and does nothing without one.
    void ActOnSelectedRow(QPushButton* button, std::function<void(int row)> action);
    // The same for a list's Edit, which a double click on a row runs as well.
    void EditSelectedRow(QPushButton* button, std::function<void(int row)> action);

private:
    TextRowModel* rows_;
};

} // namespace tolvane
