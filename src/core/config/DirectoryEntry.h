// One tenant of the telephone entry directory.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tolvane {

struct DirectoryEntry {
    static constexpr int kMaxDigits = 12;
    static constexpr int kMaxNameLength = 24;

    uint16_t code = 0;
    std::string name;
    uint16_t digitCount = 0;
    std::array<uint16_t, kMaxDigits> digits{}; // first digit first; only digitCount of them count
    int32_t extendedTalk = 0;

    // Takes over another entry's values. Digits beyond the other's count keep what they held here:
    // only the first digitCount digits mean anything afterwards.
    void CopyFrom(const DirectoryEntry& other);
};

} // namespace tolvane
