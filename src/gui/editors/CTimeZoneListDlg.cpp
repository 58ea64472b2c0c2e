#include "editors/CTimeZoneListDlg.h"

#include "config/TimeZoneEditor.h"
#include "editors/CTimeZoneDlg.h"
#include "widgets/CListViewEx.h"
#include "widgets/FullRowDelegate.h"
#include "widgets/ListOverButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CTimeZoneListDlg::CTimeZoneListDlg(TimeZoneEditor& editor, UserServices& ui, QWidget* parent)
    : QDialog(parent), editor_(editor), ui_(ui), list_(new CListViewEx),
      edit_(new QPushButton("Edit")) {
    setWindowTitle("Configure Time Zone Information");
    list_->SetColumns({"#", "Period 1", "Period 2", "Period 3", "Period 4", "Days"},
                      {22, 80, 80, 80, 80, 79});
    list_->Rows()->SetRows(kTableEntries,
                           [this](int row, int column) { return CellText(row, column); });
    // Those widths were made for a narrower font than ours: a column grows to its widest text, so
    // that no time or day is shortened.
    for (int row = 0; row < kTableEntries; ++row) {
        list_->WidenColumnsFor(row);
    }
    list_->EditSelectedRow(edit_, [this](int row) { OnEdit(row); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTimeZoneListDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTimeZoneListDlg::reject);
    setLayout(ListOverButtons(list_, {edit_}, buttons));
    // All fifteen zones in sight at once.
    list_->setMinimumSize(FullRowDelegate::WidthForColumns(list_),
                          list_->header()->sizeHint().height() +
                              kTableEntries * list_->sizeHintForRow(0) + 2 * list_->frameWidth());
}

QString CTimeZoneListDlg::CellText(int row, int column) const {
    const TimeZone& zone = editor_.Table().at(static_cast<std::size_t>(row));
    if (column == 0) {
        return QString::asprintf("%02d", row + 1);
    }
    if (column <= kTimeZonePeriods) {
        return QString::fromStdString(TimeZoneEditor::PeriodText(zone, column - 1));
    }
    return QString::fromStdString(TimeZoneEditor::DaysText(zone));
}

void CTimeZoneListDlg::OnEdit(int row) {
    TimeZone zone = editor_.Table().at(static_cast<std::size_t>(row));
    CTimeZoneDlg dialog(zone, ui_, this);
    if (dialog.exec() == QDialog::Accepted) {
        editor_.SetZone(row, zone);
        list_->Rows()->RowChanged(row);
        list_->WidenColumnsFor(row);
    }
}

} // namespace tolvane
