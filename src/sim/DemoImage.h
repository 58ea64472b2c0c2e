// The demo memory module: a plausible apartment complex with four channels, codes, a telephone
// directory and a year of transactions, for newcomers, demonstrations and tests.
#pragma once

#include <cstdint>
#include <vector>

namespace tolvane {

class UserServices;

// The bytes of the demo image (size code 0x50, firmware 5.00). Packing goes through ui, which
// hears nothing unless the demo outgrew its module.
std::vector<uint8_t> BuildDemoImage(UserServices& ui);

} // namespace tolvane
