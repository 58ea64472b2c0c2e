// Every wait on the line to the unit, in one place. The defaults are the unit's own; tests pass
// a scaled-down copy so a whole login and transfer runs in a fraction of a second through the
// same timing code.
#pragma once

#include <chrono>

namespace tolvane {

struct ChannelTimeouts {
    using Duration = std::chrono::milliseconds;

    Duration readInterval{1000};  // longest silence between two bytes of one read
    Duration readPerByte{1000};   // total read time: per byte asked for ...
    Duration readConstant{500};   // ... plus this
    Duration writePerByte{1000};  // total write time: per byte written ...
    Duration writeConstant{500};  // ... plus this
    Duration protocolWait{10000}; // XModem's wait for a packet header or an answer
    Duration cancelWait{5000};    // how long a cancel waits for the thread to stop
    // The modem's side: the answer to one command line, the answer to a dial (the far end
    // ringing out included), the silence around "+++", and how long DTR stays down to hang up.
    Duration modemCommandWait{3000};
    Duration modemAnswerWait{60000};
    Duration modemGuardTime{1000};
    Duration dtrDropTime{1000};

    // The same proportions, each divided by factor (at least 1 ms).
    ChannelTimeouts ScaledDown(int factor) const;
};

} // namespace tolvane
