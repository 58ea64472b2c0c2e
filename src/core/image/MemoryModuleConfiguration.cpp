#include "image/MemoryModule.h"

namespace tolvane {

// The order is the unit's tables first, then the directory, the holidays and the code chains;
// the packing below mirrors it so that pages are handed out the same way every time.
void MemoryModule::Unpack(UnitConfiguration& unit) {
    GetValidationGroups(unit.validationGroups);
    GetDoorSchedules(unit.doorSchedules);
    GetTimeZones(unit.timeZones);
    ReadDirectory(unit.directory);
    GetHolidays(unit.holidays);
    GetExpiringHolidays(unit.expiringHolidays);
    ReadEntryCodes(unit.entryCodes);
    ReadBlockCodes(unit.blockCards, kBlockCards);
    ReadBlockCodes(unit.blockTransmitters, kBlockTransmitters);
}

void MemoryModule::Pack(const UnitConfiguration& unit) {
    SetValidationGroups(unit.validationGroups);
    SetDoorSchedules(unit.doorSchedules);
    SetTimeZones(unit.timeZones);
    WriteDirectory(unit.directory);
    SetHolidays(unit.holidays);
    SetExpiringHolidays(unit.expiringHolidays);
    WriteEntryCodes(unit.entryCodes);
    WriteBlockCodes(unit.blockCards, kBlockCards);
    WriteBlockCodes(unit.blockTransmitters, kBlockTransmitters);
}

} // namespace tolvane
