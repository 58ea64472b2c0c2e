// The event log report: reading the log chain, the title and columns, newest-first order across
// pages and year ends, and the filter's date, channel, name and device tests.
#include "ImageBuilder.h"
#include "config/DirectoryList.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/EventLogReport.h"
#include "reports/EventRecord.h"
#include "support/ScriptedUserServices.h"

#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Id = std::array<uint8_t, 4>;
using Lines = std::vector<std::string>;

constexpr std::size_t kChainTableEntry15 = 160 + 4 * 15;
constexpr std::size_t kChannelNameField = 1752;

const std::string kHead = "Event Log Report\n\n"
                          "Time     Date      Event" +
                          std::string(42, ' ') + "Action Gate\n" + std::string(96, '-');

class EventLogReportTest : public ::testing::Test {
protected:
    EventLogReportTest() { builder_.Name(kChannelNameField + 24, "Garage Door"); }

    void Add(uint8_t type, const EventTime& stamp, uint8_t mod = 0, uint8_t ctx = 0, Id id = {}) {
        builder_.AddEvent(type, stamp, id, mod, ctx);
    }

    std::string Report() {
        ScriptedUserServices ui;
        MemoryModule image(ui);
        EXPECT_EQ(image.LoadBytes(builder_.Bytes()), kLoadOk);
        return BuildEventLogReport(image, filter_, directory_);
    }

    // The printed records, each cut to its stamp and event text.
    Lines Events() {
        const std::string report = Report();
        EXPECT_TRUE(report.starts_with(kHead));
        Lines lines;
        std::size_t start = kHead.size();
        for (std::size_t end; (end = report.find('\n', start)) != std::string::npos;
             start = end + 1) {
            std::string line = report.substr(start, std::min<std::size_t>(end - start, 58));
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line);
        }
        EXPECT_EQ(start, report.size()) << "every event line ends in a line end";
        return lines;
    }

    ImageBuilder builder_{0x70};
    DirectoryList directory_;
    EventLogFilter filter_; // every test off
};

TEST_F(EventLogReportTest, NoLogChainGivesNothingAndEmptySlotsTheUnendedHeader) {
    EXPECT_EQ(Report(), "");
    builder_.AddEventLog(1);
    EXPECT_EQ(Report(), kHead);
}

TEST_F(EventLogReportTest, NewestFirstByYearThenTimeAndEqualStampsInStorageOrder) {
    builder_.AddEventLog(1);
    Add(15, {2026, 3, 14, 9, 0, 0});
    Add(1, {2026, 3, 14, 9, 0, 4});
    Add(15, {2026, 11, 2, 0, 0, 0});
    Add(15, {1999, 3, 10, 8, 0, 0});
    Add(15, {2000, 2, 1, 8, 0, 0});
    Add(1, {1999, 12, 31, 23, 59, 56});
    Add(1, {2000, 1, 1, 0, 0, 0});
    Add(15, {1995, 12, 31, 8, 0, 0});
    Add(15, {2020, 5, 1, 12, 0, 0});
    Add(8, {2020, 5, 1, 12, 0, 0}, 2);
    Add(0, {2020, 5, 1, 12, 0, 4}); // an empty-typed slot takes part in the order, unprinted
    Add(3, {2020, 5, 1, 12, 0, 0}, 0);
    // Across a year end the January record comes first; over more than twelve months the years
    // still decide before the month.
    EXPECT_EQ(Events(), (Lines{"00:00:00 11/02/26  Time Set", "09:00:04 03/14/26  System Error",
                               "09:00:00 03/14/26  Time Set", "12:00:00 05/01/20  Time Set",
                               "12:00:00 05/01/20  System Error Out of Memory",
                               "12:00:00 05/01/20  System Power Up", "08:00:00 02/01/00  Time Set",
                               "00:00:00 01/01/00  System Error", "23:59:56 12/31/99  System Error",
                               "08:00:00 03/10/99  Time Set", "08:00:00 12/31/95  Time Set"}));
}

TEST_F(EventLogReportTest, RecordsOfEveryPageAndSlotInChainOrder) {
    // The chain relinked as pages 1, 0, so that chain order differs from page order.
    const std::vector<int> pages = builder_.AddEventLog(2);
    auto link = [](std::span<uint8_t> bytes, int to) {
        bytes[0] = static_cast<uint8_t>(to < 0 ? 0 : 0x80 | (to + 2) / 32);
        bytes[1] = static_cast<uint8_t>(to < 0 ? 0 : (to + 2) % 32);
    };
    link(builder_.SystemArea().subspan(kChainTableEntry15), pages[1]);
    link(builder_.Page(pages[1]), pages[0]);
    link(builder_.Page(pages[0]), -1);
    auto put = [this](int page, int slot, uint8_t type, const EventTime& stamp) {
        const auto record = ImageBuilder::EncodeEvent(type, stamp, Id{}, 0, 0);
        std::copy(record.begin(), record.end(), builder_.Page(page).begin() + 8 + 12 * slot);
    };
    put(pages[0], 83, 15, {2026, 7, 4, 10, 30, 0});
    put(pages[1], 0, 1, {2026, 7, 4, 10, 30, 0});
    put(pages[0], 50, 12, {2026, 7, 4, 10, 30, 4});
    // Bytes outside the 84 slots are not records.
    const std::array<uint8_t, 8> tail = {15, 36, 0x17, 0x29, 0xE0, 0, 0, 0};
    std::copy(tail.begin(), tail.end(), builder_.Page(pages[0]).begin() + 1016);
    std::fill_n(builder_.Page(pages[1]).begin() + 2, 6, 0x0F);
    EXPECT_EQ(Events(), (Lines{"10:30:04 07/04/26  Emergency Lock Open",
                               "10:30:00 07/04/26  System Error", "10:30:00 07/04/26  Time Set"}));
}

TEST(EventLogFilterTest, ResetIsTheDayUpToNowWithEveryTestOff) {
    // Now, then the begin and end it gives; the day before is counted across year and leap days.
    const std::array<EventTime, 3> cases[] = {
        {{{2026, 1, 1, 0, 30, 59}, {2025, 12, 31, 0, 30, 0}, {2026, 1, 1, 0, 30, 0}}},
        {{{2024, 3, 1, 23, 59, 0}, {2024, 2, 29, 23, 59, 0}, {2024, 3, 1, 23, 59, 0}}},
        {{{2023, 3, 1, 6, 0, 12}, {2023, 2, 28, 6, 0, 0}, {2023, 3, 1, 6, 0, 0}}},
    };
    for (const auto& [now, begin, end] : cases) {
        EventLogFilter filter{true,    true,       true, true, {}, {}, {true, false, true, false},
                              "Smith", kBlockCard, 77};
        filter.Reset(now);
        EventLogFilter expected;
        expected.begin = begin;
        expected.end = end;
        EXPECT_EQ(filter, expected);
    }
}

TEST(EventLogFilterTest, DamagedStampsCompareFieldByField) {
    // A stamp, the last end that leaves it out and the first that takes it in: month 13 is later
    // than any December of its year, hour 25 lies between day 15 and day 16.
    const std::array<EventTime, 3> cases[] = {
        {{{2026, 13, 1, 0, 0, 0}, {2026, 12, 31, 23, 59, 0}, {2027, 1, 1, 0, 0, 0}}},
        {{{2026, 3, 15, 25, 0, 60}, {2026, 3, 15, 23, 59, 0}, {2026, 3, 16, 0, 0, 0}}},
    };
    for (const auto& [stamp, before, after] : cases) {
        EventLogFilter filter;
        filter.selectByDate = true;
        EventLine line;
        line.timestamp = stamp;
        filter.end = before;
        EXPECT_FALSE(filter.Passes(line));
        filter.end = after;
        EXPECT_TRUE(filter.Passes(line));
    }
}

TEST_F(EventLogReportTest, ChannelTestKeepsTheRecordsOfAnyCheckedChannel) {
    builder_.AddEventLog(1);
    for (uint8_t c = 0; c < 4; ++c) {
        Add(10, {2026, 4, 1, 12, 0, 4 * c}, c);
    }
    Add(15, {2026, 4, 1, 11, 0, 0});
    Add(9, {2026, 4, 1, 10, 0, 0}, 5, 0x01); // channel index 5
    filter_.channels = {false, true, false, false};
    EXPECT_EQ(Events().size(), 6u) << "the test is off";
    filter_.selectByChannel = true;
    filter_.channels = {};
    EXPECT_EQ(Events().size(), 6u) << "no box checked";
    filter_.channels = {true, false, false, true};
    EXPECT_EQ(Events(),
              (Lines{"12:00:12 04/01/26  Door Alarm On", "12:00:00 04/01/26  Door Alarm On"}));
}

TEST_F(EventLogReportTest, NameTestLooksInTheTenantOfACall) {
    directory_.Append(MakeDirectoryEntry(42, "Smith, J."));
    builder_.AddEventLog(1);
    Add(11, {2026, 6, 1, 9, 0, 0}, 0x80, 0, {0, 42});
    Add(11, {2026, 6, 1, 8, 0, 0}, 0x00, 0, {0, 42});
    Add(11, {2026, 6, 1, 7, 0, 0}, 0x00, 0, {0, 99});
    Add(15, {2026, 6, 1, 6, 0, 0});
    const Lines all = {"09:00:00 06/01/26  Phone [0042] Smith, J.",
                       "08:00:00 06/01/26  Phone [0042] Smith, J. [Dial in]",
                       "07:00:00 06/01/26  Phone [0099]  [Dial in]", "06:00:00 06/01/26  Time Set"};
    filter_.name = "H, j";
    EXPECT_EQ(Events(), all) << "the test is off";
    filter_.selectByName = true;
    EXPECT_EQ(Events(), (Lines{all[0], all[1]}));
    filter_.name = "Phone"; // the event text is not the name
    EXPECT_EQ(Events(), Lines{});
    filter_.name = "";
    EXPECT_EQ(Events(), all);
}

TEST_F(EventLogReportTest, DeviceTestKeepsOnlyMatchingGrants) {
    builder_.AddEventLog(1);
    Add(4, {2026, 8, 1, 9, 0, 0}, 0x00, 0, {0x04, 0xD2}); // single transmitter 1234
    Add(4, {2026, 8, 1, 8, 0, 0}, 0x21, 0, {0x04, 0xD2}); // block transmitter 1234
    Add(4, {2026, 8, 1, 6, 0, 0}, 0x43, 4, {0x43, 0x21});
    Add(4, {2026, 8, 1, 5, 0, 0}, 0x47, 8, {0x12, 0x34, 0x56, 0x78});
    Add(4, {2026, 8, 1, 4, 0, 0}, 0x10, 0, {0x04, 0xD2});
    Add(14, {2026, 8, 1, 3, 0, 0}, 0x22, 0, {0x43, 0x21, 0xFF, 0xFF});
    Add(11, {2026, 8, 1, 2, 0, 0}, 0x80, 0, {0x04, 0xD2});
    filter_.selectByDeviceType = true;
    filter_.deviceType = kEntryCodeDevice;
    filter_.code = 1234;
    EXPECT_EQ(Events(), (Lines{"06:00:00 08/01/26  Entry Code 1234"}));
    filter_.code = 0; // any code
    EXPECT_EQ(Events(), (Lines{"06:00:00 08/01/26  Entry Code 1234",
                               "05:00:00 08/01/26  Entry Code 87654321  Access Denied"}));
    filter_.deviceType = kBlockTransmitter;
    filter_.code = 1234;
    EXPECT_EQ(Events(), (Lines{"08:00:00 08/01/26  Block Transmitter 1234"}));
    filter_.deviceType = kSingleTransmitter;
    filter_.code = 1235;
    EXPECT_EQ(Events(), Lines{});
}

TEST_F(EventLogReportTest, EveryActiveTestMustPassAndTheDateRangeHoldsBothEnds) {
    builder_.AddEventLog(1);
    Add(4, {2026, 9, 2, 8, 30, 4}, 0x61, 0, {0, 77});  // past the end
    Add(4, {2026, 9, 2, 8, 30, 0}, 0x61, 0, {0, 77});  // kept: the end, its seconds cut
    Add(4, {2026, 9, 2, 8, 1, 0}, 0x60, 0, {0, 77});   // channel A
    Add(4, {2026, 9, 2, 8, 2, 0}, 0x21, 0, {0, 77});   // block transmitter
    Add(4, {2026, 9, 2, 8, 3, 0}, 0x61, 0, {0, 78});   // another card
    Add(4, {2026, 9, 1, 8, 30, 0}, 0x61, 0, {0, 77});  // kept: the begin, a day earlier
    Add(4, {2026, 9, 1, 8, 29, 56}, 0x61, 0, {0, 77}); // before the range
    filter_.Reset({2026, 9, 2, 8, 30, 31});
    filter_.selectByDate = filter_.selectByChannel = filter_.selectByDeviceType = true;
    filter_.channels = {false, true, false, false};
    filter_.deviceType = kBlockCard;
    filter_.code = 77;
    const std::string rest =
        std::string(27, ' ') + "Open   Channel [B]  Garage Door" + std::string(12, ' ') + "\n";
    EXPECT_EQ(Report(), kHead + "08:30:00 09/02/26  Block Card 77" + rest +
                            "08:30:00 09/01/26  Block Card 77" + rest);
}

} // namespace
} // namespace tolvane
