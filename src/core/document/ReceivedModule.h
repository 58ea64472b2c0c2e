// What becomes of a module received from the unit, in the window and on the command line alike:
// checked as a module first, then written whole over the file, the backups made only once the
// new bytes are safely on the disk.
#pragma once

#include "comm/XModemPacket.h"

#include <string>

namespace tolvane {

class UserServices;

// The bytes were no module; the checks have said why.
inline constexpr int kReceivedNoModule = 1;
// The file could not be written; said so. The file is as it was.
inline constexpr int kReceivedNotWritten = 2;

// 0 when the module is in the file at path.
int StoreReceivedModule(const PacketArray& packets, const std::string& path, UserServices& ui);

} // namespace tolvane
