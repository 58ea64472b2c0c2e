// The rules of the time zone editor: fifteen zones, each up to four daily periods on a set of the
// weekdays and holidays. A zone's day flags say which days are NOT in it; the editor shows and
// takes the days that are.
#pragma once

#include "config/NumberField.h"
#include "config/SystemTables.h"

#include <optional>
#include <span>
#include <string>

namespace tolvane {

class TimeZoneEditor {
public:
    // A zone's time fields in the dialog's order: for each period, begin hour, begin minute, end
    // hour, end minute.
    static constexpr int kTimeFields = kTimeZonePeriods * 4;

    void Load(const TimeZoneTable& table) { table_ = table; }
    void Store(TimeZoneTable& table) const { table = table_; }
    const TimeZoneTable& Table() const { return table_; }
    // zone 0 to 14.
    void SetZone(int zone, const TimeZone& value);

    // " 08:05 - 17:30"
    static std::string PeriodText(const TimeZone& zone, int period);
    // One letter of "SMTWTFSH" for each day in the zone, "--" for each day that is not.
    static std::string DaysText(const TimeZone& zone);
    // The same in eight characters, as lists and comparisons write it: "-" for a day that is not
    // in the zone, so "-MTWTF--" is Monday to Friday without holidays.
    static std::string DayLetters(const TimeZone& zone);
    // "08:05-17:30", the values as stored: an hour of 30 is "30:00".
    static std::string PeriodSpan(const TimeZone& zone, int period);
    static bool HasDay(const TimeZone& zone, int day) { return zone.dayExcluded[day] == 0; }
    // Field f's value and label ("Period 2 End Minute") in the dialog's order.
    static int TimeField(const TimeZone& zone, int field);
    static std::string FieldLabel(int field);

    // The zone dialog's OK: the time fields, hours 0 to 23 and minutes 0 to 59, and the days ticked
    // (Sunday to Saturday, then Holiday). The first refused field leaves zone as it was.
    static std::optional<FieldRefusal> ReadZone(std::span<const std::string> times,
                                                std::span<const bool> days, TimeZone& zone);

private:
    TimeZoneTable table_{};
};

} // namespace tolvane
