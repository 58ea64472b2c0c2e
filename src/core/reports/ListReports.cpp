#include "reports/ListReports.h"
#include "config/PhoneNumberText.h"

#include "config/BlockCodeList.h"
#include "config/DirectoryList.h"
#include "reports/ReportKind.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tolvane {

std::string BuildBlockReport(const BlockCodeList& list, int reportKind) {
    if (reportKind != kBlockTransmitterReport && reportKind != kBlockCardReport) {
        return {};
    }
    std::string text = reportKind == kBlockTransmitterReport ? "Block Transmitter Report:\n\n"
                                                             : "Block Card Report:\n\n";
    text += "Block  Start  End    Validation Group\n";
    text += std::string(37, '-') + "\n";
    char line[64];
    for (std::size_t i = 0; i < list.ranges.size(); ++i) {
        const BlockRange& range = list.ranges[i];
        std::snprintf(line, sizeof line, "%03u    %05u  %05u  %02u\n", static_cast<unsigned>(i),
                      unsigned{range.First()}, unsigned{range.Last()},
                      unsigned{range.ValidationGroup()});
        text += line;
    }
    if (!list.suspended.empty()) {
        text += "\n\nSuspended Codes\n" + std::string(15, '-') + "\n";
        for (const uint16_t code : list.suspended) {
            std::snprintf(line, sizeof line, "%05u\n", unsigned{code});
            text += line;
        }
    }
    return text;
}

std::string BuildDirectoryReport(const DirectoryList& directory) {
    std::string text = "Telephone Directory Report\n\n";
    text += "Code  Name                            Phone Number  Talk Time\n";
    text += std::string(61, '-') + "\n";
    std::vector<const DirectoryEntry*> byName;
    for (std::size_t i = 0; i < directory.Count(); ++i) {
        byName.push_back(&directory.At(i));
    }
    // Byte by byte, so capital letters sort before small ones; the list itself keeps its order.
    std::stable_sort(
        byName.begin(), byName.end(),
        [](const DirectoryEntry* a, const DirectoryEntry* b) { return a->name < b->name; });
    char line[128];
    for (const DirectoryEntry* entry : byName) {
        const std::string phone = FormatPhoneNumber(entry->digits, entry->digitCount);
        std::snprintf(line, sizeof line, "%04u  %-24s  %18s  ", unsigned{entry->code},
                      entry->name.c_str(), phone.c_str());
        text += line;
        text += entry->extendedTalk != 0 ? "Y\n" : "N\n";
    }
    return text;
}

} // namespace tolvane
