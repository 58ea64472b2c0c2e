// The five reports of a small unit built here, and the system report of the demo unit, against
// texts kept in tests/data/reports. TOLVANE_UPDATE_GOLDEN=1 writes the texts instead of comparing;
// a written text is read line by line against the report layouts before it is kept.
#include "DemoImage.h"
#include "ImageBuilder.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "reports/SystemReport.h"
#include "support/ScriptedUserServices.h"

#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

namespace tolvane {
namespace {

using namespace layout;
using Id = std::array<uint8_t, 4>;

// A 64-page unit with a little of everything; the lists are packed by the image's own code.
std::vector<uint8_t> SmallUnit(UserServices& ui) {
    ImageBuilder builder(0x60);
    auto put = [&builder](std::size_t offset, std::initializer_list<int> bytes) {
        for (const int byte : bytes) {
            builder.Byte(offset++, static_cast<uint8_t>(byte));
        }
    };
    // Button offset, format, facility code, mode, transmitter facility code, site code 8000.
    put(kAccOutButtonOffset, {1, 2, 250, 0, 7, 0x1F, 0x40});
    // Default buttons, alarm cutoff time, maximum transactions 84, card facility codes.
    put(kDefaultButton, {4, 5, 6, 0, 120, 0, 0, 0, 84, 0, 1, 2, 3, 255});
    put(kLocalPassword, {'1', '2', 0, '4', 0, 0, 0, 0, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    // Per channel: relay byte, activation time, time zone slots.
    put(kRelay, {0x30, 0x00, 0x05, 0, 0, 0x12, 0x34, 0, 0xA5, 0xFF, 0xFF, 0, 0, 0xF0, 0x0F});
    put(kRelay + 16, {0x12, 0, 0, 0, 0, 0, 0, 0, 0x94, 0x04, 0xD2, 0, 0, 0x56, 0x78});
    builder.Name(kInstallationName, "Lakeside Court").Name(kUnitName, "East Gate");
    builder.Name(kChannelNames, "Front Gate").Name(kChannelNames + 48, "Xervice");
    builder.Name(kChannelNames + 24, "").Name(kChannelNames + 72, "Loading Dock");
    builder.Byte(kChannelNames + 48, 0); // shows as a single blank
    put(kValidationGroups + 8, {1, 1, 2, 0, 0, 0x85, 0x12, 0x39});
    put(kValidationGroups + 16, {2, 3, 0, 0, 0, 0xC5, 0x90, 0x00});
    put(kValidationGroups + 120, {15, 15, 15, 15, 15, 0x3F, 0xFF, 0x78});
    put(kDoorSchedules + 2, {0x05, 0x0F});
    put(kDoorSchedules + 15, {0x0A});
    put(kTimeZones + 20 + 1, {0x00, 0, 0, 7, 30, 18, 0});
    put(kTimeZones + 40 + 1, {0xFF});
    put(kTimeZones + 60 + 1, {0x41, 0, 0, 6, 0, 9, 0, 17, 0, 20, 30});
    builder.AddChain(kSingleTransmitterChain, 1);
    builder.AddDirectory(1, 21);
    builder.NamePageText(0, "  LAKESIDE COURT  ").NamePageText(1, "14 Shore Road");

    // Each kind worded its own way; type 13, power-up mode 9 and the empty slots give no line,
    // and the record of 2025 sorts after those of 2026.
    builder.AddEventLog(1);
    builder.AddEvent(3, {2026, 1, 5, 8, 0, 0}, Id{}, 0x00, 0);
    builder.AddEvent(4, {2026, 1, 5, 8, 15, 12}, Id{0x04, 0xD2, 0, 0}, 0x00, 0);
    builder.AddEvent(4, {2026, 2, 10, 17, 45, 40}, Id{0x12, 0x34, 0, 0}, 0x41, 4);
    builder.AddEvent(11, {2026, 2, 11, 9, 0, 0}, Id{0x00, 0x2A, 0, 0}, 0x80, 0);
    builder.AddEvent(11, {2026, 2, 11, 9, 30, 0}, Id{0x00, 0x07, 0, 0}, 0x00, 0);
    builder.AddEvent(9, {2026, 2, 11, 6, 0, 0}, Id{}, 0x01, 0x83);
    builder.AddEvent(14, {2025, 12, 31, 23, 59, 56}, Id{0x01, 0xF4, 0, 0}, 0x21, 0);
    builder.AddEvent(4, {2026, 1, 20, 12, 0, 8}, Id{0x01, 0x02, 0, 0}, 0x25, 0);
    builder.AddEvent(5, {2026, 1, 21, 7, 7, 4}, Id{}, 0x0E, 0);
    builder.AddEvent(4, {2026, 2, 1, 0, 0, 0}, Id{0x01, 0xF4, 0, 0}, 0x63, 0);
    builder.AddEvent(13, {2026, 2, 2, 0, 0, 0}, Id{}, 0x00, 0);
    builder.AddEvent(3, {2026, 2, 3, 0, 0, 0}, Id{}, 0x09, 0);

    MemoryModule image(ui);
    EXPECT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
    UnitConfiguration unit;
    image.Unpack(unit);
    unit.blockTransmitters.ranges = {{10, 20, 3}, {1000, 1499, 12}};
    unit.blockTransmitters.suspended = {15, 1200};
    unit.blockCards.ranges = {{500, 799, 4}};
    // Code, name, telephone digits and extended talk time of each tenant.
    for (const auto& [code, name, phone, talk] :
         {std::tuple<uint16_t, const char*, std::string, int>{42, "Baker", "5551234567", 1},
          {7, "adams", "1234567", 0},
          {1234, "Able", "15551234567", 0},
          {99, "Zed", "", 0}}) {
        unit.directory.Append(MakeDirectoryEntry(code, name, phone, talk != 0));
    }
    image.Pack(unit);
    return image.GetBytes();
}

void CheckGolden(const std::string& name, const std::string& text) {
    const std::string path = std::string(TOLVANE_TEST_DATA_DIR) + "/reports/" + name + ".txt";
    if (const char* update = std::getenv("TOLVANE_UPDATE_GOLDEN");
        update && update == std::string("1")) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(file << text) << "cannot write " << path;
        return;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file.good()) << path << " is missing; TOLVANE_UPDATE_GOLDEN=1 writes it";
    EXPECT_EQ(text, std::string(std::istreambuf_iterator<char>(file), {}))
        << "report differs from " << path;
}

TEST(GoldenReportTest, SmallUnitReportsAndDemoSystemReport) {
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.LoadBytes(SmallUnit(ui)), kLoadOk);
    EXPECT_TRUE(ui.Shown().empty());
    UnitConfiguration lists;
    image.Unpack(lists);
    const EventLogFilter everything;
    const std::string phone = SystemPhoneNumberText("1", "555", "0100200");
    const std::vector<std::pair<int, std::string>> reports{
        {kSystemReport, "small-system"},
        {kEventLogReport, "small-events"},
        {kBlockTransmitterReport, "small-block-transmitters"},
        {kBlockCardReport, "small-block-cards"},
        {kDirectoryReport, "small-directory"}};
    for (const auto& [kind, name] : reports) {
        SCOPED_TRACE(name);
        CheckGolden(name, BuildReport(kind, image, lists, everything, phone));
    }
    for (const int kind : {0, 6, -1}) {
        EXPECT_EQ(BuildReport(kind, image, lists, everything, phone), "") << kind;
    }

    ASSERT_EQ(image.LoadBytes(BuildDemoImage(ui)), kLoadOk);
    CheckGolden("demo-system",
                BuildSystemReport(image, SystemPhoneNumberText("1", "617", "5551200")));
}

} // namespace
} // namespace tolvane
