#include "widgets/CListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tolvane {

namespace {

// Draws each cell's text by the shortening rule instead of the style's own eliding: a shortened
// text is always left-aligned, a whole one takes its column's alignment.
class ShorteningDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

        const bool first = index.column() == 0;
        const int inset = first ? CListCtrlEx::kFirstColumnInset : CListCtrlEx::kColumnInset;
        const int allowance =
            first ? CListCtrlEx::kFirstColumnAllowance : CListCtrlEx::kColumnAllowance;
        const QRect area = option.rect.adjusted(inset, 0, -inset, 0);
        const QString shown =
            CListCtrlEx::ShortenText(option.fontMetrics, text, option.rect.width(), allowance);
        Qt::Alignment alignment = Qt::AlignVCenter;
        alignment |=
            shown == text ? (cell.displayAlignment & Qt::AlignHorizontal_Mask) : Qt::AlignLeft;
        painter->save();
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(area, static_cast<int>(alignment) | Qt::TextSingleLine, shown);
        painter->restore();
    }
};

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(true); // the highlight reaches the right edge
    header()->setSectionsMovable(false);
    setItemDelegate(new ShorteningDelegate(this));
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
