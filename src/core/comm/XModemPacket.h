// XModem-1K packets as the session keeps them: the wire packet without its STX byte (number,
// complement, 1024 data bytes, CRC high and low), and the CRC-16 that guards them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

inline constexpr std::size_t kPacketDataSize = 1024;
inline constexpr std::size_t kPacketSize = kPacketDataSize + 4;

using XModemPacket = std::array<uint8_t, kPacketSize>;
using PacketArray = std::vector<XModemPacket>;

// The XModem CRC: polynomial 0x1021, initial value 0, most significant bit first, no reflection
// and no final inversion, through a 256-entry table.
class Crc16 {
public:
    Crc16();
    uint16_t Update(uint16_t crc, uint8_t byte) const {
        return static_cast<uint16_t>((crc << 8) ^ table_[((crc >> 8) ^ byte) & 0xFF]);
    }
    uint16_t Compute(std::span<const uint8_t> bytes, uint16_t crc = 0) const;

private:
    std::array<uint16_t, 256> table_{};
};

// A packet of the given number around up to 1024 data bytes, zero-filled and with its CRC.
XModemPacket MakePacket(const Crc16& crc, uint8_t number, std::span<const uint8_t> data);

// The data bytes of every packet in order: what the unit sent, to be checked as a module before
// it goes anywhere.
std::vector<uint8_t> PacketData(const PacketArray& packets);

// The data bytes of every packet in order, replacing the file whole or not at all; "Error
// opening file" or "Error writing file", with the path and the reason, when it cannot be written.
// beforeReplacing: see ReplaceFile.
bool SavePacketsToFile(const PacketArray& packets, const std::string& path, UserServices& ui,
                       const std::function<void()>& beforeReplacing = {});
// The file cut into packets numbered from 1; empty, with "Error opening file", when it cannot be
// read.
bool LoadPacketsFromFile(PacketArray& packets, const std::string& path, const Crc16& crc,
                         UserServices& ui);

} // namespace tolvane
