#include "reports/EventLogReport.h"

#include "reports/EventDecoder.h"
#include "reports/EventLogFilter.h"
#include "reports/EventRecord.h"

#include <algorithm>
#include <cstdio>

namespace tolvane {

namespace {

std::vector<EventLine> Reported(std::vector<EventRecord> records, const MemoryModule& image,
                                const EventLogFilter& filter, const DirectoryList& directory) {
    // Newest first by year, then by the packed month/day/time. This is the unit's own order for
    // any log of less than a year and a strict order for any log at all; records with the same
    // stamp keep the order they were stored in.
    std::stable_sort(records.begin(), records.end(),
                     [](const EventRecord& a, const EventRecord& b) {
                         if (a.dt[0] != b.dt[0]) {
                             return a.dt[0] > b.dt[0];
                         }
                         return a.PackedTime() > b.PackedTime();
                     });
    const EventDecoder decoder(image, directory);
    std::vector<EventLine> lines;
    lines.reserve(records.size());
    for (const EventRecord& record : records) {
        EventLine line = decoder.Decode(record);
        if (line.producesLine && filter.Passes(line)) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

} // namespace

std::vector<EventLine> ReportedEvents(const MemoryModule& image, const EventLogFilter& filter,
                                      const DirectoryList& directory) {
    return Reported(ReadEventRecords(image), image, filter, directory);
}

std::string BuildEventLogReport(const MemoryModule& image, const EventLogFilter& filter,
                                const DirectoryList& directory) {
    std::vector<EventRecord> records = ReadEventRecords(image);
    if (records.empty()) {
        return {};
    }
    const std::vector<EventLine> lines = Reported(std::move(records), image, filter, directory);
    std::string text = "Event Log Report\n\n";
    char header[128];
    std::snprintf(header, sizeof header, "%-8s %-8s  %-46s %-6s %s\n", "Time", "Date", "Event",
                  "Action", "Gate");
    text += header;
    text.append(96, '-'); // the first event line follows on the same line
    text.reserve(text.size() + lines.size() * 112);
    for (const EventLine& line : lines) {
        text += FormatEventLine(line);
    }
    return text;
}

} // namespace tolvane
