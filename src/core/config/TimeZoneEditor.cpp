#include "config/TimeZoneEditor.h"

#include <array>
#include <cstdio>

namespace tolvane {

namespace {

// The four fields of a period, in the dialog's order.
enum PeriodField { kBeginHour, kBeginMinute, kEndHour, kEndMinute };

uint16_t& FieldOf(TimeZone& zone, int field) {
    const auto period = static_cast<std::size_t>(field / 4);
    switch (field % 4) {
    case kBeginHour:
        return zone.startHour[period];
    case kBeginMinute:
        return zone.startMinute[period];
    case kEndHour:
        return zone.endHour[period];
    default:
        return zone.endMinute[period];
    }
}

} // namespace

void TimeZoneEditor::SetZone(int zone, const TimeZone& value) {
    table_.at(static_cast<std::size_t>(zone)) = value;
}

std::string TimeZoneEditor::PeriodText(const TimeZone& zone, int period) {
    const auto p = static_cast<std::size_t>(period);
    char text[40];
    std::snprintf(text, sizeof text, " %02d:%02d - %02d:%02d", zone.startHour[p],
                  zone.startMinute[p], zone.endHour[p], zone.endMinute[p]);
    return text;
}

std::string TimeZoneEditor::DaysText(const TimeZone& zone) {
    static constexpr char kLetters[] = "SMTWTFSH";
    std::string text;
    for (int day = 0; day < kTimeZoneDays; ++day) {
        text += HasDay(zone, day) ? std::string(1, kLetters[day]) : std::string("--");
    }
    return text;
}

std::string TimeZoneEditor::DayLetters(const TimeZone& zone) {
    static constexpr char kLetters[] = "SMTWTFSH";
    std::string text;
    for (int day = 0; day < kTimeZoneDays; ++day) {
        text += HasDay(zone, day) ? kLetters[day] : '-';
    }
    return text;
}

std::string TimeZoneEditor::PeriodSpan(const TimeZone& zone, int period) {
    const auto p = static_cast<std::size_t>(period);
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d-%02d:%02d", zone.startHour[p], zone.startMinute[p],
                  zone.endHour[p], zone.endMinute[p]);
    return text;
}

int TimeZoneEditor::TimeField(const TimeZone& zone, int field) {
    TimeZone copy = zone;
    return FieldOf(copy, field);
}

std::string TimeZoneEditor::FieldLabel(int field) {
    static constexpr std::array<const char*, 4> kNames{"Begin Hour", "Begin Minute", "End Hour",
                                                       "End Minute"};
    return "Period " + std::to_string(field / 4 + 1) + " " +
           kNames[static_cast<std::size_t>(field % 4)];
}

std::optional<FieldRefusal> TimeZoneEditor::ReadZone(std::span<const std::string> times,
                                                     std::span<const bool> days, TimeZone& zone) {
    TimeZone read = zone;
    for (int f = 0; f < kTimeFields && f < static_cast<int>(times.size()); ++f) {
        const bool hour = f % 4 == kBeginHour || f % 4 == kEndHour;
        std::string why;
        const auto value = ReadNumberField(FieldLabel(f), times[static_cast<std::size_t>(f)], 0,
                                           hour ? 23 : 59, why);
        if (!value) {
            return FieldRefusal{f, why};
        }
        FieldOf(read, f) = static_cast<uint16_t>(*value);
    }
    for (std::size_t day = 0; day < read.dayExcluded.size() && day < days.size(); ++day) {
        read.dayExcluded[day] = days[day] ? 0 : 1;
    }
    zone = read;
    return std::nullopt;
}

} // namespace tolvane
