// Which report the document has on display.
#pragma once

namespace tolvane {

enum ReportKind : int {
    kEventLogReport = 1,
    kSystemReport = 2,
    kDirectoryReport = 3,
    kBlockTransmitterReport = 4,
    kBlockCardReport = 5,
};

} // namespace tolvane
