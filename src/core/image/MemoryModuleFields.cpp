// The system area's settings and its fixed tables: validation groups, door schedules, time zones
// and holidays. Bytes that the map does not name are never touched.
#include "image/ByteOrder.h"
#include "image/MemoryModule.h"

namespace tolvane {

using namespace layout;

namespace {

std::size_t ValidationGroupRecord(int index) {
    return kValidationGroups + kValidationGroupSize * static_cast<std::size_t>(index + 1);
}

std::size_t TimeZoneRecord(int index) {
    return kTimeZones + kTimeZoneSize * static_cast<std::size_t>(index + 1);
}

std::size_t RelayField(std::size_t base, int channel) {
    return base + kRelayStride * static_cast<std::size_t>(channel & 3);
}

} // namespace

bool MemoryModule::GetAccOutButtonOffset() const {
    return (system_[kAccOutButtonOffset] & 1) != 0;
}

uint8_t MemoryModule::GetAccOutFormat() const {
    return system_[kAccOutFormat] & 0x0F;
}

uint8_t MemoryModule::GetAccOutFacilityCode() const {
    return system_[kAccOutFacilityCode];
}

uint8_t MemoryModule::GetAccOutMode() const {
    return system_[kAccOutMode] & 0x0F;
}

uint8_t MemoryModule::GetTransmitterFacilityCode() const {
    return system_[kTransmitterFacilityCode];
}

uint16_t MemoryModule::GetSystemSiteCode() const {
    return ReadBE16(system_, kSystemSiteCode);
}

uint8_t MemoryModule::GetDefaultButton(int channel) const {
    return system_[kDefaultButton + static_cast<std::size_t>(channel & 3)];
}

uint8_t MemoryModule::GetAlarmCutoffTime() const {
    return system_[kAlarmCutoffTime];
}

uint16_t MemoryModule::GetMaximumTransactionEntries() const {
    return ReadBE16(system_, kMaximumTransactionEntries);
}

uint8_t MemoryModule::GetCardFacilityCode(int index) const {
    return system_[kCardFacilityCode + static_cast<std::size_t>(index & 3)];
}

uint16_t MemoryModule::GetMaximumDirectoryCodes() const {
    return ReadBE16(system_, kDirectoryCapacity);
}

uint16_t MemoryModule::GetDirectoryEntriesWritten() const {
    return ReadBE16(system_, kDirectoryEntriesWritten);
}

UnitAddress MemoryModule::GetDirectoryFirstRecord() const {
    return {system_[kDirectoryFirstRecord], ReadBE16(system_, kDirectoryFirstRecord + 1)};
}

UnitAddress MemoryModule::GetDirectoryMiddleRecord() const {
    return {system_[kDirectoryMiddleRecord], ReadBE16(system_, kDirectoryMiddleRecord + 1)};
}

std::string MemoryModule::ReadPassword(std::size_t offset) const {
    // Zero bytes are skipped rather than ending the text: the unit pads wherever it likes.
    std::string text;
    for (std::size_t i = 0; i < kPasswordSize; ++i) {
        if (system_[offset + i] != 0) {
            text += static_cast<char>(system_[offset + i]);
        }
    }
    return text;
}

std::string MemoryModule::GetLocalPassword() const {
    return ReadPassword(kLocalPassword);
}

std::string MemoryModule::GetRemotePassword() const {
    return ReadPassword(kRemotePassword);
}

uint8_t MemoryModule::GetRelayOperation(int channel) const {
    return system_[RelayField(kRelay, channel)] & 0x0F;
}

uint8_t MemoryModule::GetRelayTelephoneDigit(int channel) const {
    return system_[RelayField(kRelay, channel)] >> 4;
}

uint16_t MemoryModule::GetRelayActivationTime(int channel) const {
    return ReadBE16(system_, RelayField(kRelayActivationTime, channel));
}

uint8_t MemoryModule::GetRelayTimeZone(int channel, int slot) const {
    const uint8_t byte = system_[RelayField(kRelayTimeZones, channel) + ((slot & 3) >> 1)];
    return (slot & 1) == 0 ? byte >> 4 : byte & 0x0F;
}

std::string MemoryModule::ReadName(std::size_t offset) const {
    // The field is all 24 bytes with trailing blanks trimmed; like any text it shows up to its
    // first zero byte.
    std::string text(system_.begin() + static_cast<std::ptrdiff_t>(offset),
                     system_.begin() + static_cast<std::ptrdiff_t>(offset + kNameSize));
    text.erase(text.find_last_not_of(' ') + 1);
    return text.substr(0, text.find('\0'));
}

std::string MemoryModule::GetInstallationName() const {
    return ReadName(kInstallationName);
}

std::string MemoryModule::GetUnitName() const {
    return ReadName(kUnitName);
}

std::string MemoryModule::GetChannelName(int channel) const {
    const std::size_t offset = kChannelNames + kNameSize * static_cast<std::size_t>(channel & 3);
    // A field that starts with a zero byte is not empty, it only shows as nothing; it prints as
    // one blank so that the name column still reads as there.
    return system_[offset] == 0 ? std::string(" ") : ReadName(offset);
}

// --- fixed tables -----------------------------------------------------------------------------

void MemoryModule::GetValidationGroups(ValidationGroupTable& table) const {
    for (int i = 0; i < kTableEntries; ++i) {
        const std::size_t record = ValidationGroupRecord(i);
        table.doorSchedule[i] = system_[record];
        for (int k = 0; k < 4; ++k) {
            table.timeZone[k][i] = system_[record + 1 + static_cast<std::size_t>(k)];
        }
        table.antiPassback[i] = (system_[record + 5] & 0x80) != 0 ? 1 : 0;
    }
}

void MemoryModule::SetValidationGroups(const ValidationGroupTable& table) {
    for (int i = 0; i < kTableEntries; ++i) {
        const std::size_t record = ValidationGroupRecord(i);
        system_[record] = table.doorSchedule[i];
        for (int k = 0; k < 4; ++k) {
            system_[record + 1 + static_cast<std::size_t>(k)] = table.timeZone[k][i];
        }
        // The control group in the low bits belongs to the unit; only the anti-passback bit is
        // ours.
        const uint8_t keep = system_[record + 5] & 0x7F;
        system_[record + 5] = static_cast<uint8_t>(keep | (table.antiPassback[i] != 0 ? 0x80 : 0));
    }
}

void MemoryModule::GetDoorSchedules(DoorScheduleTable& table) const {
    for (int i = 0; i < kTableEntries; ++i) {
        const uint8_t byte = system_[kDoorSchedules + static_cast<std::size_t>(i + 1)];
        for (int c = 0; c < kChannels; ++c) {
            table.channel[c][i] = (byte & (1 << c)) == 0 ? 1 : 0;
        }
    }
}

void MemoryModule::SetDoorSchedules(const DoorScheduleTable& table) {
    for (int i = 0; i < kTableEntries; ++i) {
        uint8_t byte = 0;
        for (int c = 0; c < kChannels; ++c) {
            if (table.channel[c][i] == 0) {
                byte = static_cast<uint8_t>(byte | (1 << c));
            }
        }
        system_[kDoorSchedules + static_cast<std::size_t>(i + 1)] = byte;
    }
}

void MemoryModule::GetTimeZones(TimeZoneTable& table) const {
    for (int i = 0; i < kTableEntries; ++i) {
        const std::size_t record = TimeZoneRecord(i);
        TimeZone& zone = table[i];
        for (int k = 0; k < kTimeZoneDays; ++k) {
            zone.dayExcluded[k] = (system_[record + 1] >> k) & 1;
        }
        for (int p = 0; p < kTimeZonePeriods; ++p) {
            const std::size_t period = record + 4 + 4 * static_cast<std::size_t>(p);
            zone.startHour[p] = system_[period];
            zone.startMinute[p] = system_[period + 1];
            zone.endHour[p] = system_[period + 2];
            zone.endMinute[p] = system_[period + 3];
        }
    }
}

void MemoryModule::SetTimeZones(const TimeZoneTable& table) {
    for (int i = 0; i < kTableEntries; ++i) {
        const std::size_t record = TimeZoneRecord(i);
        const TimeZone& zone = table[i];
        uint8_t mask = 0;
        for (int k = 0; k < kTimeZoneDays; ++k) {
            if (zone.dayExcluded[k] != 0) {
                mask = static_cast<uint8_t>(mask | (1 << k));
            }
        }
        system_[record + 1] = mask;
        for (int p = 0; p < kTimeZonePeriods; ++p) {
            const std::size_t period = record + 4 + 4 * static_cast<std::size_t>(p);
            system_[period] = static_cast<uint8_t>(zone.startHour[p]);
            system_[period + 1] = static_cast<uint8_t>(zone.startMinute[p]);
            system_[period + 2] = static_cast<uint8_t>(zone.endHour[p]);
            system_[period + 3] = static_cast<uint8_t>(zone.endMinute[p]);
        }
    }
}

void MemoryModule::GetHolidays(HolidayTable& table) const {
    for (std::size_t h = 0; h < kHolidaySlots; ++h) {
        table.month[h] = system_[kHolidays + 2 * h];
        table.day[h] = system_[kHolidays + 2 * h + 1];
    }
}

void MemoryModule::SetHolidays(const HolidayTable& table) {
    for (std::size_t h = 0; h < kHolidaySlots; ++h) {
        system_[kHolidays + 2 * h] = table.month[h];
        system_[kHolidays + 2 * h + 1] = table.day[h];
    }
}

void MemoryModule::GetExpiringHolidays(ExpiringHolidayTable& table) const {
    for (std::size_t h = 0; h < kHolidaySlots; ++h) {
        table.month[h] = system_[kExpiringHolidays + 3 * h];
        table.day[h] = system_[kExpiringHolidays + 3 * h + 1];
        table.year[h] = system_[kExpiringHolidays + 3 * h + 2];
    }
}

void MemoryModule::SetExpiringHolidays(const ExpiringHolidayTable& table) {
    for (std::size_t h = 0; h < kHolidaySlots; ++h) {
        system_[kExpiringHolidays + 3 * h] = table.month[h];
        system_[kExpiringHolidays + 3 * h + 1] = table.day[h];
        system_[kExpiringHolidays + 3 * h + 2] = table.year[h];
    }
}

} // namespace tolvane
