#include "JsonExport.h"

#include "config/UnitConfiguration.h"

namespace tolvane {

using Json = nlohmann::ordered_json;

namespace {

// Digits as text; a nibble above 9 (only a damaged image holds one) shows as a hex letter rather
// than as some other character.
template <typename Digits> std::string DigitText(const Digits& digits, std::size_t count) {
    static constexpr char kDigitChars[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count && i < digits.size(); ++i) {
        text += kDigitChars[digits[i] & 0x0F];
    }
    return text;
}

Json BlockCodes(const BlockCodeList& list) {
    Json ranges = Json::array();
    for (const BlockRange& range : list.ranges) {
        ranges.push_back({{"first", range.First()},
                          {"last", range.Last()},
                          {"validation_group", range.ValidationGroup()}});
    }
    return {{"ranges", ranges}, {"suspended", list.suspended}};
}

Json EntryCodes(const EntryCodeArray& codes) {
    Json result = Json::array();
    for (const EntryCode& code : codes) {
        result.push_back({{"digits", DigitText(code.digits, code.digitCount)},
                          {"validation_group", code.validationGroup},
                          {"active", code.active != 0}});
    }
    return result;
}

Json Directory(const DirectoryList& directory, uint16_t capacity) {
    Json entries = Json::array();
    for (std::size_t i = 0; i < directory.Count(); ++i) {
        const DirectoryEntry& entry = directory.At(i);
        entries.push_back({{"code", entry.code},
                           {"name", entry.name},
                           {"digits", DigitText(entry.digits, entry.digitCount)},
                           {"extended_talk", entry.extendedTalk != 0}});
    }
    return {{"capacity", capacity}, {"entries", entries}};
}

Json Tables(const UnitConfiguration& unit, Json result) {
    Json groups = Json::array();
    Json schedules = Json::array();
    Json zones = Json::array();
    for (int i = 0; i < kTableEntries; ++i) {
        const ValidationGroupTable& vg = unit.validationGroups;
        groups.push_back(
            {{"door_schedule", vg.doorSchedule[i]},
             {"time_zones",
              {vg.timeZone[0][i], vg.timeZone[1][i], vg.timeZone[2][i], vg.timeZone[3][i]}},
             {"anti_passback", vg.antiPassback[i] != 0}});
        Json channels = Json::array();
        for (int c = 0; c < kChannels; ++c) {
            channels.push_back(unit.doorSchedules.channel[c][i] != 0);
        }
        schedules.push_back(channels);
        const TimeZone& zone = unit.timeZones[i];
        Json days = Json::array();
        for (int d = 0; d < kTimeZoneDays; ++d) {
            days.push_back(zone.dayExcluded[d] != 0);
        }
        Json periods = Json::array();
        for (int p = 0; p < kTimeZonePeriods; ++p) {
            periods.push_back({{"start_hour", zone.startHour[p]},
                               {"start_minute", zone.startMinute[p]},
                               {"end_hour", zone.endHour[p]},
                               {"end_minute", zone.endMinute[p]}});
        }
        zones.push_back({{"days_excluded", days}, {"periods", periods}});
    }
    Json holidays = Json::array();
    Json expiring = Json::array();
    for (int h = 0; h < kHolidaySlots; ++h) {
        holidays.push_back({{"month", unit.holidays.month[h]}, {"day", unit.holidays.day[h]}});
        expiring.push_back({{"year_since_1990", unit.expiringHolidays.year[h]},
                            {"month", unit.expiringHolidays.month[h]},
                            {"day", unit.expiringHolidays.day[h]}});
    }
    result["validation_groups"] = groups;
    result["door_schedules"] = schedules;
    result["time_zones"] = zones;
    result["holidays"] = holidays;
    result["expiring_holidays"] = expiring;
    return result;
}

} // namespace

Json ExportJson(const UnitConfiguration& unit, uint16_t directoryCapacity) {
    Json result;
    result["entry_codes"] = EntryCodes(unit.entryCodes);
    result["block_transmitters"] = BlockCodes(unit.blockTransmitters);
    result["block_cards"] = BlockCodes(unit.blockCards);
    result["directory"] = Directory(unit.directory, directoryCapacity);
    return Tables(unit, std::move(result));
}

} // namespace tolvane
