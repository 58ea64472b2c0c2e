// The block transmitters or the block cards of a unit: the runs, and one list of suspended codes
// shared by all runs (a suspended code belongs to whichever run covers it).
#pragma once

#include "config/BlockRange.h"

#include <cstdint>
#include <vector>

namespace tolvane {

struct BlockCodeList {
    std::vector<BlockRange> ranges;
    std::vector<uint16_t> suspended;

    void Clear() {
        ranges.clear();
        suspended.clear();
    }

    bool operator==(const BlockCodeList&) const = default;
};

} // namespace tolvane
