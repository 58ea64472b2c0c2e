#include "FullLogImage.h"

#include "ImageBuilder.h"
#include "image/SystemAreaLayout.h"

namespace tolvane {

std::vector<uint8_t> FullLogImage() {
    ImageBuilder builder(0x40);
    builder.Name(layout::kChannelNames, "Main Gate");
    builder.AddDirectory(1, 21);
    builder.NamePageText(0, "BENCH TOWERS");
    const int logPages = builder.PageCount() - 2;
    builder.AddEventLog(logPages);
    uint32_t state = 7;
    auto next = [&state](int bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(bound));
    };
    for (int i = 0; i < logPages * layout::kEventSlotsPerPage; ++i) {
        const uint8_t type = static_cast<uint8_t>(1 + i % 15);
        const uint8_t id[4] = {static_cast<uint8_t>(next(256)), static_cast<uint8_t>(next(256)),
                               0x12, 0x34};
        const EventTime stamp{2025 + next(2), 1 + next(12), 1 + next(28),
                              next(24),       next(60),     4 * next(15)};
        builder.AddEvent(type, stamp, id, static_cast<uint8_t>(next(256)),
                         static_cast<uint8_t>(1 + next(15)));
    }
    return builder.Bytes();
}

} // namespace tolvane
