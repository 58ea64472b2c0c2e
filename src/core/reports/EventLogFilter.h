// What the event log report shows: the four tests the user can turn on in the filter dialog, and
// their values.
#pragma once

#include "reports/EventLine.h"
#include "reports/EventTime.h"

#include <array>
#include <cstdint>
#include <string>

namespace tolvane {

struct EventLogFilter {
    static constexpr std::size_t kMaxNameLength = 24;
    static constexpr uint32_t kMaxCode = 99999999;

    bool selectByDate = false;
    bool selectByName = false;
    bool selectByChannel = false;
    bool selectByDeviceType = false;
    EventTime begin; // seconds 0
    EventTime end;   // seconds 0
    std::array<bool, 4> channels{};
    std::string name;
    int deviceType = kSingleTransmitter;
    uint32_t code = 0; // 0: any device number

    // Every test off; the date range is the day up to now.
    void Reset(const EventTime& now);

    // True when the line passes every test that is turned on.
    bool Passes(const EventLine& line) const;

    bool operator==(const EventLogFilter&) const = default;
};

} // namespace tolvane
