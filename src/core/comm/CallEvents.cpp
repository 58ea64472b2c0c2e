#include "comm/CallEvents.h"

namespace tolvane {

std::string CallEvents::LogLine(CallState state, DisconnectReason reason) {
    switch (state) {
    case CallState::Idle:
        return "Line is now idle";
    case CallState::DialTone:
        return "Got a dialtone";
    case CallState::Dialing:
        return "Now dialing";
    case CallState::Proceeding:
        return "Waiting for answer";
    case CallState::Busy:
        return "Line is busy";
    case CallState::Connected:
        return "Call connected!";
    case CallState::Disconnected:
        break;
    }
    switch (reason) {
    case DisconnectReason::Normal:
        return "Call completed";
    case DisconnectReason::Busy:
        return "Disconnect due to busy line";
    case DisconnectReason::NoAnswer:
        return "No answer";
    default:
        return "Line was disconnected";
    }
}

} // namespace tolvane
