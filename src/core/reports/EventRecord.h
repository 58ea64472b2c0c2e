// The transaction log as the image holds it: 12-byte records, 84 to a page, in the pages of
// chain 15.
#pragma once

#include "reports/EventTime.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {

class MemoryModule;

struct EventRecord {
    uint8_t type = 0;
    std::array<uint8_t, 4> dt{}; // year since 1990, then month/day/minute/seconds packed in 24 bits
    std::array<uint8_t, 4> id{}; // a 16-bit number in the first two, or eight code nibbles
    uint8_t mod = 0;
    uint8_t ctx = 0;
    uint8_t ctx2 = 0;

    // The packed month/day/time number: month, day, minute of the day, seconds / 4, high to low.
    uint32_t PackedTime() const { return uint32_t{dt[1]} << 16 | uint32_t{dt[2]} << 8 | dt[3]; }
    // The stamp field by field, as stored.
    EventTime Timestamp() const;
    // id bytes 0 and 1, high byte first: transmitter, card or directory code.
    uint16_t Number16() const { return static_cast<uint16_t>(id[0] << 8 | id[1]); }

    static EventRecord FromBytes(const uint8_t* bytes);
};

// Every record slot of every page of the log chain, page by page, slot by slot; empty slots
// included (they drop out when decoded). An image without a log gives none.
std::vector<EventRecord> ReadEventRecords(const MemoryModule& image);

} // namespace tolvane
