// Everything the image unpacks into: the code lists, the directory and the fixed tables. The
// document holds one as its working form; the command-line tool uses the same unpacking and
// packing, so both see the image the same way.
#pragma once

#include "document/BlockCodeList.h"
#include "document/DirectoryList.h"
#include "document/EntryCode.h"
#include "image/SystemTables.h"

namespace tolvane {

class MemoryModule;

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

    // Fills every list and table from the image.
    void Unpack(MemoryModule& image);
    // Writes every list and table into the image. Packing may show the out-of-pages messages.
    void Pack(MemoryModule& image) const;
};

} // namespace tolvane
