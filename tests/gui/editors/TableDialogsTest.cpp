// The editors of the unit's fixed tables from their commands in the main window, driven through
// their real widgets: validation groups, door schedules and time zones written into the image's
// system area at once on OK, holidays only into the document's lists; Cancel on a list forgets
// what its own dialogs took; spins that wrap, refused fields that keep the focus, and holiday
// dates before today that survive an Edit.
#include "gui/editors/EditorTestKit.h"

#include "config/HolidayEditor.h"
#include "document/CommandIds.h"
#include "editors/CDoorScheduleDlg.h"
#include "editors/CHolidayDateDlg.h"
#include "editors/CHolidayDlg.h"
#include "editors/CTimeZoneDlg.h"
#include "editors/CTimeZoneListDlg.h"
#include "editors/CValidationGroupDlg.h"
#include "image/SystemAreaLayout.h"
#include "widgets/WrappingNumberField.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tolvane {
namespace {

// The text a spin field shows after the key, as the keyboard would press it.
std::string Press(WrappingNumberField* field, const QString& text, Qt::Key key) {
    field->Edit()->setText(text);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(field, &press);
    return field->text().toStdString();
}

class TableDialogsTest : public DemoDocumentTest {
protected:
    std::vector<uint8_t> SystemArea() const {
        const auto area = doc_.Image().GetSystemArea();
        return {area.begin(), area.end()};
    }
};

TEST_F(TableDialogsTest, ValidationGroupsAndDoorSchedulesWriteTheirRecordsAtOnce) {
    std::vector<uint8_t> expected = SystemArea();
    std::shared_ptr<std::string> refused;
    WhenModal<CValidationGroupDlg>([&](CValidationGroupDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Validation Group Information");
        EXPECT_EQ(dialog->NumberField(14 * 5 + 4)->text(), "15");
        EXPECT_TRUE(dialog->AntiPassbackBox(3)->isChecked());
        // The time zone spins wrap at either end.
        EXPECT_EQ(Press(dialog->TimeZoneField(0, 0), "15", Qt::Key_Up), "0");
        EXPECT_EQ(Press(dialog->TimeZoneField(0, 0), "0", Qt::Key_Down), "15");
        // A number out of bounds stays in its field to be refused there, with the dialog open.
        dialog->NumberField(2 * 5 + 3)->setText("16");
        refused = CloseNextBox();
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), dialog->TimeZoneField(2, 2));
        EXPECT_EQ(dialog->NumberField(2 * 5 + 3)->selectedText(), "16");

        dialog->NumberField(2 * 5 + 3)->setText("7");
        dialog->NumberField(1 * 5)->setText("9");
        dialog->AntiPassbackBox(2)->setChecked(true);
        dialog->AntiPassbackBox(3)->setChecked(false);
        dialog->accept();
    });
    frame_.RunCommand(kCmdValidationGroups);
    EXPECT_EQ(*refused, "Group 3 Time Zone 3 must be a whole number from 0 to 15.");
    const auto group = [](std::size_t g) {
        return layout::kValidationGroups + layout::kValidationGroupSize * g;
    };
    expected[group(1) + 1] = 15; // stepped round from 15 to 0 and back
    expected[group(2) + 0] = 9;
    expected[group(3) + 3] = 7;
    // Anti-passback is the top bit of byte 5; the unit's own bits beside it stay.
    expected[group(3) + 5] = 0x83;
    expected[group(4) + 5] = 0x00;
    EXPECT_EQ(SystemArea(), expected);
    EXPECT_TRUE(doc_.IsModified());

    WhenModal<CDoorScheduleDlg>([](CDoorScheduleDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Door Schedule Information");
        EXPECT_EQ(dialog->DoorBox(1, 0)->text(), "Door A");
        for (int door = 0; door < 4; ++door) {
            // Schedule 1 holds every door, schedule 2 only Door B.
            EXPECT_TRUE(dialog->DoorBox(0, door)->isChecked());
            EXPECT_EQ(dialog->DoorBox(1, door)->isChecked(), door == 1);
            dialog->DoorBox(0, door)->setChecked(false);
            dialog->DoorBox(1, door)->setChecked(true);
        }
        dialog->accept();
    });
    frame_.RunCommand(kCmdDoorSchedules);
    // A set bit is a door NOT in the schedule.
    expected[layout::kDoorSchedules + 1] = 0x0F;
    expected[layout::kDoorSchedules + 2] = 0x00;
    EXPECT_EQ(SystemArea(), expected);
}

TEST_F(TableDialogsTest, TimeZonesShowTheirDaysAndAnEditedZoneReachesTheImageOnOk) {
    std::vector<uint8_t> expected = SystemArea();
    std::shared_ptr<std::string> refused;
    WhenModal<CTimeZoneListDlg>([&](CTimeZoneListDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Time Zone Information");
        CListViewEx* list = dialog->List();
        ASSERT_EQ(list->Rows()->rowCount(), 15);
        EXPECT_EQ(Row(list, 0), "01 /  00:00 - 23:59 /  00:00 - 00:00 /  00:00 - 00:00 /  "
                                "00:00 - 00:00 / SMTWTFSH");
        EXPECT_EQ(Row(list, 2).substr(Row(list, 2).rfind('/') + 2), "S----------SH");
        EXPECT_EQ(list->CellText(14, 5), QString(16, '-'));
        // No column shortens its texts.
        EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(" 00:00 - 00:00"));

        WhenModal<CTimeZoneDlg>([&](CTimeZoneDlg* zone) {
            EXPECT_EQ(zone->windowTitle(), "Edit Individual Time Zone");
            // Zone 2 holds Monday to Friday.
            for (int day = 0; day < 8; ++day) {
                EXPECT_EQ(zone->DayBox(day)->isChecked(), day >= 1 && day <= 5) << day;
            }
            EXPECT_EQ(Press(zone->TimeField(0), "23", Qt::Key_Up), "0");
            EXPECT_EQ(Press(zone->TimeField(1), "0", Qt::Key_Down), "59");
            EXPECT_EQ(Press(zone->TimeField(1), "59", Qt::Key_Up), "0");
            zone->TimeField(2)->Edit()->setText("24");
            refused = CloseNextBox();
            zone->accept();
            EXPECT_TRUE(zone->isVisible());
            EXPECT_EQ(zone->focusWidget(), zone->TimeField(2));

            // An end before its begin is kept as it is.
            const std::vector<QString> times{"17", "0", "8", "5"};
            for (int field = 0; field < 4; ++field) {
                zone->TimeField(field)->Edit()->setText(times[static_cast<std::size_t>(field)]);
            }
            zone->DayBox(0)->setChecked(true);
            zone->DayBox(7)->setChecked(true);
            zone->accept();
        });
        list->SelectRow(1);
        emit list->doubleClicked(list->model()->index(1, 2));
        EXPECT_EQ(Row(list, 1).substr(0, 20), "02 /  17:00 - 08:05 ");
        EXPECT_EQ(list->CellText(1, 5), "SMTWTF--H");
        dialog->accept();
    });
    frame_.RunCommand(kCmdTimeZones);
    EXPECT_EQ(*refused, "Period 1 End Hour must be a whole number from 0 to 23.");
    const std::size_t zone2 = layout::kTimeZones + layout::kTimeZoneSize * 2;
    expected[zone2 + 1] = 0x40; // only Saturday is not in the zone
    for (const auto& [at, value] : {std::pair{4, 17}, {5, 0}, {6, 8}, {7, 5}}) {
        expected[zone2 + static_cast<std::size_t>(at)] = static_cast<uint8_t>(value);
    }
    EXPECT_EQ(SystemArea(), expected);
    EXPECT_TRUE(doc_.IsModified());
}

TEST_F(TableDialogsTest, HolidaysReachTheListsOnOkAndTheImageOnlyWhenSaved) {
    const std::vector<uint8_t> image = doc_.Image().GetBytes();
    WhenModal<CHolidayDlg>([](CHolidayDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Edit Holiday Information");
        CListViewEx* everyYear = dialog->List(HolidayKind::EveryYear);
        CListViewEx* once = dialog->List(HolidayKind::Once);
        EXPECT_EQ(Row(everyYear, 0), "January / 01");
        EXPECT_EQ(Row(once, 2), "April / 03 / 2027");
        // Edit and Remove without a selection do nothing.
        dialog->RemoveButton(HolidayKind::EveryYear)->click();
        EXPECT_EQ(everyYear->Rows()->rowCount(), 7);
        everyYear->SelectRow(0);
        dialog->RemoveButton(HolidayKind::EveryYear)->click();
        WhenModal<CHolidayDateDlg>([](CHolidayDateDlg* date) {
            EXPECT_EQ(date->windowTitle(), "Expiring Holiday");
            date->Calendar()->setSelectedDate(QDate(2030, 2, 9));
            date->accept();
        });
        once->SelectRow(2);
        dialog->EditButton(HolidayKind::Once)->click();
        EXPECT_EQ(Row(once, 2), "February / 09 / 2030");
        dialog->accept();
    });
    frame_.RunCommand(kCmdHolidays);
    EXPECT_EQ(doc_.Lists().holidays.month[0], 5);
    EXPECT_EQ(doc_.Lists().holidays.month[6], 0);
    EXPECT_EQ(doc_.Lists().expiringHolidays.year[2], 40);
    EXPECT_EQ(doc_.Lists().expiringHolidays.day[2], 9);
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(doc_.Image().GetBytes(), image);
}

TEST_F(TableDialogsTest, AFullListRefusesAddAndAPastHolidaySurvivesEditAndOk) {
    HolidayTable everyYear{};
    ExpiringHolidayTable once{};
    for (std::size_t slot = 0; slot < 23; ++slot) {
        everyYear.month[slot] = 1;
        everyYear.day[slot] = static_cast<uint8_t>(slot + 1);
    }
    once.year[0] = 36; // 2026-11-27
    once.month[0] = 11;
    once.day[0] = 27;
    HolidayEditor editor;
    editor.Load(everyYear, once);
    const QDate today(2030, 6, 15);
    CHolidayDlg dialog(editor, ui_, nullptr, today);
    CListViewEx* list = dialog.List(HolidayKind::EveryYear);

    // The 24th Add takes the date dialog's first day, today; the 25th is refused before it opens.
    WhenModal<CHolidayDateDlg>([today](CHolidayDateDlg* date) {
        const QCalendarWidget* calendar = date->Calendar();
        EXPECT_EQ(calendar->selectedDate(), today);
        EXPECT_EQ(calendar->minimumDate(), today);
        EXPECT_EQ(calendar->maximumDate(), QDate(2099, 12, 31));
        EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
        // Enter on a day is OK.
        emit date->Calendar()->activated(today);
    });
    dialog.AddButton(HolidayKind::EveryYear)->click();
    EXPECT_EQ(Row(list, 23), "June / 15");
    const std::shared_ptr<std::string> full = CloseNextBox();
    dialog.AddButton(HolidayKind::EveryYear)->click();
    EXPECT_EQ(*full, "You may not exceed 24 non expiring holidays");
    EXPECT_EQ(editor.List(HolidayKind::EveryYear).size(), 24u);

    // A date before today shows as today in the calendar, but OK without a pick keeps it.
    for (const HolidayKind kind : {HolidayKind::EveryYear, HolidayKind::Once}) {
        const Holiday before = editor.List(kind).front();
        WhenModal<CHolidayDateDlg>([today](CHolidayDateDlg* date) {
            EXPECT_EQ(date->Calendar()->selectedDate(), today);
            date->accept();
        });
        dialog.List(kind)->SelectRow(0);
        dialog.EditButton(kind)->click();
        EXPECT_EQ(editor.List(kind).front(), before);
    }
    EXPECT_EQ(Row(dialog.List(HolidayKind::Once), 0), "November / 27 / 2026");
}

} // namespace
} // namespace tolvane
