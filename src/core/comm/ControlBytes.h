// The control bytes of the unit's line: the keys typed into its menu and XModem's signals.
#pragma once

#include <cstdint>

namespace tolvane::control {

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEot = 0x04;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kCr = 0x0D;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kCan = 0x18;
inline constexpr uint8_t kCtrlZ = 0x1A;
inline constexpr uint8_t kEsc = 0x1B;
inline constexpr uint8_t kC = 0x43; // 'C': the receiver is ready, CRC mode

} // namespace tolvane::control
