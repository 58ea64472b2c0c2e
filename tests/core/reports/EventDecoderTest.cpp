// Decoding transaction log records: the event text of every type and modifier, the channel and
// action, the device values the filter tests, the stamp as stored, and the printed line.
#include "ImageBuilder.h"
#include "document/DirectoryList.h"
#include "image/MemoryModule.h"
#include "reports/EventDecoder.h"
#include "reports/EventLine.h"
#include "reports/EventRecord.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

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
        AddTenant(42, "Smith, J.");
        AddTenant(7, "Residence Manager Office");
    }

    void AddTenant(uint16_t code, const std::string& name) {
        auto entry = std::make_unique<DirectoryEntry>();
        entry->code = code;
        entry->name = name;
        directory_.Append(std::move(entry));
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

struct TextCase {
    uint8_t type;
    uint8_t mod;
    uint8_t ctx;
    Id id;
    const char* text; // nullptr: the record prints no line
};

TEST_F(EventDecoderTest, EventTextOfEveryTypeAndModifier) {
    const TextCase cases[] = {
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
        {3, 0, 0, {}, "System Power Up"},
        {3, 1, 0, {}, "Console Enter Programming Mode"},
        {3, 2, 0, {}, "Console Exit Programming Mode"},
        {3, 3, 0, {}, "Programming Mode Timed Out"},
        {3, 4, 0, {}, "Remote Access Programming Mode"},
        {3, 5, 0, {}, nullptr},
        {4, 0x00, 0, {1, 2}, "Single Transmitter 258"},
        {4, 0x0B, 0, {0xFF, 0xFF}, "Single Transmitter 65535"},
        {4, 0x21, 0, {1, 2}, "Block Transmitter 258"},
        {4, 0x25, 0, {1, 2}, "Block Transmitter 258  Access Denied"},
        {4, 0x62, 0, {0, 77}, "Block Card 77"},
        {4, 0x43, 4, {0x12, 0x34}, "Entry Code 4321"},
        {4, 0x47, 4, {0x12, 0x34}, "Entry Code 4321  Access Denied"},
        {4, 0x10, 0, {1, 2}, "Access Grant"},
        {4, 0xF4, 0, {}, "Access Grant  Access Denied"},
        {5, 0x00, 0, {}, "Channel Locked Open, Activated at panel"},
        {5, 0x05, 0, {}, "Channel Locked Closed, Activated at panel"},
        {5, 0x62, 0, {}, "Channel Locked Open, Priority Access"},
        {5, 0x77, 0, {}, "Channel Locked Closed, Activated by PC"},
        {5, 0x30, 0, {}, "Channel Locked Open, Manual"},
        {5, 0x08, 0, {}, "Channel Locked Open, Transmitter 0"},
        {5, 0x1B, 0, {}, "Channel Locked Open, Transmitter 1"},
        {5, 0xFC, 0, {}, "Channel Locked Closed, Transmitter 15"},
        {6, 0x01, 0, {}, "Channel Unlocked Activated at panel"},
        {6, 0x64, 0, {}, "Channel Unlocked Priority Access"},
        {6, 0x72, 0, {}, "Channel Unlocked Activated by PC"},
        {6, 0x53, 0, {}, "Channel Unlocked Manual"},
        {6, 0x6A, 0, {}, "Channel Unlocked Transmitter 6"},
        {7, 0x80, 0, {}, "Postal Lock Open"},
        {7, 0x00, 0, {}, "Request to exit"},
        {7, 0x0F, 0, {}, "Request to exit"},
        {7, 0x70, 0, {}, "PC Command"},
        {7, 0x10, 0, {}, "Lock Open Request"},
        {8, 2, 0, {}, "System Error Out of Memory"},
        {8, 3, 0, {}, "System Error EEPROM Write Failure"},
        {8, 0, 0, {}, "System Error"},
        {8, 0x82, 0, {}, "System Error"},
        {9, 1, 0x83, {}, "Time Zone 3"},
        {9, 3, 0x0F, {}, "Time Zone 15"},
        {9, 2, 0x7A, {}, "Time Zone 10"},
        {9, 1, 0x00, {}, nullptr},
        {9, 1, 0x80, {}, nullptr},
        {10, 0x80, 0, {}, "Door Alarm Off"},
        {10, 0x00, 0, {}, "Door Alarm On"},
        {10, 0x7E, 0, {}, "Door Alarm On"},
        {11, 0x00, 0, {0, 42}, "Phone [0042] Smith, J. [Dial in]"},
        {11, 0x7F, 0, {0, 42}, "Phone [0042] Smith, J. [Dial in]"},
        {11, 0x81, 0, {0, 42}, "Phone [0042] Smith, J."},
        {11, 0x00, 0, {0, 99}, "Phone [0099]  [Dial in]"},
        {11, 0x80, 0, {0x30, 0x39}, "Phone [12345] "},
        {12, 0x00, 0, {}, "Emergency Lock Open"},
        {14, 0x20, 0, {1, 2, 0xFF, 0xFF}, "Access denied, Transmitter [258]"},
        {14, 0x21, 0, {0xFF, 0xFE}, "Access denied, Card [65534]"},
        {14, 0x22, 0, {0x12, 0x34, 0x56, 0x78}, "Access denied, Entry Code [87654321]"},
        {14, 0x22, 0, {0xFF, 0xFF, 0xFF, 0xFF}, "Access denied, Entry Code [?]"},
        {14, 0x30, 0, {0, 5}, "Unknown Transmitter [5]"},
        {14, 0x31, 0, {1, 2}, "Unknown Card [258]"},
        {14, 0x32, 0, {0x12, 0x3F, 0xFF, 0xFF}, "Unknown Entry Code [321]"},
        {14, 0x32, 0, {0x1F, 0x2F, 0xFF, 0xFF}, "Unknown Entry Code [21]"},
        {14, 0x23, 0, {1, 2}, ""},
        {15, 0x00, 0, {}, "Time Set"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << int{c.type} << " mod " << int{c.mod} << " ctx " << int{c.ctx});
        const EventLine line = Decode(c.type, c.mod, c.ctx, c.id);
        EXPECT_EQ(line.producesLine, c.text != nullptr);
        if (c.text != nullptr) {
            EXPECT_EQ(line.eventText, c.text);
        }
    }
}

TEST_F(EventDecoderTest, OnlyTypesOneToFifteenExceptThirteenAreEvents) {
    for (int type = 0; type < 256; ++type) {
        // ctx 1 names a time zone, mod 0 is a known modifier for every type.
        const bool expected = type >= 1 && type <= 15 && type != 13;
        EXPECT_EQ(Decode(static_cast<uint8_t>(type), 0, 1).producesLine, expected) << type;
    }
    EXPECT_FALSE(Decode(0, 0, 0, {}, {}).producesLine); // an all-zero slot
}

struct ChannelCase {
    uint8_t type;
    uint8_t mod;
    uint8_t ctx;
    EventAction action;
    int channel;
    const char* name;
};

TEST_F(EventDecoderTest, ChannelActionAndChannelName) {
    using enum EventAction;
    const ChannelCase cases[] = {
        {4, 0x25, 0, Open, 1, "Garage Door"},
        {4, 0x00, 0, Open, 0, "Front Gate"},
        {4, 0x13, 0, Open, 3, " "}, // a name starting with a zero byte shows as one blank
        {5, 0x05, 0, None, 1, "Garage Door"},
        {6, 0x6B, 0, None, 3, " "},
        {7, 0x81, 0, None, 1, "Garage Door"},
        {9, 0x01, 0x83, Close, 1, "Garage Door"},
        {9, 0x00, 0x05, Open, 0, "Front Gate"},
        {9, 0x03, 0x8F, Close, 3, " "},
        {9, 0x05, 0x01, Open, 5, ""}, // the whole mod byte, beyond the four channels
        {10, 0x82, 0, None, 2, "Loading Dock East Side 3"},
        {11, 0x81, 0, None, 1, "Garage Door"},
        {11, 0x00, 0, None, -1, ""},
        {11, 0x7F, 0, None, -1, ""},
        {12, 0x01, 0, None, 0, "Front Gate"},
        {12, 0x02, 0, None, 1, "Garage Door"},
        {12, 0x04, 0, None, 2, "Loading Dock East Side 3"},
        {12, 0x08, 0, None, 3, " "},
        {12, 0xF2, 0, None, 1, "Garage Door"},
        {12, 0x18, 0, None, 3, " "},
        {12, 0x00, 0, None, -1, ""},
        {12, 0x03, 0, None, -1, ""},
        {12, 0x10, 0, None, -1, ""},
        {1, 0x03, 0, None, -1, ""},
        {14, 0x20, 0, None, -1, ""},
        {15, 0x03, 0, None, -1, ""},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int{c.type} << " mod " << int{c.mod});
        const EventLine line = Decode(c.type, c.mod, c.ctx);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.channel, c.channel);
        EXPECT_EQ(line.channelName, c.name);
    }
}

TEST_F(EventDecoderTest, DeviceTypeAndNumber) {
    struct Case {
        uint8_t type, mod, ctx;
        Id id;
        int deviceType;
        int64_t deviceNumber;
    };
    const Case cases[] = {
        {4, 0x00, 0, {1, 2}, kSingleTransmitter, 258},
        {4, 0x24, 0, {1, 2}, kBlockTransmitter, 258},
        {4, 0x61, 0, {0xFF, 0xFF}, kBlockCard, 65535},
        {4, 0x43, 4, {0x12, 0x34}, kEntryCodeDevice, 4321},
        {4, 0x10, 0, {1, 2}, kNoDevice, -1},
        {11, 0x00, 0, {0, 42}, kNoDevice, 42},
        {11, 0x80, 0, {0x30, 0x39}, kNoDevice, 12345},
        {14, 0x20, 0, {1, 2}, kNoDevice, -1},
        {9, 0x01, 0x83, {1, 2}, kNoDevice, -1},
        {15, 0x00, 0, {1, 2}, kNoDevice, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int{c.type} << " mod " << int{c.mod});
        const EventLine line = Decode(c.type, c.mod, c.ctx, c.id);
        EXPECT_EQ(line.deviceType, c.deviceType);
        EXPECT_EQ(line.deviceNumber, c.deviceNumber);
    }
}

TEST_F(EventDecoderTest, EntryCodeDigitsOfAGrant) {
    struct Case {
        uint8_t ctx;
        Id id;
        const char* code;
        int64_t value;
    };
    const Id digits = {0x12, 0x34, 0x56, 0x78};
    const Case cases[] = {
        {0x00, digits, "", 0},
        {0x01, digits, "1", 1},
        {0x02, digits, "21", 21},
        {0x05, digits, "54321", 54321},
        {0x08, digits, "87654321", 87654321},
        {0xF4, digits, "4321", 4321},         // only the low four bits count
        {0x09, digits, "87654321", 87654321}, // counts beyond eight stop at the eighth nibble
        {0x0F, digits, "87654321", 87654321},
        {0x04, {0x00, 0x10}, "0100", 100},
        {0x02, {0xA1}, "1:", 20}, // a nibble above 9 still counts by its value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ctx " << int{c.ctx});
        const EventLine line = Decode(4, 0x40, c.ctx, c.id);
        EXPECT_EQ(line.eventText, std::string("Entry Code ") + c.code);
        EXPECT_EQ(line.deviceNumber, c.value);
    }
}

TEST_F(EventDecoderTest, StampFieldsAsStored) {
    struct Case {
        Dt dt;
        EventTime time;
        const char* printed;
    };
    const Case cases[] = {
        {{0x09, 0x1A, 0x0F, 0x14}, {1999, 1, 20, 4, 1, 16}, "04:01:16 01/20/99  "},
        {{0x09, 0xCF, 0xD9, 0xFE}, {1999, 12, 31, 23, 59, 56}, "23:59:56 12/31/99  "},
        {{0x00, 0x10, 0x80, 0x00}, {1990, 1, 1, 0, 0, 0}, "00:00:00 01/01/90  "},
        {{0x0A, 0x10, 0x80, 0x00}, {2000, 1, 1, 0, 0, 0}, "00:00:00 01/01/00  "},
        {{0xFF, 0x10, 0x80, 0x00}, {2245, 1, 1, 0, 0, 0}, "00:00:00 01/01/45  "},
        // Not calendar dates: the fields print as they are, nothing rolls over.
        {{0x24, 0xD0, 0x5D, 0xCF}, {2026, 13, 0, 25, 0, 60}, "25:00:60 13/00/26  "},
        {{0x24, 0x2F, 0x00, 0x00}, {2026, 2, 30, 0, 0, 0}, "00:00:00 02/30/26  "},
    };
    for (const Case& c : cases) {
        const EventLine line = Decode(15, 0, 0, {}, c.dt);
        EXPECT_EQ(line.timestamp, c.time) << c.printed;
        EXPECT_EQ(FormatEventLine(line).substr(0, 19), c.printed);
    }
}

TEST_F(EventDecoderTest, PrintedLinesKeepTheirColumns) {
    const Dt dt = {0x09, 0x1A, 0x0F, 0x14};
    const std::string stamp = "04:01:16 01/20/99  ";
    // No channel: the action column is 43 blanks.
    EXPECT_EQ(FormatEventLine(Decode(15, 0, 0, {}, dt)),
              stamp + "Time Set" + std::string(31 + 1 + 43, ' ') + "\n");
    EXPECT_EQ(FormatEventLine(Decode(4, 0x25, 0, {1, 2}, dt)),
              stamp + "Block Transmitter 258  Access Denied    Open   Channel [B]  Garage Door" +
                  std::string(12, ' ') + "\n");
    EXPECT_EQ(FormatEventLine(Decode(9, 0x01, 0x83, {}, dt)),
              stamp + "Time Zone 3" + std::string(29, ' ') + "Close  Channel [B]  Garage Door" +
                  std::string(12, ' ') + "\n");
    EXPECT_EQ(FormatEventLine(Decode(9, 0x05, 0x01, {}, dt)),
              stamp + "Time Zone 1" + std::string(29, ' ') + "Open   Channel [F]  " +
                  std::string(23, ' ') + "\n");
    EXPECT_EQ(FormatEventLine(Decode(12, 0x08, 0, {}, dt)),
              stamp + "Emergency Lock Open" + std::string(21, ' ') + "       Channel [D]   " +
                  std::string(22, ' ') + "\n");
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
