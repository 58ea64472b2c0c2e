#include "comm/ModemDialer.h"

#include "comm/SerialChannel.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <thread>

namespace tolvane {

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks for a cancel from another thread.
constexpr ChannelTimeouts::Duration kCancelSlice{50};

// What a dial string may hold: digits, the tone keys, pauses, waits and the tone or pulse
// switches, plus the blanks, brackets and dashes a modem passes over. A ';' would leave the modem
// waiting for more digits, and a CR would end the command early.
bool IsDialable(const std::string& number) {
    constexpr std::string_view kAllowed = "0123456789*#,!@WwPpTtAaBbCcDd ()-";
    return number.find_first_not_of(' ') != std::string::npos &&
           number.find_first_not_of(kAllowed) == std::string::npos;
}

// The result lines that end a dial; every other line (a modem may report the carrier, the
// protocol or the ringing on the way) is passed over.
bool EndsDial(const std::string& line) {
    static const std::string_view kFinal[] = {
        "OK", "CONNECT", "BUSY", "NO ANSWER", "NO CARRIER", "NO DIALTONE", "NO DIAL TONE", "ERROR"};
    return std::ranges::any_of(kFinal, [&](std::string_view word) {
        return line.starts_with(word) && (word == "CONNECT" || line.size() == word.size());
    });
}

} // namespace

ModemDialer::ModemDialer(SerialChannel& channel, CallEvents& events)
    : channel_(channel), events_(events), timeouts_(channel.Timeouts()) {}

bool ModemDialer::Initialise(std::string& error) {
    // The port was opened with DTR down, and a modem that follows DTR takes no command without
    // it. A pseudo-terminal has no DTR to raise, which is fine.
    channel_.SetDataTerminalReady(true);
    channel_.PurgeReceive();
    pending_.clear();
    for (const std::string command : {"ATZ", "ATE0V1X4"}) {
        switch (Command(command)) {
        case Reply::Ok:
            break;
        case Reply::Error:
            error = "The modem refused \"" + command + "\" with ERROR.";
            return false;
        default:
            error = "The modem does not answer: nothing came back to \"" + command + "\".";
            return false;
        }
    }
    return true;
}

DialResult ModemDialer::Dial(const std::string& number, DialMethod method) {
    DialResult result;
    if (!IsDialable(number)) {
        result.error = "\"" + number + "\" is not a number the modem can dial.";
        return result;
    }
    channel_.PurgeReceive();
    pending_.clear();
    const std::string dial = method == DialMethod::Tone ? "ATDT" : "ATDP";
    // Off hook first: OK says there is a dial tone, before a single digit has gone out.
    if (!Send(dial + ";\r")) {
        result.error = "The modem's line does not take the dial command.";
        return result;
    }
    Reply reply = AwaitDial(result.reply);
    if (reply == Reply::Ok && result.reply == "OK") {
        Report(CallState::DialTone);
        Report(CallState::Dialing);
        if (!Send(dial + number + "\r")) {
            result.error = "The modem's line does not take the dial command.";
            return result;
        }
        Report(CallState::Proceeding);
        reply = AwaitDial(result.reply);
    }
    if (reply == Reply::Cancelled) {
        std::string ignored;
        HangUp(ignored);
        result.outcome = DialOutcome::Cancelled;
        return result;
    }
    if (reply == Reply::None && !channel_.IsOpen()) {
        result.error = "The line to the modem was closed during the dial.";
        return result;
    }
    if (reply == Reply::None) {
        // Nobody picked up in all that time: the modem has been told to give up.
        Report(CallState::Disconnected, DisconnectReason::NoAnswer);
        result.outcome = DialOutcome::Disconnected;
        return result;
    }
    const std::string& line = result.reply;
    result.outcome = DialOutcome::Disconnected;
    if (line.starts_with("CONNECT")) {
        connected_ = true;
        result.outcome = DialOutcome::Connected;
        Report(CallState::Connected);
    } else if (line == "BUSY") {
        Report(CallState::Busy);
        Report(CallState::Disconnected, DisconnectReason::Busy);
    } else if (line == "NO ANSWER") {
        Report(CallState::Disconnected, DisconnectReason::NoAnswer);
    } else if (line == "NO CARRIER" || line.starts_with("NO DIAL")) {
        // NO CARRIER after a dial means the far end never gave a carrier: a voice answered, or
        // the modem stopped waiting for one. The call never came about, so it did not complete
        // normally; the same goes for a line without a dial tone.
        Report(CallState::Disconnected, DisconnectReason::Other);
    } else {
        result.outcome = DialOutcome::Failed;
        result.error = "The modem refused to dial: it answered \"" + line + "\".";
    }
    return result;
}

bool ModemDialer::HangUp(std::string& error) {
    if (connected_) {
        if (channel_.SetDataTerminalReady(false)) {
            std::this_thread::sleep_for(timeouts_.dtrDropTime);
            channel_.SetDataTerminalReady(true);
        }
        // A modem that follows DTR is back in command mode now, and so is one whose far end
        // hung up first (the unit does when the session leaves it). One still in the call passes
        // the AT on to the unit, no OK comes, and only "+++" brings it back.
        if (Command("AT") != Reply::Ok && !Escape()) {
            error = "The modem does not leave the call: no OK came after \"+++\".";
            return false;
        }
        connected_ = false;
    }
    if (Command("ATH") != Reply::Ok) {
        error = "The modem does not hang up: no OK came after \"ATH\".";
        return false;
    }
    Report(CallState::Idle);
    return true;
}

bool ModemDialer::Ask(const std::string& command, std::vector<std::string>& lines) {
    lines.clear();
    return Command(command, &lines) == Reply::Ok;
}

ModemDialer::Reply ModemDialer::Command(const std::string& command,
                                        std::vector<std::string>* lines) {
    if (!Send(command + "\r")) {
        return Reply::None;
    }
    lastCommand_ = command;
    const auto deadline = Clock::now() + timeouts_.modemCommandWait;
    std::string line;
    while (ReadLine(line, deadline, false)) {
        // The numeric forms too: a reset may bring back a stored profile that answers in digits.
        if (line == "OK" || line == "0") {
            return Reply::Ok;
        }
        if (line == "ERROR" || line == "4") {
            return Reply::Error;
        }
        if (lines != nullptr) {
            lines->push_back(line);
        }
    }
    return Reply::None;
}

ModemDialer::Reply ModemDialer::AwaitDial(std::string& reply) {
    lastCommand_.clear();
    const auto deadline = Clock::now() + timeouts_.modemAnswerWait;
    while (ReadLine(reply, deadline, true)) {
        if (EndsDial(reply)) {
            return reply == "ERROR" ? Reply::Error : Reply::Ok;
        }
    }
    reply.clear();
    // Any key stops a dial; the modem answers with a result line, read away here.
    Send("\r");
    const auto stopped = Clock::now() + timeouts_.modemCommandWait;
    std::string ignored;
    while (ReadLine(ignored, stopped, false) && !EndsDial(ignored)) {
    }
    return cancelled_ ? Reply::Cancelled : Reply::None;
}

bool ModemDialer::Send(const std::string& text) {
    return channel_.WriteBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()) ==
           text.size();
}

bool ModemDialer::ReadLine(std::string& line, Clock::time_point deadline, bool cancellable) {
    for (;;) {
        std::size_t end = 0;
        while ((end = pending_.find_first_of("\r\n")) != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (!line.empty() && line != lastCommand_) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<ChannelTimeouts::Duration>(deadline - Clock::now());
        if ((cancellable && cancelled_) || left.count() <= 0) {
            return false;
        }
        // One byte at a time: a read for more would wait out the read interval after each line.
        uint8_t byte = 0;
        const SerialChannel::ReadResult read =
            channel_.ReadBytes(&byte, 1, std::min(left, kCancelSlice));
        if (!read.ok) {
            return false;
        }
        if (read.count == 1) {
            pending_ += static_cast<char>(byte);
        }
    }
}

bool ModemDialer::Escape() {
    // A little over the guard time on both sides: the modem counts from when it took the last
    // byte, which is later than when it went out.
    const auto guard = timeouts_.modemGuardTime + timeouts_.modemGuardTime / 4;
    std::this_thread::sleep_for(guard);
    if (!Send("+++")) {
        return false;
    }
    lastCommand_.clear();
    const auto deadline = Clock::now() + guard + timeouts_.modemCommandWait;
    std::string line;
    while (ReadLine(line, deadline, false)) {
        if (line == "OK") {
            return true;
        }
    }
    return false;
}

void ModemDialer::Report(CallState state, DisconnectReason reason) {
    events_.OnCallState(state, reason);
}

} // namespace tolvane
