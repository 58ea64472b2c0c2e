// The editors' rules without any window: what each dialog's OK refuses and in which order, and what
// the lists do on Add, Edit and Remove, down to the occurrence of a suspended code and the index
// that keeps entry codes unique.
#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/DoorScheduleEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/HolidayEditor.h"
#include "config/NumberField.h"
#include "config/TimeZoneEditor.h"
#include "config/ValidationGroupEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tolvane {
namespace {

using Refusal = std::optional<std::string>;

EntryCode Code(const std::string& digits, uint16_t group = 0) {
    EntryCode code;
    EXPECT_EQ(EntryCodeEditor::ReadFields(digits, std::to_string(group), true, code), Refusal());
    return code;
}

std::unique_ptr<DirectoryEntry> Entry(const std::string& code, const std::string& name,
                                      const std::string& phone) {
    auto entry = std::make_unique<DirectoryEntry>();
    EXPECT_EQ(DirectoryEditor::ReadFields(code, name, phone, false, *entry), Refusal());
    return entry;
}

TEST(NumberFieldTest, TakesWholeNumbersWithinBoundsAndNamesThemOtherwise) {
    const std::vector<std::tuple<std::string, std::optional<unsigned>>> cases{
        {"15", 15}, {" 007 ", 7}, {"0", 0},    {"16", {}}, {"-1", {}},
        {"+3", {}}, {"", {}},     {"1 2", {}}, {"x", {}},  {"99999999999", {}},
    };
    for (const auto& [text, expected] : cases) {
        std::string why;
        EXPECT_EQ(ReadNumberField("Validation Group", text, 0, 15, why), expected) << text;
        EXPECT_EQ(why, expected ? "" : "Validation Group must be a whole number from 0 to 15.");
    }
}

TEST(BlockCodeEditorTest, RangeFieldsAreCheckedInOrderAndEqualEndsAreOneCode) {
    const std::vector<std::tuple<std::string, std::string, std::string, Refusal>> cases{
        {"70000", "x", "99", "Start Code must be a whole number from 0 to 65535."},
        {"5", "65536", "99", "End Code must be a whole number from 0 to 65535."},
        {"9", "5", "16", "Validation Group must be a whole number from 0 to 15."},
        {"9", "5", "3", "The end code can not be less than the start code"},
        {"65535", "65535", "15", {}},
    };
    for (const auto& [start, end, group, refusal] : cases) {
        BlockRange range(1, 2, 3);
        EXPECT_EQ(BlockCodeEditor::ReadRange(start, end, group, range), refusal) << start;
        EXPECT_EQ(range, refusal ? BlockRange(1, 2, 3) : BlockRange(65535, 65535, 15));
    }
    uint16_t code = 7;
    EXPECT_EQ(BlockCodeEditor::ReadSuspendCode("65536", code),
              "Code must be a whole number from 0 to 65535.");
    EXPECT_EQ(code, 7);
}

TEST(BlockCodeEditorTest, SuspendedCodesMustLieInARangeAndRemoveTakesOneOccurrence) {
    BlockCodeList original;
    original.ranges = {BlockRange(100, 100, 1), BlockRange(500, 600, 2)};
    BlockCodeEditor editor;
    editor.Load(original);
    // Either end of a single-code range, twice, and out of order.
    for (const uint16_t code : {600, 100, 550, 100}) {
        EXPECT_EQ(editor.AddSuspended(code), Refusal()) << code;
    }
    for (const uint16_t code : {99, 101, 499, 601}) {
        EXPECT_EQ(editor.AddSuspended(code), "The code to suspend must exist inside a block range");
    }
    EXPECT_EQ(editor.List().suspended, (std::vector<uint16_t>{600, 100, 550, 100}));
    EXPECT_EQ(editor.SuspendedSorted(), (std::vector<uint16_t>{100, 100, 550, 600}));
    EXPECT_TRUE(editor.RemoveSuspended(100));
    EXPECT_FALSE(editor.RemoveSuspended(101));
    EXPECT_EQ(editor.List().suspended, (std::vector<uint16_t>{600, 550, 100}));

    // Removing or narrowing a range leaves its suspended codes alone; bad indexes do nothing.
    EXPECT_TRUE(editor.EditRange(1, BlockRange(500, 520, 4)));
    EXPECT_TRUE(editor.RemoveRange(0));
    EXPECT_FALSE(editor.RemoveRange(1));
    EXPECT_FALSE(editor.EditRange(1, BlockRange()));
    editor.AddRange(BlockRange(100, 200, 0)); // overlaps nothing now, order of entry kept
    EXPECT_EQ(editor.List().ranges, (std::vector<BlockRange>{{500, 520, 4}, {100, 200, 0}}));
    EXPECT_EQ(editor.List().suspended, (std::vector<uint16_t>{600, 550, 100}));
    EXPECT_EQ(editor.RangeOf(150), 1u);

    // The document's list changes only when the copy is stored.
    EXPECT_EQ(original.ranges.size(), 2u);
    editor.Store(original);
    EXPECT_EQ(original, editor.List());
}

TEST(EntryCodeEditorTest, DialogChecksComeInOrderAndLeadingZerosMakeAnotherCode) {
    const std::vector<std::tuple<std::string, std::string, Refusal>> cases{
        {"", "16", "Validation Group must be a whole number from 0 to 15."},
        {"", "1", "An entry code must be entered"},
        {"12a4", "1", "Only numeric values (0-9) are allowed in an entry code"},
        {" 12", "1", "Only numeric values (0-9) are allowed in an entry code"},
        {"123456789", "1", "An entry code has at most 8 digits"},
        {"00000000", "15", {}},
    };
    for (const auto& [text, group, refusal] : cases) {
        EntryCode code;
        EXPECT_EQ(EntryCodeEditor::ReadFields(text, group, false, code), refusal) << text;
    }
    const EntryCode fresh = EntryCodeEditor::NewCode();
    EXPECT_EQ(fresh.digitCount, 0);
    EXPECT_EQ(fresh.active, 1);
    EXPECT_EQ(EntryCodeEditor::CodeText(Code("0042")), "0042");

    EntryCodeEditor editor;
    editor.Load({Code("42"), Code("7", 3)});
    EXPECT_EQ(editor.Add(Code("0042")), Refusal());
    EXPECT_EQ(editor.Add(Code("42", 9)), "Entry Codes must be unique");
    // Editing a record to itself is no clash; editing it to another's code is.
    EXPECT_EQ(editor.Edit(1, Code("7", 5)), Refusal());
    EXPECT_EQ(editor.Edit(1, Code("0042")), "Entry Codes must be unique");
    EXPECT_EQ(editor.Codes()[1], Code("7", 5));
    // A freed code may be used again, and the index follows edits.
    EXPECT_EQ(editor.Edit(0, Code("43")), Refusal());
    EXPECT_EQ(editor.Add(Code("42")), Refusal());
    EXPECT_TRUE(editor.Remove(0));
    EXPECT_FALSE(editor.Remove(3));
    EXPECT_EQ(editor.Add(Code("43")), Refusal());
    EXPECT_EQ(editor.Codes().size(), 4u);

    // A digit value above 9 that a unit's record holds is shown as it is, and is a code of its own.
    EntryCode stored = Code("10");
    stored.digits[1] = 10;
    EXPECT_EQ(EntryCodeEditor::CodeText(stored), "1A");
    EXPECT_EQ(editor.Add(stored), Refusal());
    EXPECT_EQ(editor.Add(Code("10")), Refusal());

    // A unit's list may hold a code twice: each of them clashes with the other.
    editor.Load({Code("5"), Code("5")});
    EXPECT_EQ(editor.Edit(0, Code("5")), "Entry Codes must be unique");
    EXPECT_TRUE(editor.Remove(1));
    EXPECT_EQ(editor.Edit(0, Code("5", 2)), Refusal());
}

TEST(DirectoryEditorTest, TheEntryCheckRunsInOrderWithinTheImageCapacity) {
    DirectoryEntry entry;
    EXPECT_EQ(DirectoryEditor::ReadFields("65536", "A", "1", false, entry),
              "Directory Code must be a whole number from 0 to 65535.");
    EXPECT_EQ(DirectoryEditor::ReadFields("1", std::string(25, 'n'), "1", false, entry),
              "A tenant name has at most 24 characters");
    EXPECT_EQ(DirectoryEditor::ReadFields("1", "A\nB", "1", false, entry),
              "A tenant name cannot hold control characters");
    // The image keeps no trailing blanks, so the check sees the name as it will come back.
    EXPECT_EQ(DirectoryEditor::ReadFields("1", std::string(24, 'n') + "  ", "1", false, entry),
              std::nullopt);
    EXPECT_EQ(DirectoryEditor(9).Add(Entry("1", "   ", "5")), "Tenant name required.");

    const std::string full =
        "Telephone entry list full  --  You must remove an entry before adding more.";
    EXPECT_EQ(DirectoryEditor(0).CheckRoom(), full);
    DirectoryEditor editor(4); // the image holds three
    const std::vector<std::tuple<std::string, std::string, std::string, Refusal>> adds{
        {"7", "Ann", "555-1234", {}},
        {"7", "Bob", "5551234", "Directory code 7 is already being used."},
        {"8", "", "5551234", "Tenant name required."},
        {"8", "Bob", " - ( ) ", "Phone Number required."},
        {"8", "Bob", "5551234", {}},
        {"9", "Cy", "1", {}},
        {"10", "Di", "1", full},
    };
    for (const auto& [code, name, phone, refusal] : adds) {
        auto entry = std::make_unique<DirectoryEntry>();
        ASSERT_EQ(DirectoryEditor::ReadFields(code, name, phone, true, *entry), Refusal());
        EXPECT_EQ(editor.Add(std::move(entry)), refusal) << code << name;
    }
    EXPECT_EQ(editor.CheckRoom(), full);
    EXPECT_EQ(editor.Entries().Count(), 3u);
    // Keeping its own code passes; taking another's does not, and the old entry stays.
    EXPECT_EQ(editor.Edit(0, Entry("7", "Ann Lee", "1")), Refusal());
    EXPECT_EQ(editor.Edit(0, Entry("8", "Ann", "1")), "Directory code 8 is already being used.");
    EXPECT_EQ(editor.Entries().At(0).name, "Ann Lee");
    EXPECT_TRUE(editor.Remove(1));
    EXPECT_EQ(editor.Add(Entry("8", "Eve", "1")), Refusal());

    // A list that holds as many entries as the capacity, or more, refuses every change.
    DirectoryList crowded;
    for (const char* code : {"1", "2"}) {
        crowded.Append(Entry(code, "X", "1"));
    }
    DirectoryEditor small(2);
    small.Load(crowded);
    EXPECT_EQ(small.Edit(0, Entry("1", "Y", "1")), "Directory code exceeds maximum limit of 1.");

    DirectoryList target;
    editor.Store(target);
    EXPECT_EQ(target.Count(), 3u);
    EXPECT_EQ(editor.Entries().Count(), 0u);
}

TEST(TableEditorsTest, GridsTakeEverythingOrNothingAndNameTheFieldTheyRefuse) {
    ValidationGroupEditor groups;
    ValidationGroupTable table;
    table.antiPassback[2] = 1;
    groups.Load(table);
    std::vector<std::string> numbers(ValidationGroupEditor::kFields, "15");
    const std::array<bool, kTableEntries> marks{};
    const auto readGroups = [&] { return groups.ReadFields(numbers, marks); };
    numbers[37] = "16";
    EXPECT_EQ(readGroups(),
              (FieldRefusal{37, "Group 8 Time Zone 2 must be a whole number from 0 to 15."}));
    EXPECT_EQ(groups.Table(), table);
    numbers[37] = "0";
    EXPECT_EQ(readGroups(), std::nullopt);
    EXPECT_EQ(groups.Number(7, 2), 0);
    EXPECT_EQ(groups.Number(14, 0), 15);
    EXPECT_EQ(groups.Table().antiPassback[2], 0);

    // Any non-zero flag a unit holds is a door in the schedule; what comes back is 1 or 0.
    DoorScheduleTable doors;
    doors.channel[3][14] = 5;
    DoorScheduleEditor schedules;
    schedules.Load(doors);
    EXPECT_TRUE(schedules.HasDoor(14, 3));
    EXPECT_FALSE(schedules.HasDoor(14, 2));
    schedules.SetDoor(14, 3, true);
    schedules.SetDoor(0, 0, true);
    EXPECT_EQ(schedules.Table().channel[3][14], 1);
    EXPECT_EQ(schedules.Table().channel[0][0], 1);
}

TEST(TableEditorsTest, TimeZonesShowTheirDaysAndPeriodsAndTakeBoundedTimes) {
    TimeZone zone;
    EXPECT_EQ(TimeZoneEditor::DaysText(zone), "SMTWTFSH");
    zone.dayExcluded.fill(7);
    EXPECT_EQ(TimeZoneEditor::DaysText(zone), std::string(16, '-'));
    zone.dayExcluded = {1, 0, 0, 0, 0, 0, 1, 1};
    EXPECT_EQ(TimeZoneEditor::DaysText(zone), "--MTWTF----");

    std::vector<std::string> times(TimeZoneEditor::kTimeFields, "0");
    const std::array<bool, kTimeZoneDays> weekdays{false, true, true,  true,
                                                   true,  true, false, true};
    times[0] = "8", times[1] = "05", times[2] = "17", times[3] = "30";
    times[4] = "17", times[6] = "8"; // a period over midnight is kept as it is
    EXPECT_EQ(TimeZoneEditor::ReadZone(times, weekdays, zone), std::nullopt);
    EXPECT_EQ(TimeZoneEditor::PeriodText(zone, 0), " 08:05 - 17:30");
    EXPECT_EQ(TimeZoneEditor::PeriodText(zone, 1), " 17:00 - 08:00");
    EXPECT_EQ(TimeZoneEditor::DaysText(zone), "--MTWTF--H");
    EXPECT_EQ(TimeZoneEditor::TimeField(zone, 3), 30);

    const TimeZone before = zone;
    times[14] = "24";
    times[15] = "60";
    EXPECT_EQ(TimeZoneEditor::ReadZone(times, weekdays, zone),
              (FieldRefusal{14, "Period 4 End Hour must be a whole number from 0 to 23."}));
    times[14] = "23";
    EXPECT_EQ(TimeZoneEditor::ReadZone(times, weekdays, zone)->message,
              "Period 4 End Minute must be a whole number from 0 to 59.");
    EXPECT_EQ(zone, before);

    TimeZoneEditor editor;
    editor.SetZone(14, zone);
    TimeZoneTable table{};
    editor.Store(table);
    EXPECT_EQ(table[14], zone);
}

TEST(TableEditorsTest, HolidaysArePackedLimitedToTwentyFourAndShiftOnRemove) {
    HolidayTable everyYear;
    ExpiringHolidayTable once;
    everyYear.month[3] = 12, everyYear.day[3] = 25;
    everyYear.month[5] = 7; // a month without a day is no holiday
    everyYear.month[9] = 1, everyYear.day[9] = 1;
    once.month[20] = 4, once.day[20] = 2; // year 0 is 1990, a year like any other
    HolidayEditor editor;
    editor.Load(everyYear, once);
    EXPECT_EQ(editor.List(HolidayKind::EveryYear), (std::vector<Holiday>{{0, 12, 25}, {0, 1, 1}}));
    EXPECT_EQ(editor.List(HolidayKind::Once), (std::vector<Holiday>{{0, 4, 2}}));

    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(editor.Add(HolidayKind::Once, {36, 5, static_cast<uint8_t>(i + 1)}),
                  std::nullopt);
    }
    EXPECT_EQ(editor.Add(HolidayKind::Once, {36, 6, 1}), "You may not exceed 24 expiring holidays");
    EXPECT_EQ(editor.Add(HolidayKind::EveryYear, {36, 6, 1}), std::nullopt);
    EXPECT_EQ(editor.List(HolidayKind::EveryYear).back(), (Holiday{0, 6, 1}));
    EXPECT_TRUE(editor.Remove(HolidayKind::EveryYear, 0));
    EXPECT_FALSE(editor.Edit(HolidayKind::EveryYear, 2, {}));
    EXPECT_TRUE(editor.Edit(HolidayKind::Once, 0, {10, 3, 4}));
    while (editor.CheckRoom(HolidayKind::EveryYear) == std::nullopt) {
        editor.Add(HolidayKind::EveryYear, {0, 2, 29});
    }
    EXPECT_EQ(editor.CheckRoom(HolidayKind::EveryYear),
              "You may not exceed 24 non expiring holidays");

    editor.Remove(HolidayKind::EveryYear, 0);
    editor.Store(everyYear, once);
    EXPECT_EQ(everyYear.month[0], 6);
    EXPECT_EQ(everyYear.month[22], 2);
    EXPECT_EQ(everyYear.month[23], 0);
    EXPECT_EQ(everyYear.day[23], 0);
    EXPECT_EQ(once.year[0], 10);
    EXPECT_EQ(once.day[23], 23);
    EXPECT_EQ(HolidayEditor::MonthName(9), "September");
}

} // namespace
} // namespace tolvane
