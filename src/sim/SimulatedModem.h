// A dial-up modem on the program's side of the line, with the simulated unit at the far end of
// every call: AT commands in command mode, a dial answered as configured, and once connected the
// bytes pass both ways until "+++", a hang-up, or the unit hanging up when the session leaves it.
// It is how the dialer is tried without a telephone line, and it can be a dead or a stubborn
// device on purpose.
#pragma once

#include "SimulatedUnit.h"

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tolvane {

// How the far end answers a dial.
enum class DialAnswer { Connect, Busy, NoAnswer, NoCarrier, NoDialtone };

struct SimulatedModemOptions {
    SimulatedUnitOptions unit = {}; // the unit every call reaches
    DialAnswer answer = DialAnswer::Connect;
    int answerDelayMs = 0;   // from the dial to its result
    bool setupFails = false; // a bare "AT" is fine, every other command line answers ERROR
    bool dead = false;       // answers nothing, not even an echo
    bool dataCalls = true;   // offers the data class 0; without it, fax only (class 8)
    int timeScale = 1;       // divides the guard time and the answer delay
};

class SimulatedModem {
public:
    // The identification text (ATI) and model name (AT+GMM).
    static constexpr const char* kModelName = "Tolvane Simulated Modem 9600";

    // Serves the line on fd (the master side of a pseudo-terminal, or one end of a socket pair).
    SimulatedModem(int fd, SimulatedModemOptions options);
    ~SimulatedModem();
    SimulatedModem(const SimulatedModem&) = delete;
    SimulatedModem& operator=(const SimulatedModem&) = delete;

    // Answers the line until stop is set.
    void Run(const std::atomic<bool>& stop);
    // From any thread: the terminal dropped DTR. A call in progress ends with NO CARRIER.
    void Hangup() { hangupWanted_ = true; }

    // Every command line received, without its CR, in order.
    std::vector<std::string> ReceivedLines() const;
    // The unit's module as the last call left it.
    std::vector<uint8_t> UnitImage() const;

    // The answer names the command line takes: connect, busy, no-answer, no-carrier, no-dialtone.
    static bool ParseAnswer(const std::string& name, DialAnswer& answer);

private:
    // The numeric result codes.
    enum Result {
        kOk = 0,
        kConnect = 1,
        kNoCarrier = 3,
        kError = 4,
        kNoDialtone = 6,
        kBusy = 7,
        kNoAnswer = 8
    };
    enum class Mode { Command, Dialing, Data };

    void ResetSettings();
    void OnCommandBytes(const uint8_t* bytes, std::size_t count);
    void OnDataBytes(const uint8_t* bytes, std::size_t count);
    void OnUnitBytes();
    void OnTick();
    void ExecuteLine(const std::string& line);
    // Runs the command c whose arguments start at at; false when the modem does not know it.
    bool ExecuteCommand(char c, const std::string& commands, std::size_t& at);
    void Dial(const std::string& number);
    void FinishDial();
    bool StartCall();
    void EndCall();
    void EnterDataMode();
    void SendResult(Result result);
    void SendInfo(const std::string& text);
    void ForwardToUnit(const std::string& bytes);
    std::chrono::steady_clock::duration GuardTime() const;

    int fd_;
    SimulatedModemOptions options_;
    bool echo_ = true;
    bool verbose_ = true;
    bool quiet_ = false;
    int resultLevel_ = 4; // X0 to X4
    std::array<int, 256> registers_{};
    Mode mode_ = Mode::Command;
    std::string lineBuffer_;
    std::chrono::steady_clock::time_point dialDue_{};
    // Data mode: the escape characters held back while it is not yet clear they are one, and
    // when the last byte came from the terminal (the guard time counts from there).
    int escapeCount_ = 0;
    std::chrono::steady_clock::time_point lastTerminalByte_{};
    std::atomic<bool> hangupWanted_{false};

    // The call: the modem's end of the link to the unit, the unit and its thread.
    int unitFd_ = -1;
    std::atomic<bool> unitStop_{false};
    std::thread unitThread_;
    std::unique_ptr<SimulatedUnit> unit_;

    mutable std::mutex mutex_;
    std::vector<std::string> receivedLines_;
};

} // namespace tolvane
