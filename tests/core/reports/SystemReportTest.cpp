// The system report against lines written out by hand, for what the golden reports leave open:
// the fallback names of button, relay, digit, format and mode codes, the module sizes, wide values
// and empty passwords in their columns, stored time zone values printed as they are, the title
// lines from the name page and the installation's telephone number.
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
using Lines = std::vector<std::string>;

class SystemReportTest : public ::testing::Test {
protected:
    // Builds the report of the image built so far and returns its lines, each with its line end.
    Lines Report(const std::string& phone = "") {
        MemoryModule image(ui);
        EXPECT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
        report = BuildSystemReport(image, phone);
        Lines lines;
        std::istringstream in(report);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line + "\n");
        }
        return lines;
    }
    // Bytes of the system area from offset on.
    void Put(std::size_t offset, std::initializer_list<int> bytes) {
        for (const int byte : bytes) {
            builder.Byte(offset++, static_cast<uint8_t>(byte));
        }
    }
    // The occurrence-th line of the last report that starts with start.
    std::string Line(const std::string& start, int occurrence = 0) const {
        std::istringstream in(report);
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with(start) && occurrence-- == 0) {
                return line + "\n";
            }
        }
        return "<no line starting with \"" + start + "\">";
    }

    ScriptedUserServices ui;
    ImageBuilder builder{0x70};
    std::string report;
};

TEST_F(SystemReportTest, ButtonCodesBeyondKeypadAreNone) {
    const std::vector<std::pair<int, std::string>> cases{
        {0, "None"},  {1, "Any"},   {8, "Bottom Right"}, {9, "Keypad"},
        {10, "None"}, {15, "None"}, {0x19, "None"},      {0xFF, "None"}};
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        builder = ImageBuilder(0x70);
        Put(kDefaultButton, {code});
        Put(kValidationGroups + 8 * 7 + 6, {(code & 0x0F) * 0x11});
        Report();
        EXPECT_EQ(Line("            AccOut Format").substr(40),
                  "Default Button Channel [A]: " + name + "\n");
        if (code < 16) {
            const std::string column = name + std::string(16 - name.size(), ' ') + " ";
            EXPECT_EQ(Line(" VG[07]", 1),
                      " VG[07]       " + column + column + "None             None             \n");
        }
    }
}

TEST_F(SystemReportTest, AccessOutputOffTransmitterIdAndNo) {
    Put(kAccOutFormat, {0, 255, 1});
    const Lines lines = Report();
    ASSERT_GT(lines.size(), 21u);
    EXPECT_EQ(
        Lines(lines.begin() + 17, lines.begin() + 21),
        (Lines{"            AccOut Format: OFF          Default Button Channel [A]: None\n",
               "     AccOut Facility Code: 00255        Default Button Channel [B]: None\n",
               "              AccOut Mode: Transmitter Id Default Button Channel [C]: None\n",
               "     AccOut Button Offset: NO           Default Button Channel [D]: None\n"}));
}

TEST_F(SystemReportTest, RelayOperationsAndTelephoneDigits) {
    // Each code goes into its channel as operation and as digit.
    const std::vector<std::pair<std::array<int, 4>, std::pair<std::string, std::string>>> cases{
        {{0, 1, 2, 3},
         {"        Operation:   Control      Shunt        Alarm        Obstacle    \n",
          "  Telephone Digit:   None         1            2            3           \n"}},
        {{4, 5, 10, 15},
         {"        Operation:   CCTV         None         None         None        \n",
          "  Telephone Digit:   4            5            0            None        \n"}},
    };
    for (const auto& [codes, expected] : cases) {
        builder = ImageBuilder(0x70);
        for (std::size_t c = 0; c < 4; ++c) {
            builder.Byte(kRelay + kRelayStride * c, static_cast<uint8_t>(codes[c] * 0x11));
        }
        Report();
        EXPECT_EQ(Line("        Operation:"), expected.first);
        EXPECT_EQ(Line("  Telephone Digit:"), expected.second);
    }
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

TEST_F(SystemReportTest, WideValuesEmptyPasswordsAndStoredTimesKeepTheirColumns) {
    Put(kMaximumTransactionEntries, {0xFF, 0xFF});
    Put(kDirectoryCapacity, {0x01, 0x02});
    builder.Byte(kRemotePassword + 5, 'X');
    Put(kTimeZones + 40 + 1, {0xFF, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99, 255, 24, 60});
    Report();
    EXPECT_EQ(Line("  Used by Telephone Entry"),
              "  Used by Telephone Entry: 000        Maximum # of Directory Codes: 0258\n");
    EXPECT_EQ(Line("  Used by Transaction Log"),
              "  Used by Transaction Log: 000         Maximum Transaction Entries: 65535\n");
    // An all-zero password is an empty field, still padded to its eight columns.
    EXPECT_EQ(Line("           Local Password"),
              "           Local Password:                         Remote Password: X       \n");
    EXPECT_EQ(Line("TX[02]"),
              "TX[02]    NNNNNNNN   01:02-03:04   05:06-07:08   09:10-11:12   99:255-24:60\n");
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
    EXPECT_EQ(Report()[0], "LAKESIDE COURT 14 Shore Road\n");

    // Only the first 24 bytes of a name record are its text.
    builder.NamePageText(0, "ABCDEFGHIJKLMNOPQRSTUVWX").NamePageText(1, "");
    builder.Page(pages.back())[kNamePageRecords + 24] = 'Z';
    Report();
    EXPECT_EQ(report.substr(0, 27), "ABCDEFGHIJKLMNOPQRSTUVWX \n\n");
}

TEST_F(SystemReportTest, SystemPhoneNumberText) {
    const std::vector<std::array<std::string, 4>> cases{
        {"1", "617", "5551200", "1 (617)5551200"},
        {"44", "", "5551200", "5551200"},
        {"", "617", "5551200", " (617)5551200"},
        {"1", "617", "", "1 (617)"},
    };
    for (const auto& [country, area, phone, text] : cases) {
        EXPECT_EQ(SystemPhoneNumberText(country, area, phone), text);
    }
    const Lines lines = Report("1 (617)5551200");
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 4),
              (Lines{"System Phone Number:  1 (617)5551200\n", "\n"}));
}

} // namespace
} // namespace tolvane
