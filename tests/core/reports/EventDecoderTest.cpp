// Decoding transaction log records: the event text of every type and modifier, the channel and
// action, the device values the filter tests, the stamp as stored, and the printed line.
#include "ImageBuilder.h"
#include "config/DirectoryList.h"
#include "image/MemoryModule.h"
#include "reports/EventDecoder.h"
#include "reports/EventLine.h"
#include "reports/EventRecord.h"
#include "support/ScriptedUserServices.h"

#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>

namespace tolvane {
namespace {

using Id = std::array<uint8_t, 4>;
using Dt = std::array<uint8_t, 4>;

constexpr std::size_t kChannelNameField = 1752; // channel c at 1752 + 24c

// Channels A and B carry ordinary names, C fills its whole field and D starts with a zero byte.
class EventDecoderTest : public ::testing::Test {
protected:
    EventDecoderTest() {
        ImageBuilder builder(0x70);
        builder.Name(kChannelNameField, "Front Gate")
            .Name(kChannelNameField + 24, "Garage Door")
            .Name(kChannelNameField + 48, "Loading Dock East Side 3");
        EXPECT_EQ(image_.LoadBytes(builder.Bytes()), kLoadOk);
        for (const auto& [code, name] :
             {std::pair<uint16_t, const char*>{42, "Smith, J."}, {7, "Residence Manager Office"}}) {
            directory_.Append(MakeDirectoryEntry(code, name));
        }
    }

    // Decodes the twelve bytes of a slot as the log holds them.
    EventLine Decode(uint8_t type, uint8_t mod, uint8_t ctx = 0, Id id = {}, Dt dt = {}) {
        const uint8_t bytes[12] = {type,  dt[0], dt[1], dt[2], dt[3], id[0],
                                   id[1], id[2], id[3], mod,   ctx,   0xEE};
        return EventDecoder(image_, directory_).Decode(EventRecord::FromBytes(bytes));
    }

    ScriptedUserServices ui_;
    MemoryModule image_{ui_};
    DirectoryList directory_;
};

TEST_F(EventDecoderTest, EventTextOfEveryTypeAndModifier) {
    // Type, mod, ctx, id and the text; nullptr: the record prints no line. Texts the golden event
    // log and the event log report already pin appear here only where a type has no other row.
    const std::tuple<uint8_t, uint8_t, uint8_t, Id, const char*> cases[] = {
        {1, 0x00, 0, {}, "System Error"},
        {2, 0, 0, {}, "Obstacle Transmitter #1"},
        {2, 1, 0, {}, "Obstacle Transmitter #2"},
        {2, 2, 0, {}, "Obstacle Transmitter #1 Trouble"},
        {2, 3, 0, {}, "Obstacle Transmitter #2 Trouble"},
        {2, 4, 0, {}, "Obstacle Transmitter #1 Low Battery"},
        {2, 5, 0, {}, "Obstacle Transmitter #2 Low Battery"},
        {2, 8, 0, {}, "Obstacle Transmitter #1 Status Exception"},
        {2, 9, 0, {}, "Obstacle Transmitter #2 Status Exception"},
        {2, 6, 0, {}, "Obstacle Transmitter"},
        {3, 1, 0, {}, "Console Enter Programming Mode"},
        {3, 2, 0, {}, "Console Exit Programming Mode"},
        {3, 3, 0, {}, "Programming Mode Timed Out"},
        {3, 4, 0, {}, "Remote Access Programming Mode"},
        {3, 5, 0, {}, nullptr},
        {4, 0x10, 0, {1, 2}, "Access Grant"},
        {4, 0xF4, 0, {}, "Access Grant  Access Denied"},
        {5, 0x00, 0, {}, "Channel Locked Open, Activated at panel"},
        {5, 0x62, 0, {}, "Channel Locked Open, Priority Access"},
        {5, 0x77, 0, {}, "Channel Locked Closed, Activated by PC"},
        {5, 0x30, 0, {}, "Channel Locked Open, Manual"},
        {5, 0xFC, 0, {}, "Channel Locked Closed, Transmitter 15"},
        {6, 0x01, 0, {}, "Channel Unlocked Activated at panel"},
        {6, 0x6A, 0, {}, "Channel Unlocked Transmitter 6"},
        {7, 0x80, 0, {}, "Postal Lock Open"},
        {7, 0x00, 0, {}, "Request to exit"},
        {7, 0x70, 0, {}, "PC Command"},
        {7, 0x10, 0, {}, "Lock Open Request"},
        {8, 3, 0, {}, "System Error EEPROM Write Failure"},
        {8, 0x82, 0, {}, "System Error"},
        {9, 3, 0x0F, {}, "Time Zone 15"},
        {9, 1, 0x80, {}, nullptr},
        {10, 0x80, 0, {}, "Door Alarm Off"},
        {10, 0x7E, 0, {}, "Door Alarm On"},
        {11, 0x80, 0, {0x30, 0x39}, "Phone [12345] "},
        {12, 0x00, 0, {}, "Emergency Lock Open"},
        {14, 0x20, 0, {1, 2, 0xFF, 0xFF}, "Access denied, Transmitter [258]"},
        {14, 0x22, 0, {0x12, 0x34, 0x56, 0x78}, "Access denied, Entry Code [87654321]"},
        {14, 0x22, 0, {0xFF, 0xFF, 0xFF, 0xFF}, "Access denied, Entry Code [?]"},
        {14, 0x30, 0, {0, 5}, "Unknown Transmitter [5]"},
        {14, 0x31, 0, {0xFF, 0xFE}, "Unknown Card [65534]"},
        {14, 0x32, 0, {0x1F, 0x2F, 0xFF, 0xFF}, "Unknown Entry Code [21]"},
        {14, 0x23, 0, {1, 2}, ""},
        {15, 0x00, 0, {}, "Time Set"},
    };
    for (const auto& [type, mod, ctx, id, text] : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << int{type} << " mod " << int{mod} << " ctx " << int{ctx});
        const EventLine line = Decode(type, mod, ctx, id);
        EXPECT_EQ(line.producesLine, text != nullptr);
        if (text != nullptr) {
            EXPECT_EQ(line.eventText, text);
        }
    }
}

TEST_F(EventDecoderTest, OnlyTypesOneToFifteenExceptThirteenAreEvents) {
    for (int type = 0; type < 256; ++type) {
        // ctx 1 names a time zone, mod 0 is a known modifier for every type.
        const bool expected = type >= 1 && type <= 15 && type != 13;
        EXPECT_EQ(Decode(static_cast<uint8_t>(type), 0, 1).producesLine, expected) << type;
    }
}

TEST_F(EventDecoderTest, ChannelActionNameAndDevice) {
    using enum EventAction;
    struct Case {
        uint8_t type, mod, ctx;
        Id id;
        EventAction action;
        int channel;
        const char* name;
        int deviceType;
        int64_t deviceNumber;
    };
    const Case cases[] = {
        // A name starting with a zero byte shows as one blank.
        {4, 0x13, 0, {1, 2}, Open, 3, " ", kNoDevice, -1},
        {4, 0x24, 0, {1, 2}, Open, 0, "Front Gate", kBlockTransmitter, 258},
        {4, 0x61, 0, {0xFF, 0xFF}, Open, 1, "Garage Door", kBlockCard, 65535},
        {4, 0x02, 0, {1, 2}, Open, 2, "Loading Dock East Side 3", kSingleTransmitter, 258},
        {6, 0x6B, 0, {}, None, 3, " ", kNoDevice, -1},
        {7, 0x81, 0, {}, None, 1, "Garage Door", kNoDevice, -1},
        {9, 0x00, 0x05, {1, 2}, Open, 0, "Front Gate", kNoDevice, -1},
        {10, 0x82, 0, {}, None, 2, "Loading Dock East Side 3", kNoDevice, -1},
        {11, 0x00, 0, {0, 42}, None, -1, "", kNoDevice, 42},
        {11, 0x81, 0, {0, 42}, None, 1, "Garage Door", kNoDevice, 42},
        {12, 0x01, 0, {}, None, 0, "Front Gate", kNoDevice, -1},
        {12, 0x04, 0, {}, None, 2, "Loading Dock East Side 3", kNoDevice, -1},
        {12, 0xF2, 0, {}, None, 1, "Garage Door", kNoDevice, -1}, // the high bits do not count
        {12, 0x03, 0, {}, None, -1, "", kNoDevice, -1},
        {14, 0x20, 0, {1, 2}, None, -1, "", kNoDevice, -1},
        {1, 0x03, 0, {}, None, -1, "", kNoDevice, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int{c.type} << " mod " << int{c.mod});
        const EventLine line = Decode(c.type, c.mod, c.ctx, c.id);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.channel, c.channel);
        EXPECT_EQ(line.channelName, c.name);
        EXPECT_EQ(line.deviceType, c.deviceType);
        EXPECT_EQ(line.deviceNumber, c.deviceNumber);
    }
}

TEST_F(EventDecoderTest, EntryCodeDigitsOfAGrant) {
    const Id digits = {0x12, 0x34, 0x56, 0x78};
    // The count in ctx, the digits, and the code as printed and as a number.
    const std::tuple<uint8_t, Id, const char*, int64_t> cases[] = {
        {0x00, digits, "", 0},
        {0x01, digits, "1", 1},
        {0x05, digits, "54321", 54321},
        {0x08, digits, "87654321", 87654321},
        {0xF4, digits, "4321", 4321},         // only the low four bits count
        {0x09, digits, "87654321", 87654321}, // counts beyond eight stop at the eighth nibble
        {0x0F, digits, "87654321", 87654321},
        {0x04, {0x00, 0x10}, "0100", 100},
        {0x02, {0xA1}, "1:", 20}, // a nibble above 9 still counts by its value
    };
    for (const auto& [ctx, id, code, value] : cases) {
        const EventLine line = Decode(4, 0x40, ctx, id);
        EXPECT_EQ(line.eventText, std::string("Entry Code ") + code);
        EXPECT_EQ(line.deviceType, kEntryCodeDevice);
        EXPECT_EQ(line.deviceNumber, value);
    }
}

TEST_F(EventDecoderTest, StampFieldsAsStored) {
    const std::tuple<Dt, EventTime, const char*> cases[] = {
        {{0x09, 0x1A, 0x0F, 0x14}, {1999, 1, 20, 4, 1, 16}, "04:01:16 01/20/99  "},
        {{0x00, 0x10, 0x80, 0x00}, {1990, 1, 1, 0, 0, 0}, "00:00:00 01/01/90  "},
        {{0xFF, 0x10, 0x80, 0x00}, {2245, 1, 1, 0, 0, 0}, "00:00:00 01/01/45  "},
        // Not calendar dates: the fields print as they are, nothing rolls over.
        {{0x24, 0xD0, 0x5D, 0xCF}, {2026, 13, 0, 25, 0, 60}, "25:00:60 13/00/26  "},
        {{0x24, 0x2F, 0x00, 0x00}, {2026, 2, 30, 0, 0, 0}, "00:00:00 02/30/26  "},
    };
    for (const auto& [dt, time, printed] : cases) {
        const EventLine line = Decode(15, 0, 0, {}, dt);
        EXPECT_EQ(line.timestamp, time) << printed;
        EXPECT_EQ(FormatEventLine(line).substr(0, 19), printed);
    }
}

TEST_F(EventDecoderTest, PrintedLinesKeepTheirColumns) {
    const Dt dt = {0x09, 0x1A, 0x0F, 0x14};
    const std::string stamp = "04:01:16 01/20/99  ";
    EXPECT_EQ(FormatEventLine(Decode(9, 0x05, 0x01, {}, dt)),
              stamp + "Time Zone 1" + std::string(29, ' ') + "Open   Channel [F]  " +
                  std::string(23, ' ') + "\n");
    // Longer texts push the rest of the line right and are never cut.
    EXPECT_EQ(FormatEventLine(Decode(11, 0x00, 0, {0, 7}, dt)),
              stamp + "Phone [0007] Residence Manager Office [Dial in]" + std::string(1 + 43, ' ') +
                  "\n");
    EXPECT_EQ(FormatEventLine(Decode(6, 0x02, 0, {}, dt)),
              stamp + "Channel Unlocked Activated at panel     "
                      "       Channel [C]  Loading Dock East Side 3\n");
}

} // namespace
} // namespace tolvane
