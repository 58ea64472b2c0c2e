// The fixed tables of the system area as CSV lists: validation groups, door schedules and time
// zones with one row for each of their 15 entries, and the holidays of both kinds. An import
// replaces the whole table as OK in its Setup dialog does.
#pragma once

#include "ListKind.h"

namespace tolvane {

void WriteValidationGroups(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);
std::optional<CsvText::Failure> ImportValidationGroups(const ListKind& kind, std::string_view csv,
                                                       MemoryModule& image,
                                                       UnitConfiguration& unit);

void WriteDoorSchedules(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);
std::optional<CsvText::Failure> ImportDoorSchedules(const ListKind& kind, std::string_view csv,
                                                    MemoryModule& image, UnitConfiguration& unit);

void WriteTimeZones(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);
std::optional<CsvText::Failure> ImportTimeZones(const ListKind& kind, std::string_view csv,
                                                MemoryModule& image, UnitConfiguration& unit);

// Holidays that come every year first, then those that come once, each in table order.
void WriteHolidays(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);
std::optional<CsvText::Failure> ImportHolidays(const ListKind& kind, std::string_view csv,
                                               MemoryModule& image, UnitConfiguration& unit);

} // namespace tolvane
