#include "editors/CHolidayDlg.h"

#include "config/HolidayEditor.h"
#include "editors/CHolidayDateDlg.h"
#include "widgets/CListViewEx.h"
#include "widgets/FullRowDelegate.h"
#include "widgets/ListOverButtons.h"
#include "widgets/ShowRefusal.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CHolidayDlg::CHolidayDlg(HolidayEditor& editor, UserServices& ui, QWidget* parent, QDate today)
    : QDialog(parent), editor_(editor), ui_(ui), today_(today) {
    setWindowTitle("Edit Holiday Information");
    auto* lists = new QHBoxLayout;
    lists->addWidget(
        BuildList(HolidayKind::EveryYear, "Non Expiring Holidays", {"Month", "Day"}, {125, 56}));
    lists->addWidget(
        BuildList(HolidayKind::Once, "Expiring Holidays", {"Month", "Day", "Year"}, {125, 56, 60}));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CHolidayDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CHolidayDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);
    resize(sizeHint().width(), 360);
}

std::size_t CHolidayDlg::Index(HolidayKind kind) {
    return kind == HolidayKind::EveryYear ? 0 : 1;
}

QGroupBox* CHolidayDlg::BuildList(HolidayKind kind, const QString& caption,
                                  const QStringList& columns, const QList<int>& widths) {
    const std::size_t index = Index(kind);
    auto* list = new CListViewEx;
    lists_[index] = list;
    add_[index] = new QPushButton("Add");
    edit_[index] = new QPushButton("Edit");
    remove_[index] = new QPushButton("Remove");
    list->SetColumns(columns, widths);
    list->Rows()->SetRows(
        static_cast<int>(editor_.List(kind).size()),
        [this, kind](int row, int column) { return CellText(kind, row, column); });
    list->setMinimumWidth(FullRowDelegate::WidthForColumns(list));
    connect(add_[index], &QPushButton::clicked, this, [this, kind] { OnAdd(kind); });
    list->EditSelectedRow(edit_[index], [this, kind](int row) { OnEdit(kind, row); });
    list->ActOnSelectedRow(remove_[index], [this, kind](int row) { OnRemove(kind, row); });
    return FramedListOverButtons(caption, list, {add_[index], edit_[index], remove_[index]});
}

QString CHolidayDlg::CellText(HolidayKind kind, int row, int column) const {
    const Holiday& holiday = editor_.List(kind).at(static_cast<std::size_t>(row));
    switch (column) {
    case 0:
        return QString::fromStdString(HolidayEditor::MonthName(holiday.month));
    case 1:
        return QString::asprintf("%02u", static_cast<unsigned>(holiday.day));
    default:
        return QString::number(CHolidayDateDlg::kFirstYear + holiday.year);
    }
}

void CHolidayDlg::OnAdd(HolidayKind kind) {
    if (ShowRefusal(ui_, editor_.CheckRoom(kind))) {
        return;
    }
    CHolidayDateDlg dialog(today_, this);
    if (dialog.exec() == QDialog::Accepted && !ShowRefusal(ui_, editor_.Add(kind, dialog.Date()))) {
        List(kind)->ShowAppendedRow();
    }
}

void CHolidayDlg::OnEdit(HolidayKind kind, int row) {
    Holiday holiday = editor_.List(kind).at(static_cast<std::size_t>(row));
    if (kind == HolidayKind::EveryYear) {
        holiday.year = static_cast<uint8_t>(today_.year() - CHolidayDateDlg::kFirstYear);
    }
    CHolidayDateDlg dialog(today_, this);
    dialog.SetDate(holiday);
    if (dialog.exec() == QDialog::Accepted &&
        editor_.Edit(kind, static_cast<std::size_t>(row), dialog.Date())) {
        List(kind)->Rows()->RowChanged(row);
    }
}

void CHolidayDlg::OnRemove(HolidayKind kind, int row) {
    List(kind)->Rows()->RemoveRow(row,
                                  [&] { editor_.Remove(kind, static_cast<std::size_t>(row)); });
}

} // namespace tolvane
