// One telephone call on an open modem line, worked on a thread of its own so that the window
// stays responsive through a minute of ringing: the modem is set up and the number dialed, the
// call waits while the session uses the line, and it is hung up when asked to drop. What happens
// becomes line messages, queued for the user interface thread, which is woken for each and takes
// them in order.
#pragma once

#include "comm/CallEvents.h"
#include "comm/ModemDialer.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tolvane {

class SerialChannel;

struct LineMessage {
    enum class Kind { CallState, Reply };
    Kind kind = Kind::CallState;
    // A call state, with the reason for Disconnected.
    CallState state = CallState::Idle;
    DisconnectReason reason = DisconnectReason::None;
    // A reply: the request it answers, 0 for success, and what went wrong otherwise.
    int request = 0;
    int result = 0;
    // For a reply that failed, or a call that ended for a reason of the modem's own: why.
    std::string detail;
};

class ModemLine : private CallEvents {
public:
    // wake is called on the line's thread each time a message has been queued.
    ModemLine(SerialChannel& channel, std::function<void()> wake);
    ~ModemLine() override;
    ModemLine(const ModemLine&) = delete;
    ModemLine& operator=(const ModemLine&) = delete;

    // Starts the call: the modem is set up, which the reply to request answers, then the number
    // dialed, whose progress comes as call states. false when the thread cannot be started.
    bool MakeCall(int request, const std::string& number, DialMethod method);
    // Ends the call however far it came, a dial under way included; the reply to request says
    // when the line is free. Only the first drop counts.
    void Drop(int request);
    // Whether a drop has been asked for.
    bool Dropping() const;
    // The messages queued since the last call, oldest first.
    std::deque<LineMessage> TakeMessages();
    // Waits for the thread to end; a call still up is dropped first.
    void Join();

private:
    void Run(std::string number, DialMethod method);
    void OnCallState(CallState state, DisconnectReason reason) override;
    void Post(LineMessage message);

    ModemDialer dialer_;
    std::function<void()> wake_;
    std::thread thread_;
    int makeCallRequest_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable dropSignal_;
    int dropRequest_ = 0; // 0 until a drop is asked for
    std::deque<LineMessage> messages_;
};

} // namespace tolvane
