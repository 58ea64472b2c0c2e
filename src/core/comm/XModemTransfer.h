// XModem with 1024-byte packets and CRC-16, both ways, over a session's line. Every read and write
// goes through the session, so a cancel is noticed at once.
#pragma once

#include "comm/XModemPacket.h"

#include <chrono>

namespace tolvane {

class CCommSession;

class XModemTransfer {
public:
    enum ReceiveResult {
        kPacket = 0,
        kTimedOut = 1,
        kEot = 3,
        kCancelled = 4,
        kReadError = 5,
        kBadHeader = 6
    };
    enum Response { kNak = 1, kReadyC = 2, kCan = 4, kNoResponse = 5, kOther = 6, kAck = 7 };

    explicit XModemTransfer(CCommSession& session) : session_(session) {}

    // A packet body after its STX, with 'C' sent after every silence of the read time-out.
    int ReceivePacket(XModemPacket& buffer);
    int ReadResponse();
    // false when the line would not take the packet.
    bool SendPacket(const XModemPacket& packet);

    // Download: packets into the session's packet array; true when EOT ended the transfer after
    // at least one packet.
    bool Receive();
    // Upload: the session's packets; true when the receiver acknowledged the EOT.
    bool Send();

private:
    // One byte within the protocol wait; false on a read error.
    bool ReadOneByte(uint8_t& byte, bool& received);
    void Log(const char* format, unsigned long value);

    CCommSession& session_;
};

} // namespace tolvane
