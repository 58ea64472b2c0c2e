// One line of the event log report as data: the columns of its CSV and JSON exports, each a text
// taken from the decoded line the report prints, so the report and the exports cannot disagree.
#pragma once

#include "reports/EventLine.h"

#include <string>

namespace tolvane {

struct EventFields {
    std::string time;    // "YYYY-MM-DDTHH:MM:SS", the stamp's fields as stored
    std::string channel; // the letter the line prints; empty when it names no channel
    std::string device;  // an access grant's device type (DeviceName); empty for other records
    std::string code;    // the number or entry code digits the event text names
    EventCode codeKind = EventCode::None;
    std::string name; // the tenant's, for a telephone entry; bytes as the unit holds them
    std::string event;
    std::string detail;

    static EventFields Of(const EventLine& line);

    // "single-transmitter", "block-transmitter", "block-card" or "entry-code"; empty for
    // kNoDevice.
    static std::string DeviceName(int deviceType);
};

} // namespace tolvane
