#include "reports/EventLogFilter.h"

#include <algorithm>
#include <cctype>

namespace tolvane {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

void EventLogFilter::Reset(const EventTime& now) {
    *this = EventLogFilter();
    end = now;
    end.second = 0;
    begin = end.DayBefore();
}

bool EventLogFilter::Passes(const EventLine& line) const {
    if (selectByDate && (line.timestamp > end || line.timestamp < begin)) {
        return false;
    }
    // Several checked channels keep the records of any of them; none checked keeps everything.
    if (selectByChannel &&
        std::any_of(channels.begin(), channels.end(), [](bool c) { return c; })) {
        if (line.channel < 0 || line.channel >= 4 ||
            !channels[static_cast<std::size_t>(line.channel)]) {
            return false;
        }
    }
    if (selectByName && Upper(line.name).find(Upper(name)) == std::string::npos) {
        return false;
    }
    if (selectByDeviceType) {
        if (line.deviceType != deviceType) {
            return false;
        }
        if (code != 0 && line.deviceNumber != static_cast<int64_t>(code)) {
            return false;
        }
    }
    return true;
}

} // namespace tolvane
