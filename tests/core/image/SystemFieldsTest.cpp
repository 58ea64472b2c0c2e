// The system area: settings read for the reports, and the five fixed tables moved between the
// system area and the document, each against bytes laid out by hand.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ImageTestKit.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tolvane {
namespace {

using namespace layout;

class SystemFieldsTest : public ::testing::Test {
protected:
    void Load(ImageBuilder& builder) { ASSERT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk); }
    uint8_t& At(std::size_t offset) { return image.GetSystemArea()[offset]; }

    ScriptedUserServices ui;
    MemoryModule image{ui};
};

// Plain byte settings are left to the golden system report; here the ones with masks, nibbles,
// two bytes, an index or stray bits, and the texts.
TEST_F(SystemFieldsTest, SettingsAndTextsReadFromTheirOffsets) {
    ImageBuilder builder(0x60);
    builder.Byte(6, 0xFE).Byte(7, 0xF2).Byte(9, 0x31).Byte(11, 0x12).Byte(12, 0x34);
    builder.Byte(21, 9).Byte(25, 0x01).Byte(26, 0xF8).Byte(31, 250);
    builder.Byte(224, 0x00).Byte(225, 0x3C).Byte(226, 0).Byte(227, 25);
    builder.Byte(228, 1).Byte(229, 0xA0).Byte(230, 0x40).Byte(231, 2).Byte(232, 0x80);
    builder.Byte(385 + 8, 0xA5).Byte(386 + 8, 0x01).Byte(387 + 8, 0x2C);
    builder.Byte(390 + 8, 0x12).Byte(391 + 8, 0x34);
    builder.Name(kInstallationName, "Harbour View").Name(kUnitName, std::string(24, 'U'));
    builder.Name(kChannelNames, "Main Gate");
    builder.Name(kChannelNames + 24, "");
    builder.Name(kChannelNames + 48, "Garage").Byte(kChannelNames + 48, 0);
    builder.Name(kChannelNames + 72, "AB").Byte(kChannelNames + 72 + 3, 0);
    builder.Byte(352, '1').Byte(354, '2').Byte(359, '3');
    Load(builder);

    EXPECT_FALSE(image.GetAccOutButtonOffset());
    EXPECT_EQ(image.GetAccOutFormat(), 2);
    EXPECT_EQ(image.GetAccOutMode(), 1);
    EXPECT_EQ(image.GetSystemSiteCode(), 0x1234);
    EXPECT_EQ(image.GetMaximumTransactionEntries(), 504);
    EXPECT_EQ(image.GetDefaultButton(3), 9);
    EXPECT_EQ(image.GetCardFacilityCode(3), 250);
    EXPECT_EQ(image.GetMaximumDirectoryCodes(), 60);
    EXPECT_EQ(image.GetDirectoryEntriesWritten(), 25);
    EXPECT_EQ(image.GetDirectoryFirstRecord(), (UnitAddress{1, 0xA040}));
    EXPECT_EQ(image.GetDirectoryMiddleRecord(), (UnitAddress{2, 0x8000}));
    EXPECT_EQ(image.GetRelayOperation(1), 5);
    EXPECT_EQ(image.GetRelayTelephoneDigit(1), 10);
    EXPECT_EQ(image.GetRelayActivationTime(1), 300);
    EXPECT_EQ((std::vector<int>{image.GetRelayTimeZone(1, 0), image.GetRelayTimeZone(1, 1),
                                image.GetRelayTimeZone(1, 2), image.GetRelayTimeZone(1, 3)}),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(image.GetRelayOperation(0), 0);

    EXPECT_EQ(image.GetInstallationName(), "Harbour View");
    EXPECT_EQ(image.GetUnitName(), std::string(24, 'U'));
    EXPECT_EQ(image.GetChannelName(0), "Main Gate");
    EXPECT_EQ(image.GetChannelName(1), "");
    EXPECT_EQ(image.GetChannelName(2), " ");
    EXPECT_EQ(image.GetChannelName(3), "AB "); // shows up to the zero byte
    EXPECT_EQ(image.GetLocalPassword(), "123");
    EXPECT_EQ(image.GetRemotePassword(), "");
}

// Validation groups keep the unit's control group and buttons; door schedule bits are set for
// channels outside the schedule, and their high bits are written as zero.
TEST_F(SystemFieldsTest, ValidationGroupsAndDoorSchedulesKeepWhatIsNotTheirs) {
    ImageBuilder builder(0x70);
    const std::size_t group3 = kValidationGroups + 8 * 3;
    builder.Byte(group3, 7).Byte(group3 + 1, 1).Byte(group3 + 2, 2).Byte(group3 + 3, 3);
    builder.Byte(group3 + 4, 15).Byte(group3 + 5, 0xC5).Byte(group3 + 6, 0x12);
    builder.Byte(group3 + 7, 0x39);
    builder.Byte(kDoorSchedules + 1, 0x05).Byte(kDoorSchedules + 15, 0xF5);
    Load(builder);

    ValidationGroupTable table;
    image.GetValidationGroups(table);
    EXPECT_EQ(table.doorSchedule[2], 7);
    EXPECT_EQ(table.timeZone[0][2], 1);
    EXPECT_EQ(table.timeZone[3][2], 15);
    EXPECT_EQ(table.antiPassback[2], 1);
    EXPECT_EQ(table.antiPassback[0], 0);

    table.antiPassback[2] = 0;
    table.antiPassback[14] = 5;
    table.doorSchedule[2] = 9;
    image.SetValidationGroups(table);
    EXPECT_EQ(At(group3), 9);
    // The control group and bit 6 stay, and so do the buttons.
    EXPECT_EQ(Slice(image.GetSystemArea(), group3 + 5, 3), (Bytes{0x45, 0x12, 0x39}));
    EXPECT_EQ(At(kValidationGroups + 8 * 15 + 5), 0x80);
    EXPECT_EQ(At(kValidationGroups), 0) << "group 0 is not the table's";

    DoorScheduleTable doors;
    image.GetDoorSchedules(doors);
    EXPECT_EQ((std::vector<int>{doors.channel[0][0], doors.channel[1][0], doors.channel[2][0],
                                doors.channel[3][0]}),
              (std::vector<int>{0, 1, 0, 1}));
    image.SetDoorSchedules(doors);
    EXPECT_EQ(At(kDoorSchedules + 1), 0x05);
    EXPECT_EQ(At(kDoorSchedules + 15), 0x05) << "the high bits are written as zero";
    EXPECT_EQ(At(kDoorSchedules + 2), 0x00);
}

// Time zones write the day mask and the low bytes and keep the rest; holiday records are month,
// day and (for the expiring ones) year since 1990.
TEST_F(SystemFieldsTest, TimeZonesAndHolidays) {
    ImageBuilder builder(0x70);
    const std::size_t zone1 = kTimeZones + 20;
    builder.Byte(zone1, 0xAA).Byte(zone1 + 1, 0x41).Byte(zone1 + 2, 0xBB).Byte(zone1 + 3, 0xCC);
    builder.Byte(zone1 + 4, 7).Byte(zone1 + 5, 30).Byte(zone1 + 6, 18).Byte(zone1 + 7, 45);
    builder.Byte(zone1 + 19, 59);
    builder.Byte(kHolidays + 2 * 23, 12).Byte(kHolidays + 2 * 23 + 1, 25);
    Load(builder);

    TimeZoneTable table;
    image.GetTimeZones(table);
    EXPECT_EQ(table[0].dayExcluded, (std::array<int32_t, 8>{1, 0, 0, 0, 0, 0, 1, 0}));
    const TimeZone& zone = table[0];
    EXPECT_EQ((std::vector<int>{zone.startHour[0], zone.startMinute[0], zone.endHour[0],
                                zone.endMinute[0], zone.endMinute[3]}),
              (std::vector<int>{7, 30, 18, 45, 59}));

    std::fill(table[0].dayExcluded.begin(), table[0].dayExcluded.end(), 7);
    table[0].startHour[1] = 0x0112;
    image.SetTimeZones(table);
    EXPECT_EQ(Slice(image.GetSystemArea(), zone1, 4), (Bytes{0xAA, 0xFF, 0xBB, 0xCC}));
    EXPECT_EQ(At(zone1 + 8), 0x12);

    HolidayTable holidays;
    image.GetHolidays(holidays);
    EXPECT_EQ(holidays.month[23], 12);
    EXPECT_EQ(holidays.day[23], 25);
    holidays.month[0] = 7;
    holidays.day[0] = 4;
    image.SetHolidays(holidays);
    EXPECT_EQ(Slice(image.GetSystemArea(), kHolidays, 2), (Bytes{7, 4}));

    ExpiringHolidayTable expiring;
    image.GetExpiringHolidays(expiring);
    expiring.year[5] = 9;
    expiring.month[5] = 12;
    expiring.day[5] = 25;
    image.SetExpiringHolidays(expiring);
    EXPECT_EQ(Slice(image.GetSystemArea(), kExpiringHolidays + 15, 3), (Bytes{12, 25, 9}));
    ExpiringHolidayTable back;
    image.GetExpiringHolidays(back);
    EXPECT_EQ(back, expiring);
}

} // namespace
} // namespace tolvane
