#include "reports/EventRecord.h"

#include "image/MemoryModule.h"

#include <climits>

namespace tolvane {

using namespace layout;

EventTime EventRecord::Timestamp() const {
    const uint32_t packed = PackedTime();
    const int minuteOfDay = static_cast<int>(packed >> 4 & 0x7FF);
    return {1990 + dt[0],
            static_cast<int>(packed >> 20 & 0x0F),
            static_cast<int>(packed >> 15 & 0x1F),
            minuteOfDay / 60,
            minuteOfDay % 60,
            static_cast<int>(packed & 0x0F) * 4};
}

EventRecord EventRecord::FromBytes(const uint8_t* bytes) {
    EventRecord record;
    record.type = bytes[0];
    record.dt = {bytes[1], bytes[2], bytes[3], bytes[4]};
    record.id = {bytes[5], bytes[6], bytes[7], bytes[8]};
    record.mod = bytes[9];
    record.ctx = bytes[10];
    record.ctx2 = bytes[11];
    return record;
}

std::vector<EventRecord> ReadEventRecords(const MemoryModule& image) {
    std::vector<EventRecord> records;
    const ChainWalk walk = image.WalkChain(kEventLogChain, INT_MAX);
    records.reserve(walk.pages.size() * kEventSlotsPerPage);
    for (const int page : walk.pages) {
        const auto bytes = image.GetPage(page);
        for (std::size_t slot = 0; slot < kEventSlotsPerPage; ++slot) {
            records.push_back(
                EventRecord::FromBytes(bytes.data() + kPageHeaderSize + kEventRecordSize * slot));
        }
    }
    return records;
}

} // namespace tolvane
