// Ctrl+C and termination become a cancel for as long as a command that talks to a unit runs: the
// command looks at the flag and winds its session down as the window's Cancel would.
#pragma once

#include <atomic>
#include <csignal>

namespace tolvane {

class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // Set by the signal, cleared when a guard is made.
    static std::atomic<bool>& Flag();
    // Whether an interrupt came since the last look.
    static bool Take() { return Flag().exchange(false); }
    // Whether any interrupt came while this guard lives, taken or not: a run of many sessions
    // stops after the one it cancelled.
    static bool Came();

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

} // namespace tolvane
