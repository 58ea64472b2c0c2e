// The byte line to the unit on a POSIX descriptor: a serial device, a pseudo-terminal or, in
// tests, a socket. Reads and writes wait on poll() against a monotonic deadline with the unit's
// time-outs; a hang-up is a failed read, never a silent one.
#pragma once

#include "comm/ChannelTimeouts.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvane {

class SerialChannel {
public:
    struct ReadResult {
        bool ok = false;
        std::size_t count = 0; // 0 with ok: the time-outs ran out with nothing received
    };

    explicit SerialChannel(const ChannelTimeouts& timeouts) : timeouts_(timeouts) {}
    ~SerialChannel() { Close(); }
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // Opens the device for this program alone and sets 9600 baud, 8 data bits, no parity, one
    // stop bit, no flow control and no processing. On failure the channel stays closed and
    // error holds the message for the user: the unit's own text for the failure, then the
    // device, the system's reason and what to do about it.
    bool Open(const std::string& portName, const std::string& devicePath, std::string& error);
    // Takes over a descriptor that is already open (a connected modem line, a test socket).
    void Adopt(int fd);
    bool IsOpen() const { return fd_ >= 0; }
    const ChannelTimeouts& Timeouts() const { return timeouts_; }

    // Writes the bytes within the write time-out; returns how many went out.
    std::size_t WriteBytes(const uint8_t* bytes, std::size_t count);
    // Reads up to count bytes: ends early after a silence of the read interval once a byte has
    // come, and after the total read time-out in any case.
    ReadResult ReadBytes(uint8_t* buffer, std::size_t count);
    // The same, giving up at the latest after maxWait in all.
    ReadResult ReadBytes(uint8_t* buffer, std::size_t count, ChannelTimeouts::Duration maxWait);
    // Drops whatever the unit sent that nobody has read yet.
    void PurgeReceive();
    // Closing a closed channel does nothing.
    void Close();

private:
    void Take(int fd);

    ChannelTimeouts timeouts_;
    int fd_ = -1;
    bool socket_ = false; // written with send(), so a closed far end is an error, not a signal
};

} // namespace tolvane
