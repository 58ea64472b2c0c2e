// The full-row list: the "..." shortening rule measured with the real font, the full-row
// selection settings, the row helpers the dialogs use, and where a cell's text lands when drawn;
// and the list over a model, which must look the same and follow its owner's list.
#include "widgets/CListCtrlEx.h"
#include "widgets/CListViewEx.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class ListCtrlTest : public ::testing::Test {
protected:
    CListCtrlEx list_;
    QFontMetrics metrics_{list_.font()};
};

TEST_F(ListCtrlTest, TextsThatFitStayAndOthersAreCutWithDots) {
    for (const int allowance :
         {CListCtrlEx::kFirstColumnAllowance, CListCtrlEx::kColumnAllowance}) {
        const QString text = "Harbour View Apartments";
        const int exact = metrics_.horizontalAdvance(text) + allowance;
        EXPECT_EQ(CListCtrlEx::ShortenText(metrics_, text, exact, allowance), text);

        // One pixel short: cut from the end until what is left, the allowance and "..." fit.
        const QString cut = CListCtrlEx::ShortenText(metrics_, text, exact - 1, allowance);
        ASSERT_TRUE(cut.endsWith("...")) << cut.toStdString();
        const QString kept = cut.chopped(3);
        EXPECT_TRUE(text.startsWith(kept));
        EXPECT_LE(metrics_.horizontalAdvance(kept) + allowance + metrics_.horizontalAdvance("..."),
                  exact - 1);
        // ... and no more than needed.
        const QString longer = text.left(kept.size() + 1);
        EXPECT_GT(metrics_.horizontalAdvance(longer) + allowance +
                      metrics_.horizontalAdvance("..."),
                  exact - 1);

        // A single character too wide keeps that character, and so does a far too narrow column.
        const int one = metrics_.horizontalAdvance("W") + allowance;
        EXPECT_EQ(CListCtrlEx::ShortenText(metrics_, "W", one, allowance), "W");
        EXPECT_EQ(CListCtrlEx::ShortenText(metrics_, "W", one - 1, allowance), "W...");
        EXPECT_EQ(CListCtrlEx::ShortenText(metrics_, text, 1, allowance), "H...");
        EXPECT_EQ(CListCtrlEx::ShortenText(metrics_, "", 0, allowance), "");
    }
}

TEST_F(ListCtrlTest, SelectsWholeRowsOneAtATimeToTheRightEdge) {
    EXPECT_EQ(list_.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list_.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(list_.allColumnsShowFocus() && list_.header()->stretchLastSection());
    EXPECT_FALSE(list_.rootIsDecorated());

    list_.SetColumns({"Installation Name", "Data Number", "File Name"}, {120, 123, 230});
    EXPECT_EQ(list_.headerItem()->text(1), "Data Number");
    EXPECT_EQ(list_.columnWidth(1), 123);
    EXPECT_EQ(list_.AddRow({"North", "1 555", "/n.mem"}), 0);
    EXPECT_EQ(list_.AddRow({"South", "1 (617) 555", "/s.mem"}), 1);
    EXPECT_EQ(list_.SelectedRow(), -1);
    // A row that is not there leaves none selected.
    for (const auto& [row, selected] : {std::pair{1, 1}, {0, 0}, {-1, -1}, {0, 0}, {7, -1}}) {
        list_.SelectRow(row);
        EXPECT_EQ(list_.SelectedRow(), selected) << row;
        EXPECT_LE(list_.selectedItems().size(), 1);
    }
    list_.SetRow(1, {"South Gate", "1 (617) 5550100", "/south.mem"});
    list_.SetRow(5, {"nowhere"});
    EXPECT_EQ(list_.topLevelItemCount(), 2);
    EXPECT_EQ(list_.topLevelItem(1)->text(0) + list_.topLevelItem(1)->text(2),
              "South Gate/south.mem");
    EXPECT_EQ(list_.topLevelItem(0)->text(0), "North");
}

// The leftmost and rightmost columns of a cell that hold text-coloured pixels.
std::pair<int, int> InkSpan(const QImage& image, const QRect& cell) {
    int left = -1;
    int right = -1;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = left < 0 ? x : left;
                right = x;
                break;
            }
        }
    }
    return {left, right};
}

TEST_F(ListCtrlTest, ShortenedTextsAreDrawnLeftAlignedEvenInARightAlignedColumn) {
    list_.SetColumns({"Name", "Number", "Rest"}, {80, 120, 80});
    list_.resize(320, 160);
    list_.AddRow({"a", "12", ""});
    list_.AddRow({"b", "1234567890123456789012345", ""});
    for (int row = 0; row < 2; ++row) {
        list_.topLevelItem(row)->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    list_.show();
    const QImage image = list_.viewport()->grab().toImage();

    const QRect fitCell = list_.visualRect(list_.model()->index(0, 1));
    const auto [fitLeft, fitRight] = InkSpan(image, fitCell);
    ASSERT_GE(fitLeft, 0);
    EXPECT_GT(fitLeft, fitCell.center().x()); // whole: the column's own alignment
    EXPECT_LE(fitRight, fitCell.right() - CListCtrlEx::kColumnInset + 1);

    const QRect cutCell = list_.visualRect(list_.model()->index(1, 1));
    const auto [cutLeft, cutRight] = InkSpan(image, cutCell);
    ASSERT_GE(cutLeft, 0);
    EXPECT_LE(cutLeft, cutCell.left() + CListCtrlEx::kColumnInset + 2); // shortened: left
    EXPECT_LE(cutRight, cutCell.right() - CListCtrlEx::kColumnInset + 1);
}

TEST_F(ListCtrlTest, TheModelListDrawsWhatTheItemListDrawsAndFollowsItsOwnersList) {
    QStringList names{"North", "Harbour View Apartments, Block C", "South"};
    CListViewEx view;
    view.Rows()->SetRows(static_cast<int>(names.size()), [&names](int row, int column) {
        return column == 0 ? names[row] : QString("%1 / %2").arg(row).arg(names[row]);
    });
    for (QTreeView* list : std::initializer_list<QTreeView*>{&list_, &view}) {
        list->resize(320, 120);
        list->show();
    }
    list_.SetColumns({"Name", "Row"}, {90, 120});
    view.SetColumns({"Name", "Row"}, {90, 120});
    for (int row = 0; row < names.size(); ++row) {
        list_.AddRow({view.CellText(row, 0), view.CellText(row, 1)});
    }
    list_.SelectRow(1);
    view.SelectRow(1);
    EXPECT_EQ(view.SelectedRow(), 1);
    EXPECT_EQ(view.viewport()->grab().toImage(), list_.viewport()->grab().toImage());

    // The owner appends, changes and removes; the list shows it at once.
    names << "East";
    view.Rows()->RowAppended();
    names[0] = "North Gate";
    view.Rows()->RowChanged(0);
    view.Rows()->RemoveRow(1, [&] { names.removeAt(1); });
    ASSERT_EQ(view.Rows()->rowCount(), 3);
    EXPECT_EQ(view.CellText(0, 0) + ", " + view.CellText(2, 1), "North Gate, 2 / East");
    view.SelectRow(7);
    EXPECT_EQ(view.SelectedRow(), -1);
}

} // namespace
} // namespace tolvane
