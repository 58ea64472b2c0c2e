#include "editors/CBlockCodeDlg.h"

#include "config/BlockCodeEditor.h"
#include "editors/CBlockRangeDlg.h"
#include "editors/CSuspendCodeDlg.h"
#include "image/MemoryModule.h"
#include "widgets/CListCtrlEx.h"
#include "widgets/FullRowDelegate.h"
#include "widgets/ListOverButtons.h"
#include "widgets/ShowRefusal.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

namespace tolvane {

CBlockCodeDlg::CBlockCodeDlg(BlockCodeEditor& editor, int kind, UserServices& ui, QWidget* parent)
    : QDialog(parent), editor_(editor), ui_(ui), ranges_(new CListCtrlEx),
      suspended_(new QListWidget), addRange_(new QPushButton("Add")),
      editRange_(new QPushButton("Edit")), removeRange_(new QPushButton("Remove")),
      addSuspended_(new QPushButton("Add")), removeSuspended_(new QPushButton("Remove")) {
    setWindowTitle(kind == kBlockTransmitters ? "Configure Block Transmitter Information"
                                              : "Configure Block Card Information");
    ranges_->SetColumns({"Start Code", "End Code", "Val Gr"}, {100, 100, 72});
    for (const BlockRange& range : editor.List().ranges) {
        ranges_->AddRow(RangeTexts(range));
    }
    // Five digits each, so that the list's own text order is ascending numeric order.
    for (const uint16_t code : editor.SuspendedSorted()) {
        AddSuspendedRow(code);
    }
    suspended_->setSortingEnabled(true);
    suspended_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The suspended list is as wide as its buttons; the ranges take the rest.
    suspended_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    ranges_->setMinimumWidth(FullRowDelegate::WidthForColumns(ranges_));

    connect(addRange_, &QPushButton::clicked, this, &CBlockCodeDlg::OnAddRange);
    connect(editRange_, &QPushButton::clicked, this, &CBlockCodeDlg::OnEditRange);
    connect(removeRange_, &QPushButton::clicked, this, &CBlockCodeDlg::OnRemoveRange);
    connect(ranges_, &CListCtrlEx::itemDoubleClicked, this, &CBlockCodeDlg::OnEditRange);
    connect(addSuspended_, &QPushButton::clicked, this, &CBlockCodeDlg::OnAddSuspended);
    connect(removeSuspended_, &QPushButton::clicked, this, &CBlockCodeDlg::OnRemoveSuspended);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBlockCodeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBlockCodeDlg::reject);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(
        FramedListOverButtons("Block Ranges", ranges_, {addRange_, editRange_, removeRange_}), 1);
    layout->addWidget(
        FramedListOverButtons("Suspended", suspended_, {addSuspended_, removeSuspended_}));
    layout->addWidget(buttons);
    resize(sizeHint().width(), 380);
}

QStringList CBlockCodeDlg::RangeTexts(const BlockRange& range) {
    return {QString::number(range.First()), QString::number(range.Last()),
            QString::number(range.ValidationGroup())};
}

QListWidgetItem* CBlockCodeDlg::AddSuspendedRow(uint16_t code) {
    auto* item = new QListWidgetItem(QString::asprintf("%.5u", static_cast<unsigned>(code)));
    item->setData(Qt::UserRole, code);
    suspended_->addItem(item);
    return item;
}

void CBlockCodeDlg::OnAddRange() {
    BlockRange range;
    CBlockRangeDlg dialog(range, ui_, this);
    if (dialog.exec() == QDialog::Accepted) {
        editor_.AddRange(range);
        ranges_->SelectRow(ranges_->AddRow(RangeTexts(range)));
    }
}

void CBlockCodeDlg::OnEditRange() {
    const int row = ranges_->SelectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= editor_.List().ranges.size()) {
        return;
    }
    BlockRange range = editor_.List().ranges[static_cast<std::size_t>(row)];
    CBlockRangeDlg dialog(range, ui_, this);
    if (dialog.exec() == QDialog::Accepted &&
        editor_.EditRange(static_cast<std::size_t>(row), range)) {
        ranges_->SetRow(row, RangeTexts(editor_.List().ranges[static_cast<std::size_t>(row)]));
    }
}

void CBlockCodeDlg::OnRemoveRange() {
    const int row = ranges_->SelectedRow();
    if (row >= 0 && editor_.RemoveRange(static_cast<std::size_t>(row))) {
        delete ranges_->takeTopLevelItem(row);
    }
}

void CBlockCodeDlg::OnAddSuspended() {
    CSuspendCodeDlg dialog(ui_, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (ShowRefusal(ui_, editor_.AddSuspended(dialog.Code()))) {
        return;
    }
    QListWidgetItem* item = AddSuspendedRow(dialog.Code());
    suspended_->setCurrentItem(item);
    suspended_->scrollToItem(item);
}

void CBlockCodeDlg::OnRemoveSuspended() {
    QListWidgetItem* item = suspended_->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return;
    }
    if (editor_.RemoveSuspended(static_cast<uint16_t>(item->data(Qt::UserRole).toUInt()))) {
        delete item;
    }
}

} // namespace tolvane
