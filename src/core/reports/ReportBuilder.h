// Builds the report of a given kind from the image, the document's lists, the event log filter
// and the installation's telephone number text. The document and the command-line tool both
// build their reports here.
#pragma once

#include <string>

namespace tolvane {

class MemoryModule;
struct EventLogFilter;
struct UnitConfiguration;

// Any kind outside the five reports gives an empty text.
std::string BuildReport(int reportKind, const MemoryModule& image, const UnitConfiguration& lists,
                        const EventLogFilter& filter, const std::string& phoneNumberText);

} // namespace tolvane
