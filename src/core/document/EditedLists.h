// What OK in a Setup editor does to the document's lists and image, and what saving does to the
// file. The window's commands and the spreadsheet import of tolvane-cli both go through these, so
// that a list imported and a list typed in leave the file with the same bytes.
#pragma once

#include <string>

namespace tolvane {

class BlockCodeEditor;
class DirectoryEditor;
class EntryCodeEditor;
class DoorScheduleEditor;
class HolidayEditor;
class TimeZoneEditor;
class ValidationGroupEditor;
class MemoryModule;
struct UnitConfiguration;

// Block codes and the directory reach the image at once; kind 2 transmitters, 1 cards.
void TakeBlockCodes(const BlockCodeEditor& editor, int kind, UnitConfiguration& lists,
                    MemoryModule& image);
void TakeDirectory(DirectoryEditor& editor, UnitConfiguration& lists, MemoryModule& image);
// The three tables of the system area reach the image at once too.
void TakeValidationGroups(const ValidationGroupEditor& editor, UnitConfiguration& lists,
                          MemoryModule& image);
void TakeDoorSchedules(const DoorScheduleEditor& editor, UnitConfiguration& lists,
                       MemoryModule& image);
void TakeTimeZones(const TimeZoneEditor& editor, UnitConfiguration& lists, MemoryModule& image);
// Entry codes and holidays wait for the next save or upload, which packs every list.
void TakeEntryCodes(const EntryCodeEditor& editor, UnitConfiguration& lists);
void TakeHolidays(const HolidayEditor& editor, UnitConfiguration& lists);

// Packs every list into the image, makes the backups and writes the file: the result of Save.
int PackAndSave(MemoryModule& image, const UnitConfiguration& lists, const std::string& path);

} // namespace tolvane
