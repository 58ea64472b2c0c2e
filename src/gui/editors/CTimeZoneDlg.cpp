#include "editors/CTimeZoneDlg.h"

#include "config/TimeZoneEditor.h"
#include "widgets/WrappingNumberField.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <array>

namespace tolvane {

CTimeZoneDlg::CTimeZoneDlg(TimeZone& zone, UserServices& ui, QWidget* parent)
    : CGridDlg("Edit Individual Time Zone", ui, parent), zone_(zone) {
    auto* grid = new QGridLayout;
    for (int period = 0; period < kTimeZonePeriods; ++period) {
        auto* times = new QGridLayout;
        times->addWidget(new QLabel("Hour"), 0, 1, Qt::AlignCenter);
        times->addWidget(new QLabel("Min"), 0, 2, Qt::AlignCenter);
        times->addWidget(new QLabel("Begin Time"), 1, 0);
        times->addWidget(new QLabel("End Time"), 2, 0);
        for (int part = 0; part < 4; ++part) {
            const int field = period * 4 + part;
            const bool hour = part % 2 == 0;
            auto* spin =
                new WrappingNumberField(TimeZoneEditor::TimeField(zone, field), 0, hour ? 23 : 59);
            times_.push_back(spin);
            AddNumberField(spin->Edit());
            times->addWidget(spin, 1 + part / 2, hour ? 1 : 2);
        }
        auto* group = new QGroupBox(QString("Period %1").arg(period + 1));
        group->setLayout(times);
        grid->addWidget(group, period / 2, period % 2);
    }
    static constexpr std::array<const char*, kTimeZoneDays> kDays{
        "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Holiday"};
    auto* dayGrid = new QGridLayout;
    for (int day = 0; day < kTimeZoneDays; ++day) {
        auto* box = new QCheckBox(kDays[static_cast<std::size_t>(day)]);
        box->setChecked(TimeZoneEditor::HasDay(zone, day));
        AddCheckBox(box);
        dayGrid->addWidget(box, day / 4, day % 4);
    }
    auto* dayGroup = new QGroupBox;
    dayGroup->setLayout(dayGrid);
    grid->addWidget(dayGroup, 2, 0, 1, 2);
    SetContents(grid);
}

std::optional<FieldRefusal> CTimeZoneDlg::Read(std::span<const std::string> numbers,
                                               std::span<const bool> ticked) {
    return TimeZoneEditor::ReadZone(numbers, ticked, zone_);
}

} // namespace tolvane
