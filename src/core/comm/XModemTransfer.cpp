#include "comm/XModemTransfer.h"

#include "comm/CCommSession.h"
#include "comm/ControlBytes.h"

#include <cstdio>

namespace tolvane {

namespace {

constexpr int kMaxErrors = 10;
constexpr int kMaxCalls = 10;

using Clock = std::chrono::steady_clock;

} // namespace

void XModemTransfer::Log(const char* format, unsigned long value) {
    char line[128];
    std::snprintf(line, sizeof line, format, value);
    session_.ProgressLog(line);
}

int XModemTransfer::ReceivePacket(XModemPacket& buffer) {
    buffer.fill(0);
    const auto deadline = Clock::now() + session_.Channel().Timeouts().protocolWait;
    uint8_t header = 0;
    bool received = false;
    do {
        const SerialChannel::ReadResult read = session_.Channel().ReadBytes(&header, 1);
        if (!read.ok) {
            return kReadError;
        }
        session_.CheckCancel();
        received = read.count == 1;
        if (!received) {
            session_.WriteChar(control::kC);
        }
    } while (!received && Clock::now() < deadline);
    if (!received) {
        return kTimedOut;
    }
    if (header == control::kEot) {
        return kEot;
    }
    if (header == control::kCan) {
        return kCancelled;
    }
    if (header != control::kStx) {
        return kBadHeader;
    }
    // A body that stops coming is given up after the protocol wait: a read for a thousand bytes
    // would otherwise wait a second for each of them, and the sender's resend would come in
    // the middle of the body.
    const auto bodyDeadline = Clock::now() + session_.Channel().Timeouts().protocolWait;
    std::size_t done = 0;
    for (int call = 0; call < kMaxCalls && done < kPacketSize; ++call) {
        session_.CheckCancel();
        const auto left =
            std::chrono::duration_cast<ChannelTimeouts::Duration>(bodyDeadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        const SerialChannel::ReadResult read =
            session_.Channel().ReadBytes(buffer.data() + done, kPacketSize - done, left);
        if (!read.ok) {
            return kReadError;
        }
        done += read.count;
    }
    return kPacket;
}

bool XModemTransfer::ReadOneByte(uint8_t& byte, bool& received) {
    const auto deadline = Clock::now() + session_.Channel().Timeouts().protocolWait;
    received = false;
    do {
        const SerialChannel::ReadResult read = session_.Channel().ReadBytes(&byte, 1);
        if (!read.ok) {
            return false;
        }
        session_.CheckCancel();
        received = read.count == 1;
    } while (!received && Clock::now() < deadline);
    return true;
}

int XModemTransfer::ReadResponse() {
    uint8_t byte = 0;
    bool received = false;
    if (!ReadOneByte(byte, received) || !received) {
        return kNoResponse;
    }
    switch (byte) {
    case control::kAck:
        return kAck;
    case control::kNak:
        return kNak;
    case control::kCan:
        return kCan;
    case control::kC:
        return kReadyC;
    default:
        return kOther;
    }
}

bool XModemTransfer::SendPacket(const XModemPacket& packet) {
    session_.WriteChar(control::kStx);
    session_.CheckCancel();
    std::size_t done = 0;
    for (int call = 0; call < kMaxCalls && done < kPacketSize; ++call) {
        session_.CheckCancel();
        const std::size_t put =
            session_.Channel().WriteBytes(packet.data() + done, kPacketSize - done);
        if (put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

bool XModemTransfer::Receive() {
    session_.SetProgressTitle("Receiving Memory Module");
    uint8_t expected = 1;
    unsigned long received = 0;
    int errors = 0;
    XModemPacket buffer{};
    int result = kTimedOut;
    for (int attempt = 0; attempt < kMaxErrors && result == kTimedOut; ++attempt) {
        session_.WriteChar(control::kC);
        result = ReceivePacket(buffer);
        session_.CheckCancel();
    }
    if (result == kTimedOut || result == kReadError) {
        session_.WriteChar(control::kCan);
        session_.ProgressLog("Error getting first packet");
        return false;
    }
    while (errors < kMaxErrors) {
        switch (result) {
        case kPacket:
            if (buffer[1] != static_cast<uint8_t>(~buffer[0])) {
                session_.ProgressLog("Packed sequence integrity error");
                session_.WriteChar(control::kNak);
                ++errors;
            } else if (buffer[0] == expected) {
                if (session_.Crc().Compute(std::span<const uint8_t>(buffer).subspan(2)) == 0) {
                    session_.packets.push_back(buffer);
                    ++expected;
                    ++received;
                    errors = 0;
                    session_.WriteChar(control::kAck);
                    Log("Sucessfully received packet %lu", received);
                    session_.ReportTransferred(received);
                } else {
                    session_.ProgressLog("Packed CRC error; performing packet retry");
                    session_.WriteChar(control::kNak);
                    ++errors;
                }
            } else if (buffer[0] == static_cast<uint8_t>(expected - 1)) {
                session_.ProgressLog("Received the same packet");
                session_.WriteChar(control::kAck);
                ++errors;
            } else {
                session_.ProgressLog("Fatal Packet Sequence Error");
                session_.WriteChar(control::kCan);
                return false;
            }
            break;
        case kEot:
            if (received == 0) {
                // A sender with nothing to send has not sent a module: an empty download
                // must not pass for one.
                session_.WriteChar(control::kCan);
                session_.ProgressLog("Received the EOT before any packet -- nothing was received");
                return false;
            }
            session_.WriteChar(control::kAck);
            session_.ProgressLog("Received the EOT -- Transmission finished");
            return true;
        case kCancelled:
        case kReadError:
            session_.WriteChar(control::kCan);
            session_.ProgressLog("Fatal packet receive error");
            return false;
        default: // silence or a stray first byte
            session_.ProgressLog("Packed receive error; performing retry");
            session_.WriteChar(control::kNak);
            ++errors;
            break;
        }
        if (errors < kMaxErrors) {
            result = ReceivePacket(buffer);
        }
    }
    session_.WriteChar(control::kCan);
    return false;
}

bool XModemTransfer::Send() {
    if (session_.packets.empty()) {
        session_.ProgressLog("No packets to send");
        return false;
    }
    session_.SetProgressTitle("Sending Memory Module");
    session_.WriteChar(control::kCr);
    int response = kNoResponse;
    for (int attempt = 0; attempt < kMaxErrors; ++attempt) {
        response = ReadResponse();
        if (response == kNak || response == kReadyC) {
            break;
        }
    }
    if (response != kNak && response != kReadyC) {
        session_.ProgressLog("XModem send timed out");
        return false;
    }
    std::size_t index = 0;
    int errors = 0;
    for (;;) {
        if (index == session_.packets.size()) {
            for (int attempt = 0; attempt < kMaxErrors; ++attempt) {
                session_.WriteChar(control::kEot);
                if (ReadResponse() == kAck) {
                    session_.ProgressLog("Upload Successful  --  All packets sent");
                    return true;
                }
            }
            session_.ProgressLog("Error sending EOT");
            return false;
        }
        if (!SendPacket(session_.packets[index])) {
            Log("Error sending the packet %lu", index);
            session_.WriteChar(control::kCan);
            return false;
        }
        switch (ReadResponse()) {
        case kAck:
            ++index;
            errors = 0;
            Log("Sent packet %lu", index);
            session_.ReportTransferred(index);
            break;
        case kNak:
            ++errors;
            session_.ProgressLog("Received NAK; resending packet");
            break;
        case kReadyC:
            ++errors;
            session_.ProgressLog("Received C; resending packet");
            break;
        case kCan:
            session_.ProgressLog("Received CAN; aborting transmission");
            session_.WriteChar(control::kCan);
            return false;
        case kNoResponse:
            session_.ProgressLog("No response; aborting transmission");
            session_.WriteChar(control::kCan);
            return false;
        default:
            ++errors;
            session_.ProgressLog("Bad response; resending packet");
            break;
        }
        if (errors >= kMaxErrors) {
            session_.WriteChar(control::kCan);
            return false;
        }
    }
}

} // namespace tolvane
