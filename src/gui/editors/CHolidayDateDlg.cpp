#include "editors/CHolidayDateDlg.h"

#include "widgets/OkCancelBelow.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QDate DateOf(const Holiday& holiday) {
    return QDate(CHolidayDateDlg::kFirstYear + holiday.year, holiday.month, holiday.day);
}

Holiday HolidayOf(QDate date) {
    return {static_cast<uint8_t>(date.year() - CHolidayDateDlg::kFirstYear),
            static_cast<uint8_t>(date.month()), static_cast<uint8_t>(date.day())};
}

} // namespace

CHolidayDateDlg::CHolidayDateDlg(QDate today, QWidget* parent)
    : QDialog(parent), calendar_(new QCalendarWidget), date_(HolidayOf(today)) {
    setWindowTitle("Expiring Holiday");
    calendar_->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    calendar_->setSelectionMode(QCalendarWidget::SingleSelection);
    calendar_->setDateRange(today, QDate(2099, 12, 31));
    calendar_->setSelectedDate(today);
    // Only a change after the dialog was set is the user's choice.
    connect(calendar_, &QCalendarWidget::selectionChanged, this, [this] { picked_ = true; });
    // Enter or a double click on a day takes it, as OK would.
    connect(calendar_, &QCalendarWidget::activated, this, &CHolidayDateDlg::accept);
    auto* contents = new QVBoxLayout;
    contents->addWidget(calendar_);
    OkCancelBelow(this, contents);
}

void CHolidayDateDlg::SetDate(const Holiday& date) {
    date_ = date;
    // The calendar moves a date before today to today, and ignores one that does not exist.
    calendar_->setSelectedDate(DateOf(date));
    picked_ = false;
}

Holiday CHolidayDateDlg::Date() const {
    return picked_ ? HolidayOf(calendar_->selectedDate()) : date_;
}

} // namespace tolvane
