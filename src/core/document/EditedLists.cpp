#include "document/EditedLists.h"

#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/DoorScheduleEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/HolidayEditor.h"
#include "config/TimeZoneEditor.h"
#include "config/ValidationGroupEditor.h"
#include "config/UnitConfiguration.h"
#include "document/Backups.h"
#include "image/MemoryModule.h"

namespace tolvane {

void TakeBlockCodes(const BlockCodeEditor& editor, int kind, UnitConfiguration& lists,
                    MemoryModule& image) {
    BlockCodeList& list = kind == kBlockTransmitters ? lists.blockTransmitters : lists.blockCards;
    editor.Store(list);
    image.WriteBlockCodes(list, kind);
}

void TakeDirectory(DirectoryEditor& editor, UnitConfiguration& lists, MemoryModule& image) {
    editor.Store(lists.directory);
    image.WriteDirectory(lists.directory);
}

void TakeValidationGroups(const ValidationGroupEditor& editor, UnitConfiguration& lists,
                          MemoryModule& image) {
    editor.Store(lists.validationGroups);
    image.SetValidationGroups(lists.validationGroups);
}

void TakeDoorSchedules(const DoorScheduleEditor& editor, UnitConfiguration& lists,
                       MemoryModule& image) {
    editor.Store(lists.doorSchedules);
    image.SetDoorSchedules(lists.doorSchedules);
}

void TakeTimeZones(const TimeZoneEditor& editor, UnitConfiguration& lists, MemoryModule& image) {
    editor.Store(lists.timeZones);
    image.SetTimeZones(lists.timeZones);
}

void TakeEntryCodes(const EntryCodeEditor& editor, UnitConfiguration& lists) {
    editor.Store(lists.entryCodes);
}

void TakeHolidays(const HolidayEditor& editor, UnitConfiguration& lists) {
    editor.Store(lists.holidays, lists.expiringHolidays);
}

int PackAndSave(MemoryModule& image, const UnitConfiguration& lists, const std::string& path) {
    image.Pack(lists);
    MakeBackupCopies(path);
    return image.Save(path);
}

} // namespace tolvane
