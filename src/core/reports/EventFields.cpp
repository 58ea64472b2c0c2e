#include "reports/EventFields.h"

#include <array>
#include <cstdio>

namespace tolvane {

EventFields EventFields::Of(const EventLine& line) {
    // The unit keeps local time and no zone, so the stamp has no offset either.
    const EventTime& t = line.timestamp;
    char time[64];
    std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    EventFields fields;
    fields.time = time;
    if (line.channel >= 0) {
        fields.channel = ChannelLetter(line);
    }
    fields.device = DeviceName(line.deviceType);
    fields.code = line.code;
    fields.codeKind = line.codeKind;
    fields.name = line.name;
    fields.event = line.words;
    fields.detail = line.detail;
    return fields;
}

std::string EventFields::DeviceName(int deviceType) {
    static constexpr std::array<const char*, 4> kNames{"single-transmitter", "block-transmitter",
                                                       "block-card", "entry-code"};
    return deviceType >= 0 && deviceType < static_cast<int>(kNames.size())
               ? kNames[static_cast<std::size_t>(deviceType)]
               : "";
}

} // namespace tolvane
