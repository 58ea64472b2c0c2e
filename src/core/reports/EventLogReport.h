// The event log report: every record of the transaction log, newest first, through the filter.
#pragma once

#include <string>

namespace tolvane {

class DirectoryList;
class MemoryModule;
struct EventLogFilter;

// Empty when the image holds no log pages at all.
std::string BuildEventLogReport(const MemoryModule& image, const EventLogFilter& filter,
                                const DirectoryList& directory);

} // namespace tolvane
