#include "widgets/FullRowDelegate.h"

#include "widgets/CListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTreeView>

namespace tolvane {

void FullRowDelegate::Install(QTreeView* view) {
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setAllColumnsShowFocus(true);
    view->setTextElideMode(Qt::ElideNone);
    view->header()->setStretchLastSection(true); // the highlight reaches the right edge
    view->header()->setSectionsMovable(false);
    view->setItemDelegate(new FullRowDelegate(view));
}

int FullRowDelegate::WidthForColumns(const QTreeView* view) {
    int width = view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    for (int column = 0; column < view->header()->count(); ++column) {
        width += view->columnWidth(column);
    }
    return width;
}

void FullRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
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
    alignment |= shown == text ? (cell.displayAlignment & Qt::AlignHorizontal_Mask) : Qt::AlignLeft;
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, static_cast<int>(alignment) | Qt::TextSingleLine, shown);
    painter->restore();
}

} // namespace tolvane
