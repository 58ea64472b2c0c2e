// The demo: a configuration directory of its own holding the demo image and a gate list with the
// demo installation selected, and a simulated unit holding the demo image behind COM1, so a
// newcomer can try everything, downloads and uploads included, without touching their own files.
#pragma once

#include "PseudoTerminal.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace tolvane {

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
    std::unique_ptr<SimulatedUnit> unit_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace tolvane
