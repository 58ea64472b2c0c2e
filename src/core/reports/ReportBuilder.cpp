#include "reports/ReportBuilder.h"

#include "config/UnitConfiguration.h"
#include "reports/EventLogReport.h"
#include "reports/ListReports.h"
#include "reports/ReportKind.h"
#include "reports/SystemReport.h"

namespace tolvane {

std::string BuildReport(int reportKind, const MemoryModule& image, const UnitConfiguration& lists,
                        const EventLogFilter& filter, const std::string& phoneNumberText) {
    switch (reportKind) {
    case kEventLogReport:
        return BuildEventLogReport(image, filter, lists.directory);
    case kSystemReport:
        return BuildSystemReport(image, phoneNumberText);
    case kDirectoryReport:
        return BuildDirectoryReport(lists.directory);
    case kBlockTransmitterReport:
        return BuildBlockReport(lists.blockTransmitters, reportKind);
    case kBlockCardReport:
        return BuildBlockReport(lists.blockCards, reportKind);
    default:
        return {};
    }
}

} // namespace tolvane
