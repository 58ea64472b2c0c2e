// The document's working copies of the fixed tables in the system area: validation groups, door
// schedules, time zones and the two holiday lists. Index i holds the unit's entry i + 1 for the
// 15-entry tables, slot h for the 24-slot holiday lists.
#pragma once

#include <array>
#include <cstdint>

namespace tolvane {

inline constexpr int kTableEntries = 15;
inline constexpr int kHolidaySlots = 24;
inline constexpr int kChannels = 4;
inline constexpr int kTimeZonePeriods = 4;
inline constexpr int kTimeZoneDays = 8; // Sunday to Saturday, then Holiday

struct ValidationGroupTable {
    std::array<uint8_t, kTableEntries> doorSchedule{};
    std::array<std::array<uint8_t, kTableEntries>, 4> timeZone{}; // time zones 1 to 4
    std::array<int32_t, kTableEntries> antiPassback{};            // non-zero: "Timed"

    bool operator==(const ValidationGroupTable&) const = default;
};

struct DoorScheduleTable {
    // channel[c][i] non-zero: channel c (A to D) is in door schedule i + 1.
    std::array<std::array<int32_t, kTableEntries>, kChannels> channel{};

    bool operator==(const DoorScheduleTable&) const = default;
};

struct TimeZone {
    std::array<int32_t, kTimeZoneDays> dayExcluded{}; // non-zero: the day is not in the zone
    std::array<uint16_t, kTimeZonePeriods> startHour{};
    std::array<uint16_t, kTimeZonePeriods> endHour{};
    std::array<uint16_t, kTimeZonePeriods> startMinute{};
    std::array<uint16_t, kTimeZonePeriods> endMinute{};

    bool operator==(const TimeZone&) const = default;
};

using TimeZoneTable = std::array<TimeZone, kTableEntries>;

struct HolidayTable {
    std::array<uint8_t, kHolidaySlots> month{};
    std::array<uint8_t, kHolidaySlots> day{};

    bool operator==(const HolidayTable&) const = default;
};

struct ExpiringHolidayTable {
    std::array<uint8_t, kHolidaySlots> year{}; // years since 1990
    std::array<uint8_t, kHolidaySlots> month{};
    std::array<uint8_t, kHolidaySlots> day{};

    bool operator==(const ExpiringHolidayTable&) const = default;
};

} // namespace tolvane
