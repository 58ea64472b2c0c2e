// The byte line to the unit on a POSIX descriptor: a serial device, a pseudo-terminal or, in
// tests, a socket. Reads and writes wait on poll() against a monotonic deadline with the unit's
// time-outs; a hang-up is a failed read, never a silent one. Another thread can cut the line
// under a read or write that would otherwise wait out a time-out of many minutes.
#pragma once

#include "comm/ChannelTimeouts.h"

#include <atomic>
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

    explicit SerialChannel(const ChannelTimeouts& timeouts);
    ~SerialChannel();
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // Opens the device for this program alone and sets 9600 baud, 8 data bits, no parity, one
    // stop bit, no flow control and no processing. On failure the channel stays closed and
    // error holds the message for the user: the unit's own text for the failure, then the
    // device, the system's reason and what to do about it.
    bool Open(const std::string& portName, const std::string& devicePath, std::string& error);
    // Takes over a descriptor that is already open (a connected modem line, a test socket).
    void Adopt(int fd);
    // False once closed or cut.
    bool IsOpen() const { return fd_ >= 0 && !cut_; }
    const ChannelTimeouts& Timeouts() const { return timeouts_; }
    // The open descriptor, -1 when closed.
    int Descriptor() const { return fd_; }

    // Writes the bytes within the write time-out; returns how many went out.
    std::size_t WriteBytes(const uint8_t* bytes, std::size_t count);
    // Reads up to count bytes: ends early after a silence of the read interval once a byte has
    // come, and after the total read time-out in any case.
    ReadResult ReadBytes(uint8_t* buffer, std::size_t count);
    // The same, giving up at the latest after maxWait in all.
    ReadResult ReadBytes(uint8_t* buffer, std::size_t count, ChannelTimeouts::Duration maxWait);
    // Drops whatever the unit sent that nobody has read yet.
    void PurgeReceive();
    // Raises or lowers DTR; false when the line has no such control line (a pseudo-terminal, a
    // socket) or is closed.
    bool SetDataTerminalReady(bool ready);
    // From any thread: whether a write is waiting for the line to take its bytes. A unit takes
    // a packet in about a second; a write still waiting after that is stuck on a line that does
    // not drain.
    bool IsWriteWaiting() const { return writeWaiting_; }
    // From any thread: the read or write under way fails at once, and so does every later one,
    // until the next Open or Adopt. The descriptor itself stays open until Close, so a thread
    // still inside a call can never reach a descriptor that has since been handed out again.
    void Cut();
    // Gives up exclusive use of the port, so the next session or another program can open it,
    // and closes it. Closing a closed channel does nothing.
    void Close();

private:
    void Take(int fd);
    // Waits until fd_ is ready for events, the time runs out or the cut comes (which callers
    // tell by cut_); the poll() result.
    int Wait(short events, int timeoutMs, short& revents) const;

    ChannelTimeouts timeouts_;
    int fd_ = -1;
    int cutSignal_ = -1; // an eventfd that every wait on the line also watches
    std::atomic<bool> cut_{false};
    std::atomic<bool> writeWaiting_{false};
    bool socket_ = false; // written with send(), so a closed far end is an error, not a signal
};

} // namespace tolvane
