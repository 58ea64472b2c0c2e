#include "comm/XModemPacket.h"

#include "support/UserServices.h"
#include "support/PosixFile.h"
#include "support/ReplaceFile.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tolvane {

Crc16::Crc16() {
    for (unsigned i = 0; i < table_.size(); ++i) {
        unsigned crc = 0;
        unsigned value = i << 8;
        for (int step = 0; step < 8; ++step) {
            crc = ((crc ^ value) & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1;
            value <<= 1;
        }
        table_[i] = static_cast<uint16_t>(crc);
    }
}

uint16_t Crc16::Compute(std::span<const uint8_t> bytes, uint16_t crc) const {
    for (const uint8_t byte : bytes) {
        crc = Update(crc, byte);
    }
    return crc;
}

XModemPacket MakePacket(const Crc16& crc, uint8_t number, std::span<const uint8_t> data) {
    XModemPacket packet{};
    packet[0] = number;
    packet[1] = static_cast<uint8_t>(~number);
    std::copy_n(data.begin(), std::min(data.size(), kPacketDataSize), packet.begin() + 2);
    const uint16_t check =
        crc.Compute(std::span<const uint8_t>(packet).subspan(2, kPacketDataSize));
    packet[kPacketSize - 2] = static_cast<uint8_t>(check >> 8);
    packet[kPacketSize - 1] = static_cast<uint8_t>(check & 0xFF);
    return packet;
}

std::vector<uint8_t> PacketData(const PacketArray& packets) {
    std::vector<uint8_t> bytes;
    bytes.reserve(packets.size() * kPacketDataSize);
    for (const XModemPacket& packet : packets) {
        bytes.insert(bytes.end(), packet.begin() + 2, packet.begin() + 2 + kPacketDataSize);
    }
    return bytes;
}

bool SavePacketsToFile(const PacketArray& packets, const std::string& path, UserServices& ui,
                       const std::function<void()>& beforeReplacing) {
    // Written whole or not at all: a file half written is no image, and the one it would have
    // replaced is the only copy the user may have.
    int error = 0;
    const ReplaceResult result =
        ReplaceFile(path, PacketData(packets), std::nullopt, error, beforeReplacing);
    if (result != ReplaceResult::Replaced) {
        ui.ShowMessage(std::string(result == ReplaceResult::CannotOpen ? "Error opening file"
                                                                       : "Error writing file") +
                           "\n" + path + ": " + std::strerror(error),
                       MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return true;
}

bool LoadPacketsFromFile(PacketArray& packets, const std::string& path, const Crc16& crc,
                         UserServices& ui) {
    packets.clear();
    const int fd = OpenRegularFile(path);
    if (fd < 0) {
        ui.ShowMessage("Error opening file", MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    uint8_t number = 1;
    std::array<uint8_t, kPacketDataSize> block{};
    for (;;) {
        block.fill(0);
        const std::size_t got = ReadFully(fd, block.data(), block.size());
        if (got == 0) {
            break;
        }
        packets.push_back(MakePacket(crc, number++, block));
        if (got < block.size()) {
            break;
        }
    }
    ::close(fd);
    return true;
}

} // namespace tolvane
