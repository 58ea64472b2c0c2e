// The comparison of two images on hand-built pairs: the second image is the first with its
// configuration edited and packed, plus a few system area bytes, and the expected lines are
// written out by hand. Event records are matched by their bytes, duplicates counted.
#include "config/EntryCodeEditor.h"
#include "config/UnitConfiguration.h"
#include "image/SystemAreaLayout.h"
#include "reports/ImageDiff.h"

#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using namespace layout;

EntryCode Code(const char* digits, int group, bool active) {
    EntryCode code;
    EXPECT_EQ(EntryCodeEditor::ReadFields(digits, std::to_string(group), active, code),
              std::nullopt);
    return code;
}

// A small module with an installation name and a directory chain.
ImageBuilder Module() {
    ImageBuilder builder(0x70);
    builder.Name(kInstallationName, "North Gate");
    builder.AddDirectory(1, 21);
    return builder;
}

// Packs the lists as the document does: into an image unpacked first.
void Pack(LoadedImage& loaded, const UnitConfiguration& unit) {
    UnitConfiguration before;
    loaded.image.Unpack(before);
    loaded.image.Pack(unit);
}

// The differences between two loaded images, each with the lists it unpacks into.
ImageDiff DiffOf(LoadedImage& a, LoadedImage& b) {
    UnitConfiguration aLists;
    UnitConfiguration bLists;
    a.image.Unpack(aLists);
    b.image.Unpack(bLists);
    return ImageDiff(a.image, aLists, b.image, bLists);
}

TEST(ImageDiffTest, EveryListTellsWhatWasAddedRemovedAndChangedInKeyOrder) {
    UnitConfiguration unit;
    unit.entryCodes = {Code("1234", 3, true), Code("0042", 1, true), Code("42", 1, false),
                       Code("77", 2, true)};
    unit.blockTransmitters = {{{500, 599, 2}, {100, 199, 1}}, {150, 520}};
    unit.directory.Append(MakeDirectoryEntry(103, "CHARLIE", "6175551203", true));
    unit.directory.Append(MakeDirectoryEntry(101, "ABLE", "5551201"));
    unit.directory.Append(MakeDirectoryEntry(102, "BAKER"));
    unit.holidays.month = {12, 1};
    unit.holidays.day = {25, 1};
    unit.expiringHolidays = {{36}, {11}, {27}};
    LoadedImage a(Module());
    Pack(a, unit);

    unit.entryCodes = {Code("77", 2, false), Code("42", 1, false), Code("0042", 5, true),
                       Code("9", 0, true)};
    unit.blockTransmitters = {{{100, 199, 4}, {300, 310, 1}}, {150, 160}};
    unit.blockCards.ranges = {{7, 9, 0}};
    unit.directory.At(1).name = "ABLE, A";
    unit.directory.At(2).digitCount = 7;
    unit.directory.At(2).digits = {5, 5, 5, 1, 2, 0, 2};
    unit.directory.At(2).extendedTalk = 1;
    unit.directory.RemoveAt(0);
    unit.directory.Append(MakeDirectoryEntry(104, "DOG", "5551204"));
    unit.validationGroups.doorSchedule[2] = 2;
    unit.validationGroups.timeZone[1][2] = 5;
    unit.validationGroups.antiPassback[14] = 1;
    unit.doorSchedules.channel[2][0] = 1;
    unit.timeZones[1].dayExcluded = {1, 0, 0, 0, 0, 0, 1, 1};
    unit.timeZones[1].startHour[0] = 8;
    unit.timeZones[1].endHour[0] = 17;
    unit.timeZones[1].endMinute[0] = 30;
    unit.holidays.month = {12, 7};
    unit.holidays.day = {25, 4};
    unit.expiringHolidays = {{37, 36}, {1, 11}, {2, 27}};
    ImageBuilder edited = Module();
    edited.Name(kInstallationName, "South Gate").NamePageText(0, "NORTH TOWER");
    edited.Byte(kRelay + kRelayStride, 1);
    edited.Byte(kValidationGroups + 8 * 3 + 5, 5).Byte(kValidationGroups + 8 * 2 + 6, 0x09);
    LoadedImage b(edited);
    Pack(b, unit);

    const ImageDiff diff = DiffOf(a, b);
    EXPECT_FALSE(diff.ConfigurationsEqual());
    EXPECT_EQ(diff.Text(), "System\n"
                           "  changed Title 1: \"\" -> NORTH TOWER\n"
                           "  changed Installation: North Gate -> South Gate\n"
                           "  changed Channel [B] Operation: Control -> Shunt\n"
                           "  changed VG[03] Cntrl Grp: 00 -> 05\n"
                           "  changed VG[02] Channel [B]: None -> Keypad\n"
                           "Entry codes\n"
                           "  added code 9: group 0, active yes\n"
                           "  changed code 0042: group 1 -> 5\n"
                           "  changed code 77: active yes -> no\n"
                           "  removed code 1234: group 3, active yes\n"
                           "Block transmitters\n"
                           "  changed range 100-199: group 1 -> 4\n"
                           "  added range 300-310: group 1\n"
                           "  removed range 500-599: group 2\n"
                           "  added suspended 160\n"
                           "  removed suspended 520\n"
                           "Block cards\n"
                           "  added range 7-9: group 0\n"
                           "Directory\n"
                           "  changed code 101: name ABLE -> ABLE, A\n"
                           "  changed code 102: phone \"\" -> 555-1202\n"
                           "  changed code 102: extended_talk no -> yes\n"
                           "  removed code 103: name CHARLIE, phone (617) 555-1203, extended_talk "
                           "yes\n"
                           "  added code 104: name DOG, phone 555-1204, extended_talk no\n"
                           "Validation groups\n"
                           "  changed group 3: door_schedule 0 -> 2\n"
                           "  changed group 3: tz2 0 -> 5\n"
                           "  changed group 15: anti_passback no -> yes\n"
                           "Door schedules\n"
                           "  changed schedule 1: door_c no -> yes\n"
                           "Time zones\n"
                           "  changed zone 2: days SMTWTFSH -> -MTWTF--\n"
                           "  changed zone 2: period1 00:00-00:00 -> 08:00-17:30\n"
                           "Holidays\n"
                           "  removed every-year 01-01\n"
                           "  added every-year 07-04\n"
                           "  added once 2027-01-02\n");

    // The structured form behind two of those lines.
    const Difference& removed = diff.Sections()[4].differences[3];
    EXPECT_EQ(removed.change, DiffChange::Removed);
    EXPECT_EQ(removed.values[2].name + "=" + removed.values[2].value, "extended_talk=yes");
    const Difference& installation = diff.Sections()[0].differences[1];
    EXPECT_EQ(installation.field + "|" + installation.before + "|" + installation.after,
              "|North Gate|South Gate");
}

TEST(ImageDiffTest, EventRecordsAreMatchedByTheirBytesWhereverTheyLieAndNeverMakeADifference) {
    auto log = [](std::initializer_list<int> minutes) {
        ImageBuilder builder(0x70);
        builder.AddEventLog(1);
        for (const int minute : minutes) {
            const uint8_t id[4] = {0, 7, 0, 0};
            // Type 0 is an empty slot, whatever else it holds.
            builder.AddEvent(minute < 0 ? 0 : 4, {2026, 3, 1, 10, minute < 0 ? 0 : minute, 8}, id,
                             0x20, 0);
        }
        return builder;
    };
    LoadedImage a(log({1, 2, 2, 3}));
    LoadedImage b(log({2, 3, -1, 4, 2, 2, -1}));
    const ImageDiff diff = DiffOf(a, b);
    EXPECT_TRUE(diff.ConfigurationsEqual());
    EXPECT_EQ(diff.NewEventRecords(), 2u); // minute 4 and a third record of minute 2
    EXPECT_EQ(diff.Text(), "Event log\n  2 new records\n");
    EXPECT_EQ(ImageDiff::CountNewEventRecords(b.image, a.image), 1u); // minute 1

    // An image against itself has nothing to tell.
    const ImageDiff same = DiffOf(b, b);
    EXPECT_TRUE(same.ConfigurationsEqual());
    EXPECT_EQ(same.NewEventRecords(), 0u);
    EXPECT_EQ(same.Text(), "");
}

} // namespace
} // namespace tolvane
