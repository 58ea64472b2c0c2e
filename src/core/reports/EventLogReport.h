// The event log report: every record of the transaction log, newest first, through the filter.
#pragma once

#include "reports/EventLine.h"

#include <string>
#include <vector>

namespace tolvane {

class DirectoryList;
class MemoryModule;
struct EventLogFilter;

// The records the report prints, decoded, in its order and through the filter; the data exports
// are made of the same lines.
std::vector<EventLine> ReportedEvents(const MemoryModule& image, const EventLogFilter& filter,
                                      const DirectoryList& directory);

// Empty when the image holds no log pages at all.
std::string BuildEventLogReport(const MemoryModule& image, const EventLogFilter& filter,
                                const DirectoryList& directory);

} // namespace tolvane
