// Big-endian field access for the memory module image. The unit stores every number of more than
// one byte high byte first; these helpers are the only place that knows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// Exchanges the two bytes of a 16-bit value, in either direction between host and image order.
constexpr uint16_t SwapBytes16(uint16_t value) {
    return static_cast<uint16_t>((value >> 8) | (value << 8));
}

inline uint16_t ReadBE16(std::span<const uint8_t> bytes, std::size_t offset) {
    return static_cast<uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

inline void WriteBE16(std::span<uint8_t> bytes, std::size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<uint8_t>(value & 0xFF);
}

} // namespace tolvane
