// One transaction log record decoded for the event log report: its texts, and the values the
// event log filter tests.
#pragma once

#include "reports/EventTime.h"

#include <cstdint>
#include <string>

namespace tolvane {

enum class EventAction { None, Open, Close };

// Device types of access grant records, numbered as the filter numbers them.
enum DeviceType : int {
    kNoDevice = -1,
    kSingleTransmitter = 0,
    kBlockTransmitter = 1,
    kBlockCard = 2,
    kEntryCodeDevice = 3,
};

struct EventLine {
    std::string eventText;
    EventAction action = EventAction::None;
    int channel = -1; // 0 to 3 are channels A to D; type 9 records may name others
    std::string channelName;
    int deviceType = kNoDevice;
    int64_t deviceNumber = -1;
    // The name the filter's name test looks in: the tenant's for a telephone entry record.
    std::string name;
    EventTime timestamp;
    bool producesLine = false;
};

// The report line: time, date, event text and action/channel text, ending in "\n".
std::string FormatEventLine(const EventLine& line);

} // namespace tolvane
