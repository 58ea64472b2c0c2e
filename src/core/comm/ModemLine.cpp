#include "comm/ModemLine.h"

#include <system_error>
#include <utility>

namespace tolvane {

namespace {

LineMessage Reply(int request, int result = 0, std::string detail = {}) {
    LineMessage message;
    message.kind = LineMessage::Kind::Reply;
    message.request = request;
    message.result = result;
    message.detail = std::move(detail);
    return message;
}

LineMessage State(CallState state, DisconnectReason reason, std::string detail = {}) {
    LineMessage message;
    message.state = state;
    message.reason = reason;
    message.detail = std::move(detail);
    return message;
}

} // namespace

ModemLine::ModemLine(SerialChannel& channel, std::function<void()> wake)
    : dialer_(channel, *this), wake_(std::move(wake)) {}

ModemLine::~ModemLine() {
    Join();
}

bool ModemLine::MakeCall(int request, const std::string& number, DialMethod method) {
    makeCallRequest_ = request;
    try {
        thread_ = std::thread(&ModemLine::Run, this, number, method);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void ModemLine::Drop(int request) {
    {
        const std::lock_guard lock(mutex_);
        if (dropRequest_ != 0) {
            return;
        }
        dropRequest_ = request;
    }
    dialer_.Cancel();
    dropSignal_.notify_all();
}

bool ModemLine::Dropping() const {
    const std::lock_guard lock(mutex_);
    return dropRequest_ != 0;
}

std::deque<LineMessage> ModemLine::TakeMessages() {
    const std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
}

void ModemLine::Join() {
    if (thread_.joinable()) {
        Drop(-1);
        thread_.join();
    }
}

void ModemLine::Run(std::string number, DialMethod method) {
    std::string setupError;
    if (!dialer_.Initialise(setupError)) {
        // No call came about, so there is nothing to drop later.
        Post(Reply(makeCallRequest_, 1, setupError));
        return;
    }
    Post(Reply(makeCallRequest_));
    // A drop asked for while the modem was being set up leaves the number undialed.
    DialResult dialed;
    dialed.outcome = DialOutcome::Cancelled;
    if (!Dropping()) {
        dialed = dialer_.Dial(number, method);
    }
    if (dialed.outcome == DialOutcome::Failed) {
        // The modem would not place the call: to the session that is a call that ended.
        Post(State(CallState::Disconnected, DisconnectReason::Other, dialed.error));
    }
    int request = 0;
    {
        // While the call is up the session has the line; the dialer touches it again only to
        // hang up.
        std::unique_lock lock(mutex_);
        dropSignal_.wait(lock, [this] { return dropRequest_ != 0; });
        request = dropRequest_;
    }
    // A cancelled dial has hung up already.
    std::string error;
    const bool free = dialed.outcome == DialOutcome::Cancelled || dialer_.HangUp(error);
    Post(Reply(request, free ? 0 : 1, error));
}

void ModemLine::OnCallState(CallState state, DisconnectReason reason) {
    Post(State(state, reason));
}

void ModemLine::Post(LineMessage message) {
    {
        const std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
    }
    if (wake_) {
        wake_();
    }
}

} // namespace tolvane
