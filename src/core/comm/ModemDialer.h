// Places a data call through a modem on an open serial line with AT commands and reports how the
// call goes. A modem tells only the outcome of a dial (CONNECT, BUSY, NO ANSWER, ...), so the
// earlier states come from the steps the dialer takes: going off hook with "ATDT;" answers OK
// once there is a dial tone, then the number is dialed and the far end rings. Once connected the
// line carries the unit's bytes and belongs to the session until HangUp.
//
// One dialer serves one call. The channel stays the caller's; the dialer never closes it.
#pragma once

#include "comm/CallEvents.h"
#include "comm/ChannelTimeouts.h"

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace tolvane {

class SerialChannel;

enum class DialMethod { Tone, Pulse };

enum class DialOutcome {
    Connected,    // the line carries data now
    Disconnected, // the call did not come about; the events said why
    Failed,       // the modem refused or did not answer; error says why
    Cancelled     // Cancel came first; the line has been hung up
};

struct DialResult {
    DialOutcome outcome = DialOutcome::Failed;
    std::string reply; // the modem's last result line: "CONNECT 9600/ARQ", "NO DIALTONE", ...
    std::string error; // for Failed, the reason for the user
};

class ModemDialer {
public:
    ModemDialer(SerialChannel& channel, CallEvents& events);
    ModemDialer(const ModemDialer&) = delete;
    ModemDialer& operator=(const ModemDialer&) = delete;

    // Resets the modem and sets it up for dialing: echo off, result codes in words, and every
    // result code on, so a busy line and a missing dial tone are told apart from a plain failure.
    // false, with the reason in error, when the modem answers ERROR or nothing.
    bool Initialise(std::string& error);
    // Dials the number (the dialable form: prefixes and digits) and waits for the answer.
    DialResult Dial(const std::string& number, DialMethod method);
    // Ends the call, from data mode or not: DTR down for a moment, and when that cannot be done
    // or leaves the modem deaf, "+++" between guard times; then "ATH". Reports the line idle.
    // false, with the reason in error, when the modem does not confirm the hang-up.
    bool HangUp(std::string& error);
    // From any thread: the dial under way gives up at once and the line is hung up.
    void Cancel() { cancelled_ = true; }
    // Sends a command line and collects the information lines the modem answers before OK.
    // false on ERROR or silence.
    bool Ask(const std::string& command, std::vector<std::string>& lines);

private:
    enum class Reply { Ok, Error, None, Cancelled };

    // Sends a command line and waits for OK or ERROR; other lines on the way land in lines when
    // given, else they are passed over.
    Reply Command(const std::string& command, std::vector<std::string>* lines = nullptr);
    // Waits for the line that ends a dial (or the off-hook), which lands in reply; a cancel or
    // the time running out stops the dial with a key press.
    Reply AwaitDial(std::string& reply);
    bool Send(const std::string& text);
    // The next result line before the deadline; false on a time-out, a cut line or (when
    // cancellable) a cancel.
    bool ReadLine(std::string& line, std::chrono::steady_clock::time_point deadline,
                  bool cancellable);
    // Escapes to command mode: silence, "+++", silence, and OK.
    bool Escape();
    void Report(CallState state, DisconnectReason reason = DisconnectReason::None);

    SerialChannel& channel_;
    CallEvents& events_;
    ChannelTimeouts timeouts_;
    std::string pending_;     // received bytes not yet part of a whole line
    std::string lastCommand_; // a modem with echo on repeats it first
    bool connected_ = false;
    std::atomic<bool> cancelled_{false};
};

} // namespace tolvane
