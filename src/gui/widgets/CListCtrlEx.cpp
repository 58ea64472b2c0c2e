#include "widgets/CListCtrlEx.h"

#include "widgets/FullRowDelegate.h"

#include <QFontMetrics>

namespace tolvane {

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeWidget(parent) {
    FullRowDelegate::Install(this);
}

void CListCtrlEx::SetColumns(const QStringList& titles, const QList<int>& widths) {
    setColumnCount(static_cast<int>(titles.size()));
    setHeaderLabels(titles);
    for (int column = 0; column < widths.size(); ++column) {
        setColumnWidth(column, widths[column]);
    }
}

int CListCtrlEx::AddRow(const QStringList& texts) {
    addTopLevelItem(new QTreeWidgetItem(texts));
    return topLevelItemCount() - 1;
}

void CListCtrlEx::SetRow(int row, const QStringList& texts) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        for (int column = 0; column < texts.size(); ++column) {
            item->setText(column, texts[column]);
        }
    }
}

int CListCtrlEx::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.front());
}

void CListCtrlEx::SelectRow(int row) {
    clearSelection();
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setSelected(true);
        setCurrentItem(item);
    }
}

QString CListCtrlEx::ShortenText(const QFontMetrics& metrics, const QString& text, int width,
                                 int allowance) {
    if (text.isEmpty() || metrics.horizontalAdvance(text) + allowance <= width) {
        return text;
    }
    const int dots = metrics.horizontalAdvance("...");
    QString shortened = text;
    while (shortened.size() > 1 &&
           metrics.horizontalAdvance(shortened) + allowance + dots > width) {
        shortened.chop(1);
    }
    return shortened + "...";
}

} // namespace tolvane
