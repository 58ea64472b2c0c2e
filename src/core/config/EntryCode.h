// A keypad entry code as the document and the entry code editor hold it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {

struct EntryCode {
    static constexpr int kMaxDigits = 8;

    uint8_t digitCount = 0;
    std::array<uint8_t, kMaxDigits> digits{}; // first digit first; unused digits are 0
    uint16_t validationGroup = 0;             // 0 to 15
    int32_t active = 0;                       // non-zero: the code opens

    bool operator==(const EntryCode&) const = default;
};

// The records live in the array, in the order they were appended.
using EntryCodeArray = std::vector<EntryCode>;

} // namespace tolvane
