// The block transmitter, block card and telephone directory reports, written out by hand, and the
// way telephone numbers are shown.
#include "config/BlockCodeList.h"
#include "config/DirectoryList.h"
#include "reports/ListReports.h"
#include "reports/ReportKind.h"

#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

namespace tolvane {
namespace {

constexpr const char* kBlockHeader = "Block  Start  End    Validation Group\n"
                                     "-------------------------------------\n";

TEST(BlockReportTest, RangesNumberedFromZeroThenTheSuspendedCodesEachOnlyWhenThere) {
    BlockCodeList list;
    list.ranges = {{10, 20, 3}, {1000, 1499, 12}, {0, 65535, 15}};
    list.suspended = {15, 1200, 65535};
    EXPECT_EQ(BuildBlockReport(list, kBlockTransmitterReport),
              std::string("Block Transmitter Report:\n\n") + kBlockHeader +
                  "000    00010  00020  03\n"
                  "001    01000  01499  12\n"
                  "002    00000  65535  15\n"
                  "\n\nSuspended Codes\n"
                  "---------------\n"
                  "00015\n"
                  "01200\n"
                  "65535\n");
    // Other kinds give nothing.
    for (const int kind : {-1, 0, int{kEventLogReport}, int{kSystemReport}, 6}) {
        EXPECT_EQ(BuildBlockReport(list, kind), "") << kind;
    }

    // Each section appears only when its list holds something.
    list.ranges.clear();
    EXPECT_EQ(BuildBlockReport(list, kBlockCardReport),
              std::string("Block Card Report:\n\n") + kBlockHeader +
                  "\n\nSuspended Codes\n---------------\n00015\n01200\n65535\n");
    list.suspended.clear();
    EXPECT_EQ(BuildBlockReport(list, kBlockCardReport),
              std::string("Block Card Report:\n\n") + kBlockHeader);
}

TEST(DirectoryReportTest, EntriesByNameWithFormattedNumbersAndTalkTime) {
    const std::string header = "Telephone Directory Report\n\n"
                               "Code  Name                            Phone Number  Talk Time\n"
                               "-------------------------------------------------------------\n";
    DirectoryList directory;
    EXPECT_EQ(BuildDirectoryReport(directory), header);
    for (const auto& [code, name, phone, talk] :
         {std::tuple<uint16_t, const char*, std::string, int>{1234, "Able", "15551234567", 0},
          {65, "zz", "123456789012", 0},
          {9, "WEXLER-HOLMGREN, CATHERI", "12345678", 0},
          {0, "Abl", "", 1},
          {3, "\xC9mile", "555", 0}}) {
        directory.Append(MakeDirectoryEntry(code, name, phone, talk != 0));
    }
    directory.At(1).digitCount = 15; // a count above twelve shows the twelve digits there are

    // Byte order: capitals before small letters, a prefix before what it begins, bytes above 0x7F
    // after all of them.
    EXPECT_EQ(BuildDirectoryReport(directory),
              header + "0000  Abl                                           Y\n"
                       "1234  Able                        1 (555) 123-4567  N\n"
                       "0009  WEXLER-HOLMGREN, CATHERI            12345678  N\n"
                       "0065  zz                              123456789012  N\n"
                       "0003  \xC9mile                                    555  N\n");
    // The report sorts a view of the list, never the list.
    EXPECT_EQ(directory.At(0).name, "Able");
    EXPECT_EQ(directory.At(3).name, "Abl");
}

} // namespace
} // namespace tolvane
