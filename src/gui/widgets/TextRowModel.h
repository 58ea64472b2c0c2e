// Rows of text read from the list that owns them, a cell at a time when it is painted: nothing is
// copied, so a list of tens of thousands costs what is on the screen. The owner says when its list
// changed, before the view next paints.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

namespace tolvane {

class TextRowModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using CellText = std::function<QString(int row, int column)>;

    explicit TextRowModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void SetColumns(const QStringList& titles);
    // The owner's list afresh: how many rows, and the text of each cell.
    void SetRows(int count, CellText text);
    // The owner appended a row or changed one in place.
    void RowAppended();
    void RowChanged(int row);
    // takeOut removes the row from the owner's list while the views know it is going, so that
    // nothing reads a row that is no longer there.
    void RemoveRow(int row, const std::function<void()>& takeOut);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList titles_;
    int rows_ = 0;
    CellText text_;
};

} // namespace tolvane
