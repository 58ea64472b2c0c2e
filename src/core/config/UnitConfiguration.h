// Everything a unit's image unpacks into: the code lists, the directory and the fixed tables. The
// document holds one as its working form; the command-line tool uses the same unpacking and
// packing (MemoryModule::Unpack and Pack), so both see the image the same way.
#pragma once

#include "config/BlockCodeList.h"
#include "config/DirectoryList.h"
#include "config/EntryCode.h"
#include "config/SystemTables.h"

namespace tolvane {

struct UnitConfiguration {
    BlockCodeList blockTransmitters;
    BlockCodeList blockCards;
    EntryCodeArray entryCodes;
    DirectoryList directory;
    ValidationGroupTable validationGroups;
    DoorScheduleTable doorSchedules;
    TimeZoneTable timeZones{};
    HolidayTable holidays;
    ExpiringHolidayTable expiringHolidays;
};

} // namespace tolvane
