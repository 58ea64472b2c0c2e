// Turns transaction log records into event lines. It takes the channel names from the image and
// the tenant names from the directory once, so a log of twenty thousand records decodes quickly.
#pragma once

#include "reports/EventLine.h"
#include "reports/EventRecord.h"

#include <array>
#include <string>
#include <unordered_map>

namespace tolvane {

class DirectoryList;
class MemoryModule;

class EventDecoder {
public:
    EventDecoder(const MemoryModule& image, const DirectoryList& directory);

    EventLine Decode(const EventRecord& record) const;

private:
    void DecodeAccessGrant(const EventRecord& record, EventLine& line) const;
    void DecodeDenial(const EventRecord& record, EventLine& line) const;
    void DecodeTelephoneCall(const EventRecord& record, EventLine& line) const;
    void SetChannel(EventLine& line, int channel) const;

    std::array<std::string, 4> channelNames_;
    std::unordered_map<uint16_t, std::string> tenantNames_;
};

} // namespace tolvane
