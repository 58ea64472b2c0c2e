// The system report against lines written out by hand: every value name, the memory figures of
// each module size, passwords, relays, validation groups, time zones, door schedules, channel
// names, the title lines from the name page and the installation's telephone number.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "reports/SystemReport.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace tolvane {
namespace {

using namespace layout;

class SystemReportTest : public ::testing::Test {
protected:
    std::string Report(const std::string& phone = "") {
        MemoryModule image(ui);
        EXPECT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
        report = BuildSystemReport(image, phone);
        return report;
    }

    // Bytes of the system area from offset on.
    void Put(std::size_t offset, std::initializer_list<int> bytes) {
        for (const int byte : bytes) {
            builder.Byte(offset++, static_cast<uint8_t>(byte));
        }
    }

    // The lines of the last report, each with its line end.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(report);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line + "\n");
        }
        return lines;
    }

    // The occurrence-th line of the last report that starts with start.
    std::string Line(const std::string& start, int occurrence = 0) const {
        for (const std::string& line : Lines()) {
            if (line.rfind(start, 0) == 0 && occurrence-- == 0) {
                return line;
            }
        }
        return "<no line starting with \"" + start + "\">";
    }

    ScriptedUserServices ui;
    ImageBuilder builder{0x70};
    std::string report;
};

TEST_F(SystemReportTest, ButtonPositionNamesWithNoneForEveryOtherCode) {
    const std::vector<std::pair<int, std::string>> cases{
        {0, "None"},         {1, "Any"},        {2, "Left"},        {3, "Right"},
        {4, "Top"},          {5, "Top & Left"}, {6, "Top & Right"}, {7, "Bottom Left"},
        {8, "Bottom Right"}, {9, "Keypad"},     {10, "None"},       {11, "None"},
        {12, "None"},        {13, "None"},      {14, "None"},       {15, "None"},
        {0x19, "None"},      {0xFF, "None"}};
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        builder = ImageBuilder(0x70);
        Put(kDefaultButton, {code, code, code, code});
        const int nibbles = (code & 0x0F) << 4 | (code & 0x0F);
        Put(kValidationGroups + 8 * 7 + 6, {nibbles, nibbles});
        Report();
        const std::vector<std::string> lines = Lines();
        ASSERT_GT(lines.size(), 21u);
        for (std::size_t c = 0; c < 4; ++c) {
            const std::string& line = lines[17 + c];
            EXPECT_EQ(line.substr(line.find("Default Button")),
                      std::string("Default Button Channel [") + static_cast<char>('A' + c) +
                          "]: " + name + "\n");
        }
        if (code < 16) {
            const std::string column = name + std::string(16 - name.size(), ' ') + " ";
            EXPECT_EQ(Line(" VG[07]", 1),
                      " VG[07]       " + column + column + column + column + "\n");
        }
    }
}

TEST_F(SystemReportTest, AccessOutputLines) {
    // Format, facility code, mode, button offset, default button. Only the low nibble of format
    // and mode and bit 0 of the offset count.
    const std::vector<std::pair<std::array<int, 5>, std::vector<std::string>>> cases{
        {{0x03, 0, 0x0F, 0xFE, 0},
         {"            AccOut Format: OFF          Default Button Channel [A]: None\n",
          "     AccOut Facility Code: 00000        Default Button Channel [B]: None\n",
          "              AccOut Mode: Validation   Default Button Channel [C]: None\n",
          "     AccOut Button Offset: NO           Default Button Channel [D]: None\n"}},
        {{0x11, 255, 0xF1, 0x03, 1},
         {"            AccOut Format: Wiegand 26   Default Button Channel [A]: Any\n",
          "     AccOut Facility Code: 00255        Default Button Channel [B]: Any\n",
          "              AccOut Mode: Transmitter Id Default Button Channel [C]: Any\n",
          "     AccOut Button Offset: YES          Default Button Channel [D]: Any\n"}},
        {{0xF2, 42, 0x02, 0x00, 9},
         {"            AccOut Format: Varko 30     Default Button Channel [A]: Keypad\n",
          "     AccOut Facility Code: 00042        Default Button Channel [B]: Keypad\n",
          "              AccOut Mode: Sequence Id  Default Button Channel [C]: Keypad\n",
          "     AccOut Button Offset: NO           Default Button Channel [D]: Keypad\n"}},
    };
    for (const auto& [v, expected] : cases) {
        SCOPED_TRACE(v[0]);
        builder = ImageBuilder(0x70);
        Put(kAccOutFormat, {v[0], v[1], v[2]});
        Put(kAccOutButtonOffset, {v[3]});
        Put(kDefaultButton, {v[4], v[4], v[4], v[4]});
        Report();
        const std::vector<std::string> lines = Lines();
        ASSERT_GT(lines.size(), 21u);
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 16, lines.begin() + 22),
                  (std::vector<std::string>{"\n", expected[0], expected[1], expected[2],
                                            expected[3], "\n"}));
    }
}

TEST_F(SystemReportTest, RelayOperationsAndTelephoneDigitsForAllSixteenCodes) {
    // Image k puts codes 4k to 4k + 3 into channels A to D, as operation and as digit.
    const std::vector<std::pair<std::string, std::string>> expected{
        {"        Operation:   Control      Shunt        Alarm        Obstacle    \n",
         "  Telephone Digit:   None         1            2            3           \n"},
        {"        Operation:   CCTV         None         None         None        \n",
         "  Telephone Digit:   4            5            6            7           \n"},
        {"        Operation:   None         None         None         None        \n",
         "  Telephone Digit:   8            9            0            None        \n"},
        {"        Operation:   None         None         None         None        \n",
         "  Telephone Digit:   None         None         None         None        \n"},
    };
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(k);
        builder = ImageBuilder(0x70);
        for (std::size_t c = 0; c < 4; ++c) {
            const auto code = static_cast<uint8_t>(4 * k + c);
            builder.Byte(kRelay + kRelayStride * c, static_cast<uint8_t>(code << 4 | code));
        }
        Report();
        EXPECT_EQ(Line("        Operation:"), expected[k].first);
        EXPECT_EQ(Line("  Telephone Digit:"), expected[k].second);
    }
}

TEST_F(SystemReportTest, RelayBlockWithTimesZonesAndChannelNames) {
    // Per channel: relay byte, activation time (high byte first), two bytes of time zone slots.
    Put(kRelay, {0x30, 0x00, 0x05, 0, 0, 0x12, 0x34, 0});
    Put(kRelay + 8, {0xA5, 0xFF, 0xFF, 0, 0, 0xF0, 0x0F, 0});
    Put(kRelay + 16, {0x12, 0x00, 0x00, 0, 0, 0x00, 0x00, 0});
    Put(kRelay + 24, {0x94, 0x04, 0xD2, 0, 0, 0x56, 0x78, 0});
    builder.Name(kChannelNames, "Front Gate").Name(kChannelNames + 24, "");
    // A name whose first byte is zero still shows as there: one blank.
    builder.Name(kChannelNames + 48, "Xate").Byte(kChannelNames + 48, 0);
    builder.Name(kChannelNames + 72, "ABCDEFGHIJKLMNOPQRSTUVWX");
    Report();

    const std::vector<std::string> lines = Lines();
    ASSERT_GT(lines.size(), 34u);
    const std::vector<std::string> expected{
        "\n",
        "Relays:            Channel [A]  Channel [B]  Channel [C]  Channel [D]\n",
        "        Operation:   Control      None         Alarm        CCTV        \n",
        "  Activation Time:   00005        65535        00000        01234\n",
        "     Time Zone[1]:   01           15           00           05\n",
        "     Time Zone[2]:   02           00           00           06\n",
        "     Time Zone[3]:   03           00           00           07\n",
        "     Time Zone[4]:   04           15           00           08\n",
        "  Telephone Digit:   3            0            1            9           \n",
        "Channel [A] Name :   Front Gate\n",
        "Channel [B] Name :   \n",
        "Channel [C] Name :    \n",
        "Channel [D] Name :   ABCDEFGHIJKLMNOPQRSTUVWX\n",
        "\n",
        "Val Group   Door Schd              Time Zone               Anti Psbk   Cntrl Grp\n"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 21, lines.begin() + 36), expected);
}

TEST_F(SystemReportTest, MemoryFiguresCodesAndPasswords) {
    builder = ImageBuilder(0x60);
    Put(kTransmitterFacilityCode, {7, 0x1F, 0x40});
    Put(kAlarmCutoffTime, {120, 0, 0, 0xFF, 0xFF, 0, 1, 2, 3, 255});
    Put(kChainTable + 2, {3, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 7});
    Put(kChainTable + 26, {9});
    Put(kChainTable + 58, {11, 0, 0, 0, 13, 0, 0x01, 0x02});
    // Zero bytes inside a password are passed over, not taken as its end.
    Put(kLocalPassword, {'1', 0, 0, '2', 0, 0, 0, '3', 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    builder.Name(kInstallationName, "Lakeside Court").Name(kUnitName, "East Gate");
    Report();

    const std::vector<std::string> lines = Lines();
    ASSERT_GT(lines.size(), 16u);
    const std::vector<std::string> expected{
        "Installation:  Lakeside Court                 Varko:  East Gate\n",
        "\n",
        "Total System Memory Pages: 064                    System Site Code: 08000\n",
        "           Used by System: 002                Txmtr. Facility Code: 07\n",
        "     Used by Single Txmtr: 003               Card Facility Code[1]: 001\n",
        "      Used by Block Txmtr: 005               Card Facility Code[2]: 002\n",
        "      Used by Entry Codes: 007               Card Facility Code[3]: 003\n",
        "      Used by Block Cards: 009               Card Facility Code[4]: 255\n",
        "  Used by Telephone Entry: 011        Maximum # of Directory Codes: 0258\n",
        "  Used by Transaction Log: 013         Maximum Transaction Entries: 65535\n",
        " Free System Memory Pages: 062                   Alarm Cutoff Time: 120\n",
        "           Local Password: 123                     Remote Password: ABCDEFGH\n",
        "\n"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.begin() + 17), expected);

    // An all-zero password is an empty field, still padded to its eight columns.
    builder = ImageBuilder(0x70);
    builder.Byte(kRemotePassword + 5, 'X');
    Report();
    EXPECT_EQ(Line("           Local Password"),
              "           Local Password:                         Remote Password: X       \n");
}

TEST_F(SystemReportTest, TotalAndFreePagesFollowTheSizeCode) {
    struct Case {
        uint8_t sizeCode;
        std::vector<std::pair<std::size_t, uint8_t>> bankBytes;
        std::string total;
        std::string free;
    };
    const std::vector<Case> cases{
        {0x40, {}, "256", "254"},
        {0x50, {}, "128", "126"},
        // A bank entry without its present bit adds nothing.
        {0x60, {{kBankTable + 8, 0x00}}, "064", "030"},
        // Only as many bank entries as the size code has are summed.
        {0x70, {{kBankTable + 8, 0x80}, {kBankTable + 9, 30}}, "016", "014"},
        {0x33, {{kBankTable, 0x80}, {kBankTable + 1, 9}}, "002", "000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.sizeCode));
        builder = ImageBuilder(c.sizeCode);
        for (const auto& [offset, value] : c.bankBytes) {
            builder.Byte(offset, value);
        }
        Report();
        EXPECT_EQ(Line("Total System Memory Pages"),
                  "Total System Memory Pages: " + c.total +
                      "                    System Site Code: 00000\n");
        EXPECT_EQ(Line(" Free System Memory Pages"),
                  " Free System Memory Pages: " + c.free +
                      "                   Alarm Cutoff Time: 000\n");
    }
}

TEST_F(SystemReportTest, ValidationGroupTimeZoneAndDoorScheduleRows) {
    // Record 0 of each table exists in the image but is never printed.
    Put(kValidationGroups, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    Put(kValidationGroups + 8, {3, 1, 2, 3, 15, 0xC5, 0x12, 0x9F});
    Put(kValidationGroups + 8 * 15 + 5, {0x3F, 0x68, 0x57});
    Put(kTimeZones + 1, {0xFF});
    Put(kTimeZones + 20 + 1, {0x00, 0, 0, 7, 30, 18, 0});
    Put(kTimeZones + 40 + 1, {0xFF, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99, 255, 24, 60});
    Put(kTimeZones + 300 + 1, {0x06, 0, 0, 0, 0, 23, 59});
    Put(kDoorSchedules, {0x0F, 0x00, 0x05, 0x0F, 0xFA});
    Report();

    EXPECT_EQ(Line(" VG[01]"),
              " VG[01]       DS[03]    TZ1[01] TZ2[02] TZ3[03] TZ4[15]    Timed       CG[05]\n");
    EXPECT_EQ(Line(" VG[15]"),
              " VG[15]       DS[00]    TZ1[00] TZ2[00] TZ3[00] TZ4[00]    None        CG[63]\n");
    EXPECT_EQ(
        Line(" VG[01]", 1),
        " VG[01]       Any              Left             Keypad           None             \n");
    EXPECT_EQ(
        Line(" VG[15]", 1),
        " VG[15]       Top & Right      Bottom Right     Top & Left       Bottom Left      \n");
    EXPECT_EQ(Line("TX[01]"),
              "TX[01]    YYYYYYYY   07:30-18:00   00:00-00:00   00:00-00:00   00:00-00:00\n");
    EXPECT_EQ(Line("TX[02]"),
              "TX[02]    NNNNNNNN   01:02-03:04   05:06-07:08   09:10-11:12   99:255-24:60\n");
    EXPECT_EQ(Line("TX[15]"),
              "TX[15]    YNNYYYYY   00:00-23:59   00:00-00:00   00:00-00:00   00:00-00:00\n");
    EXPECT_EQ(Line("DS[01]"), "DS[01]            YES       YES       YES       YES \n");
    EXPECT_EQ(Line("DS[02]"), "DS[02]            NO        YES       NO        YES \n");
    EXPECT_EQ(Line("DS[03]"), "DS[03]            NO        NO        NO        NO \n");
    EXPECT_EQ(Line("DS[04]"), "DS[04]            YES       NO        YES       NO \n");

    // Exactly fifteen rows in each block, whatever the records hold.
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines.size(), 103u);
    EXPECT_EQ(lines[86], "Door Schedule  Chan [A]  Chan [B]  Chan [C]  Chan [D]\n");
    EXPECT_EQ(report.find(" VG[00]"), std::string::npos);
    EXPECT_EQ(report.find("TX[00]"), std::string::npos);
    EXPECT_EQ(report.find("\nDS[00]"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 54),
              "DS[15]            YES       YES       YES       YES \n\n");
}

TEST_F(SystemReportTest, TitleLinesComeFromTheLastPageOfTheDirectoryChain) {
    // No directory chain: the title is a single blank.
    Report();
    EXPECT_EQ(report.substr(0, 27), " \n\nSystem Phone Number:  \n\n");

    // A chain of one page has no name page.
    builder = ImageBuilder(0x70);
    const std::vector<int> single = builder.AddChain(kDirectoryChain, 1);
    std::fill_n(builder.Page(single[0]).begin() + kNamePageRecords, 60, 'Q');
    Report();
    EXPECT_EQ(report.substr(0, 3), " \n\n");

    builder = ImageBuilder(0x70);
    const std::vector<int> pages = builder.AddDirectory(2, 42);
    std::fill_n(builder.Page(pages[0]).begin() + kNamePageRecords, 60, 'Q');
    builder.NamePageText(0, "  LAKESIDE COURT  ").NamePageText(1, "  14 Shore Road");
    Report();
    EXPECT_EQ(Lines()[0], "LAKESIDE COURT 14 Shore Road\n");

    // Only the first 24 bytes of a name record are its text.
    builder.NamePageText(0, "ABCDEFGHIJKLMNOPQRSTUVWX").NamePageText(1, "");
    builder.Page(pages.back())[kNamePageRecords + 24] = 'Z';
    Report();
    EXPECT_EQ(report.substr(0, 27), "ABCDEFGHIJKLMNOPQRSTUVWX \n\n");
}

TEST_F(SystemReportTest, SystemPhoneNumberText) {
    const std::vector<std::array<std::string, 4>> cases{
        {"1", "617", "5551200", "1 (617)5551200"},
        {"", "", "5551200", "5551200"},
        {"44", "", "5551200", "5551200"},
        {"", "617", "5551200", " (617)5551200"},
        {"1", "617", "", "1 (617)"},
    };
    for (const auto& [country, area, phone, text] : cases) {
        EXPECT_EQ(SystemPhoneNumberText(country, area, phone), text);
    }
    Report("1 (617)5551200");
    EXPECT_EQ(Lines()[2], "System Phone Number:  1 (617)5551200\n");
    EXPECT_EQ(Lines()[3], "\n");
}

} // namespace
} // namespace tolvane
