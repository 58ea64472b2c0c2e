#include "SystemTableLists.h"

#include "config/DoorScheduleEditor.h"
#include "config/HolidayEditor.h"
#include "config/NumberField.h"
#include "config/TimeZoneEditor.h"
#include "config/UnitConfiguration.h"
#include "config/ValidationGroupEditor.h"
#include "document/EditedLists.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

namespace tolvane {

namespace {

using Failure = CsvText::Failure;
using Fields = ListKind::Fields;

// --- tables with one row for each entry -------------------------------------------------------

// Gets a row's fields and the index (0 to 14) of the entry that its first column names.
using EntryHandler = std::function<std::optional<std::string>(const Fields& fields, int entry)>;

// The rows of a 15-entry table, in any order. An entry given twice is refused at its second row;
// one given never has no line of its own, so the header's line names it.
std::optional<Failure> ReadEntryRows(const ListKind& kind, std::string_view csv,
                                     const EntryHandler& onEntry) {
    const std::string& column = kind.columns[0];
    std::array<int, kTableEntries> lineOf{};
    auto failure =
        kind.ReadRows(csv, [&](const Fields& fields, int line) -> std::optional<std::string> {
            std::string why;
            const auto number = ReadNumberField(column, fields[0], 1, kTableEntries, why);
            if (!number) {
                return why;
            }
            int& first = lineOf[*number - 1];
            if (first != 0) {
                return column + " " + std::to_string(*number) + " is given twice, first on line " +
                       std::to_string(first);
            }
            first = line;
            return onEntry(fields, static_cast<int>(*number) - 1);
        });
    const auto missing = std::find(lineOf.begin(), lineOf.end(), 0);
    if (!failure && missing != lineOf.end()) {
        return Failure{1, column + " " + std::to_string(missing - lineOf.begin() + 1) +
                              " is missing: the list needs one row for each " + column +
                              " from 1 to " + std::to_string(kTableEntries)};
    }
    return failure;
}

// --- time zones -------------------------------------------------------------------------------

constexpr std::string_view kDayLetters = "SMTWTFSH";

std::optional<std::string> ReadDays(const std::string& column, const std::string& text,
                                    std::array<bool, kTimeZoneDays>& days) {
    bool valid = text.size() == kDayLetters.size();
    for (std::size_t day = 0; valid && day < text.size(); ++day) {
        days[day] = text[day] == kDayLetters[day];
        valid = days[day] || text[day] == '-';
    }
    if (!valid) {
        return column + " must be 8 characters, each the day's letter from SMTWTFSH (Sunday to " +
               "Saturday, then Holiday) or -, not \"" + text + "\"";
    }
    return std::nullopt;
}

// "H:MM" or "HH:MM" as its hour and minute texts; the editor checks their bounds.
bool SplitTime(std::string_view text, std::vector<std::string>& times) {
    const std::size_t colon = text.find(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3 ||
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) !=
            static_cast<std::ptrdiff_t>(text.size() - 1)) {
        return false;
    }
    times.emplace_back(text.substr(0, colon));
    times.emplace_back(text.substr(colon + 1));
    return true;
}

// A period "HH:MM-HH:MM" as the four texts of the zone dialog's fields for it.
std::optional<std::string> ReadPeriod(const std::string& column, const std::string& text,
                                      std::vector<std::string>& times) {
    const std::size_t dash = text.find('-');
    const std::string_view period = text;
    if (dash == std::string::npos || !SplitTime(period.substr(0, dash), times) ||
        !SplitTime(period.substr(dash + 1), times)) {
        return column + " must be a begin and an end time as HH:MM-HH:MM, not \"" + text + "\"";
    }
    return std::nullopt;
}

// --- holidays ---------------------------------------------------------------------------------

// The unit keeps the year of a holiday that comes once as a byte of years since this one.
constexpr unsigned kFirstYear = 1990;

constexpr std::array<std::pair<HolidayKind, std::string_view>, 2> kHolidayKinds{
    {{HolidayKind::EveryYear, "every-year"}, {HolidayKind::Once, "once"}}};

// 29 February comes every leap year, so a holiday that comes every year may fall on it.
unsigned DaysInMonth(unsigned month, std::optional<unsigned> year) {
    static constexpr std::array<unsigned, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = !year || (*year % 4 == 0 && (*year % 100 != 0 || *year % 400 == 0));
    return month == 2 && !leap ? 28 : kDays[month - 1];
}

// A row's date: a year only for a holiday that comes once, and a day that its month has.
std::optional<std::string> ReadHoliday(const ListKind& kind, const Fields& fields,
                                       HolidayKind which, Holiday& holiday) {
    std::string why;
    std::optional<unsigned> year;
    if (which == HolidayKind::Once) {
        year = ReadNumberField(kind.columns[1], fields[1], kFirstYear, kFirstYear + 255, why);
        if (!year) {
            return why;
        }
    } else if (!fields[1].empty()) {
        return kind.columns[1] + " must be empty for an every-year holiday, not \"" + fields[1] +
               "\"";
    }
    const auto month = ReadNumberField(kind.columns[2], fields[2], 1, 12, why);
    if (!month) {
        return why;
    }
    const auto day = ReadNumberField(kind.columns[3], fields[3], 1, 31, why);
    if (!day) {
        return why;
    }
    if (*day > DaysInMonth(*month, year)) {
        std::string date = HolidayEditor::MonthName(static_cast<int>(*month));
        if (year) {
            date.append(" ").append(std::to_string(*year));
        }
        return date.append(" has no day ").append(std::to_string(*day));
    }
    holiday = {static_cast<uint8_t>(year ? *year - kFirstYear : 0), static_cast<uint8_t>(*month),
               static_cast<uint8_t>(*day)};
    return std::nullopt;
}

} // namespace

// --- the lists --------------------------------------------------------------------------------

void WriteValidationGroups(const ListKind& /*kind*/, const UnitConfiguration& unit,
                           std::ostream& out) {
    ValidationGroupEditor editor;
    editor.Load(unit.validationGroups);
    for (int group = 0; group < kTableEntries; ++group) {
        Fields row{std::to_string(group + 1)};
        for (int field = 0; field < ValidationGroupEditor::kNumbersPerGroup; ++field) {
            row.push_back(std::to_string(editor.Number(group, field)));
        }
        row.push_back(ListKind::YesNo(unit.validationGroups.antiPassback[group] != 0));
        out << CsvText::Row(row);
    }
}

std::optional<Failure> ImportValidationGroups(const ListKind& kind, std::string_view csv,
                                              MemoryModule& image, UnitConfiguration& unit) {
    constexpr int kNumbers = ValidationGroupEditor::kNumbersPerGroup;
    ValidationGroupEditor editor;
    // Groups without a row yet read as 0, so that the editor can refuse only the row at hand.
    std::vector<std::string> numbers(ValidationGroupEditor::kFields, "0");
    std::array<bool, kTableEntries> antiPassback{};
    auto failure = ReadEntryRows(
        kind, csv, [&](const Fields& fields, int group) -> std::optional<std::string> {
            bool timed = false;
            if (auto refusal = kind.ReadYesNo(fields, kNumbers + 1, timed)) {
                return refusal;
            }
            std::copy(fields.begin() + 1, fields.begin() + 1 + kNumbers,
                      numbers.begin() + group * kNumbers);
            antiPassback[static_cast<std::size_t>(group)] = timed;
            if (auto refusal = editor.ReadFields(numbers, antiPassback)) {
                return refusal->message;
            }
            return std::nullopt;
        });
    if (!failure) {
        TakeValidationGroups(editor, unit, image);
    }
    return failure;
}

void WriteDoorSchedules(const ListKind& /*kind*/, const UnitConfiguration& unit,
                        std::ostream& out) {
    DoorScheduleEditor editor;
    editor.Load(unit.doorSchedules);
    for (int schedule = 0; schedule < kTableEntries; ++schedule) {
        Fields row{std::to_string(schedule + 1)};
        for (int door = 0; door < kChannels; ++door) {
            row.push_back(ListKind::YesNo(editor.HasDoor(schedule, door)));
        }
        out << CsvText::Row(row);
    }
}

std::optional<Failure> ImportDoorSchedules(const ListKind& kind, std::string_view csv,
                                           MemoryModule& image, UnitConfiguration& unit) {
    DoorScheduleEditor editor;
    auto failure = ReadEntryRows(
        kind, csv, [&](const Fields& fields, int schedule) -> std::optional<std::string> {
            for (int door = 0; door < kChannels; ++door) {
                bool inSchedule = false;
                if (auto refusal =
                        kind.ReadYesNo(fields, static_cast<std::size_t>(door) + 1, inSchedule)) {
                    return refusal;
                }
                editor.SetDoor(schedule, door, inSchedule);
            }
            return std::nullopt;
        });
    if (!failure) {
        TakeDoorSchedules(editor, unit, image);
    }
    return failure;
}

// Times as the unit holds them, even out of the editor's bounds (hour 30 is "30:00").
void WriteTimeZones(const ListKind& /*kind*/, const UnitConfiguration& unit, std::ostream& out) {
    for (int zone = 0; zone < kTableEntries; ++zone) {
        const TimeZone& value = unit.timeZones[static_cast<std::size_t>(zone)];
        Fields row{std::to_string(zone + 1), TimeZoneEditor::DayLetters(value)};
        for (int period = 0; period < kTimeZonePeriods; ++period) {
            row.push_back(TimeZoneEditor::PeriodSpan(value, period));
        }
        out << CsvText::Row(row);
    }
}

std::optional<Failure> ImportTimeZones(const ListKind& kind, std::string_view csv,
                                       MemoryModule& image, UnitConfiguration& unit) {
    TimeZoneEditor editor;
    auto failure =
        ReadEntryRows(kind, csv, [&](const Fields& fields, int zone) -> std::optional<std::string> {
            std::array<bool, kTimeZoneDays> days{};
            if (auto refusal = ReadDays(kind.columns[1], fields[1], days)) {
                return refusal;
            }
            std::vector<std::string> times;
            for (std::size_t column = 2; column < kind.columns.size(); ++column) {
                if (auto refusal = ReadPeriod(kind.columns[column], fields[column], times)) {
                    return refusal;
                }
            }
            TimeZone value;
            if (auto refusal = TimeZoneEditor::ReadZone(times, days, value)) {
                return refusal->message;
            }
            editor.SetZone(zone, value);
            return std::nullopt;
        });
    if (!failure) {
        TakeTimeZones(editor, unit, image);
    }
    return failure;
}

void WriteHolidays(const ListKind& /*kind*/, const UnitConfiguration& unit, std::ostream& out) {
    HolidayEditor editor;
    editor.Load(unit.holidays, unit.expiringHolidays);
    for (const auto& [which, name] : kHolidayKinds) {
        for (const Holiday& holiday : editor.List(which)) {
            out << CsvText::Row({std::string(name),
                                 which == HolidayKind::Once
                                     ? std::to_string(kFirstYear + holiday.year)
                                     : std::string(),
                                 std::to_string(holiday.month), std::to_string(holiday.day)});
        }
    }
}

// Each kind keeps its holidays in file order, as if added one by one in the dialog.
std::optional<Failure> ImportHolidays(const ListKind& kind, std::string_view csv,
                                      MemoryModule& /*image*/, UnitConfiguration& unit) {
    HolidayEditor editor;
    auto failure =
        kind.ReadRows(csv, [&](const Fields& fields, int /*line*/) -> std::optional<std::string> {
            const auto known = std::find_if(kHolidayKinds.begin(), kHolidayKinds.end(),
                                            [&](const auto& k) { return k.second == fields[0]; });
            if (known == kHolidayKinds.end()) {
                return kind.columns[0] + " must be every-year or once, not \"" + fields[0] + "\"";
            }
            if (auto refusal = editor.CheckRoom(known->first)) {
                return refusal;
            }
            Holiday holiday;
            if (auto refusal = ReadHoliday(kind, fields, known->first, holiday)) {
                return refusal;
            }
            return editor.Add(known->first, holiday);
        });
    if (!failure) {
        TakeHolidays(editor, unit);
    }
    return failure;
}

} // namespace tolvane
