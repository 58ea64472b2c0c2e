// The largest module the reports meet: 256 KB whose transaction log fills every free page, over
// twenty thousand records of every type. Shared by the report and window benchmarks.
#pragma once

#include <cstdint>
#include <vector>

namespace tolvane {

std::vector<uint8_t> FullLogImage();

} // namespace tolvane
