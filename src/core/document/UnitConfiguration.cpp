#include "document/UnitConfiguration.h"

#include "image/MemoryModule.h"

namespace tolvane {

// The order is the unit's tables first, then the directory, the holidays and the code chains;
// the packing below mirrors it so that pages are handed out the same way every time.
void UnitConfiguration::Unpack(MemoryModule& image) {
    image.GetValidationGroups(validationGroups);
    image.GetDoorSchedules(doorSchedules);
    image.GetTimeZones(timeZones);
    image.ReadDirectory(directory);
    image.GetHolidays(holidays);
    image.GetExpiringHolidays(expiringHolidays);
    image.ReadEntryCodes(entryCodes);
    image.ReadBlockCodes(blockCards, kBlockCards);
    image.ReadBlockCodes(blockTransmitters, kBlockTransmitters);
}

void UnitConfiguration::Pack(MemoryModule& image) const {
    image.SetValidationGroups(validationGroups);
    image.SetDoorSchedules(doorSchedules);
    image.SetTimeZones(timeZones);
    image.WriteDirectory(directory);
    image.SetHolidays(holidays);
    image.SetExpiringHolidays(expiringHolidays);
    image.WriteEntryCodes(entryCodes);
    image.WriteBlockCodes(blockCards, kBlockCards);
    image.WriteBlockCodes(blockTransmitters, kBlockTransmitters);
}

} // namespace tolvane
