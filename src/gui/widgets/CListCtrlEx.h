// The list that the installation list and every editor use: rows of text in columns, a selected
// row highlighted across all columns to the right edge, and cell texts that do not fit shortened
// with "...".
#pragma once

#include <QTreeWidget>

class QFontMetrics;

namespace tolvane {

class CListCtrlEx : public QTreeWidget {
    Q_OBJECT

public:
    // Column 0 is drawn 2 pixels in from each side and needs 4 pixels to spare, the other
    // columns 6 pixels in and 12 to spare.
    static constexpr int kFirstColumnInset = 2;
    static constexpr int kFirstColumnAllowance = 4;
    static constexpr int kColumnInset = 6;
    static constexpr int kColumnAllowance = 12;

    explicit CListCtrlEx(QWidget* parent = nullptr);

    // Columns by title and width in pixels.
    void SetColumns(const QStringList& titles, const QList<int>& widths);
    // Appends a row of cell texts and returns its index.
    int AddRow(const QStringList& texts);
    void SetRow(int row, const QStringList& texts);
    // The selected row, -1 for none.
    int SelectedRow() const;
    void SelectRow(int row);

    // The text as it fits width with the allowance: unchanged when it fits, else cut from the
    // end, keeping at least one character, and ended with "...".
    static QString ShortenText(const QFontMetrics& metrics, const QString& text, int width,
                               int allowance);
};

} // namespace tolvane
