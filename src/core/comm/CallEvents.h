// How a telephone call to the unit is going, as the modem dialer sees it: the states of the call
// in the order they come, and why a call ended. The session turns each into its log line.
#pragma once

#include <string>

namespace tolvane {

enum class CallState { Idle, DialTone, Dialing, Proceeding, Busy, Connected, Disconnected };

// Why a call ended; None for every state but Disconnected.
enum class DisconnectReason { None, Normal, Busy, NoAnswer, Other };

class CallEvents {
public:
    virtual ~CallEvents() = default;

    // Called on the dialing thread, in the order the states are reached.
    virtual void OnCallState(CallState state, DisconnectReason reason) = 0;

    // The progress log's line for a state: "Got a dialtone", "Call connected!", "No answer", ...
    static std::string LogLine(CallState state, DisconnectReason reason);
};

} // namespace tolvane
