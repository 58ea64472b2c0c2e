// The unit's side of the programming line, for tests, demos and training: on ESC it draws its menu
// (text among escape sequences, a NUL before each text), checks the password, enters area 29,
// sends its memory module by XModem-1K on CR or receives one after cursor-up and CR, and leaves
// on Ctrl+Z. It can misbehave on purpose, to show what the program does about it.
#pragma once

#include "comm/XModemPacket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace tolvane {

enum class SimFault {
    CrcError,        // the second packet goes out once with a wrong CRC
    DroppedPacket,   // the second packet goes out once cut short
    DuplicatePacket, // the first packet goes out twice
    Silence,         // the unit says nothing at all once logged in
    Cancel,          // the unit cancels the transfer after the first packet
};

struct SimulatedUnitOptions {
    std::vector<uint8_t> image;
    std::string password = "246810";
    std::set<SimFault> faults;
    int byteDelayMicroseconds = 0; // pacing, for watching a transfer at a human speed
    int timeScale = 1;             // divides every wait, for tests that scale the program's too
    bool hangUpOnLeave = false;    // behind a modem: the call ends when the session leaves
};

class SimulatedUnit {
public:
    // Serves the line on fd (one end of a socket pair, or a pseudo-terminal's master side).
    SimulatedUnit(int fd, SimulatedUnitOptions options);

    // Answers the line until stop is set, or until the session leaves when hangUpOnLeave is set.
    void Run(const std::atomic<bool>& stop);

    // The module as the unit holds it now: the last complete upload, or the one it started with.
    std::vector<uint8_t> Image() const;
    // Every byte the unit received, for tests that check the keystrokes.
    std::vector<uint8_t> Received() const;

    // The fault names the command line takes: crc, drop, duplicate, silence, cancel.
    static bool ParseFault(const std::string& name, SimFault& fault);

private:
    enum class State { Idle, Password, Menu, Area29 };

    bool ReadByte(uint8_t& byte, int timeoutMs, const std::atomic<bool>& stop);
    void Write(const std::string& bytes);
    void WriteByte(uint8_t byte);
    void Screen(const std::string& text);
    void OnByte(uint8_t byte, const std::atomic<bool>& stop);
    void SendImage(const std::atomic<bool>& stop);
    void ReceiveImage(const std::atomic<bool>& stop);

    int fd_;
    SimulatedUnitOptions options_;
    Crc16 crc_;
    State state_ = State::Idle;
    std::string typed_;
    bool uploadChosen_ = false;
    bool left_ = false;
    int escapeState_ = 0; // to recognise ESC [ A
    std::chrono::steady_clock::time_point nextSlot_{};
    mutable std::mutex mutex_;
    std::vector<uint8_t> image_;
    std::vector<uint8_t> received_;
};

} // namespace tolvane
