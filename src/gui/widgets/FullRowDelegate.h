// The look every list of the program shares, item list or model list alike: whole rows selected
// one at a time, the highlight reaching the right edge, and each cell's text drawn by the "..."
// shortening rule of CListCtrlEx instead of the style's own eliding.
#pragma once

#include <QStyledItemDelegate>

class QTreeView;

namespace tolvane {

class FullRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Gives the view the full-row look and draws its cells with a delegate of this kind.
    static void Install(QTreeView* view);
    // The width at which the view shows all of its columns and the scroll bar beside them.
    static int WidthForColumns(const QTreeView* view);

    // A shortened text is always left-aligned, a whole one takes its column's alignment.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace tolvane
