// The demo: a configuration directory of its own holding the demo image and a gate list with the
// demo installation selected, and a simulated unit holding the demo image behind COM1, so a
// newcomer can try everything, downloads and uploads included, without touching their own files;
// and the same unit at the far end of a simulated modem, so the telephone path can be tried too.
#pragma once

#include "PseudoTerminal.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tolvane {

class SimulatedModem;
class SimulatedUnit;
class UserServices;

class DemoEnvironment {
public:
    DemoEnvironment();
    ~DemoEnvironment();
    DemoEnvironment(const DemoEnvironment&) = delete;
    DemoEnvironment& operator=(const DemoEnvironment&) = delete;

    // Prepares the demo directory and starts the simulated unit; returns the directory. The demo
    // image is written once and then kept, so changes saved to it last until the user deletes it.
    std::string Start(UserServices& ui);

private:
    PseudoTerminal line_;
    PseudoTerminal modemLine_;
    std::unique_ptr<SimulatedUnit> unit_;
    std::unique_ptr<SimulatedModem> modem_;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

} // namespace tolvane
