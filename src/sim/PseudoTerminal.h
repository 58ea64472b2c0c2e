// A pseudo-terminal pair for the simulated unit: the unit keeps the master side, the program
// opens the slave device by its path as it would a serial port.
#pragma once

#include <string>

namespace tolvane {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // false, with the system's reason in error, when no pair can be had.
    bool Open(std::string& error);
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open so the line stays up between sessions and stays in raw mode: with no slave open,
    // the master side reads as hung up, and a line in cooked mode would echo the unit's output.
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace tolvane
