// "Expiring Holiday": the date of a holiday, picked in a month calendar from today to the end of
// 2099. A holiday set into it that lies before today cannot be shown selected; it comes back as it
// was unless the user picks another day.
#pragma once

#include "config/HolidayEditor.h"

#include <QDate>
#include <QDialog>

class QCalendarWidget;

namespace tolvane {

class CHolidayDateDlg : public QDialog {
    Q_OBJECT

public:
    // The year that a holiday's stored year 0 stands for.
    static constexpr int kFirstYear = 1990;

    // The dialog starts on today.
    explicit CHolidayDateDlg(QDate today, QWidget* parent = nullptr);

    QCalendarWidget* Calendar() const { return calendar_; }

    // year since 1990, month, day.
    void SetDate(const Holiday& date);
    Holiday Date() const;

private:
    QCalendarWidget* calendar_;
    Holiday date_;
    bool picked_ = false;
};

} // namespace tolvane
