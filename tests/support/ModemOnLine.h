// A simulated modem answering a pseudo-terminal on its own thread for as long as it lives, paced
// for tests (time scale 20, which the program's side matches with ChannelTimeouts().ScaledDown).
// It can be reached through a link of the test's choosing, so that a probe pattern matches the
// test's own modems and never a real device.
#pragma once

#include "PseudoTerminal.h"
#include "SimulatedModem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

namespace tolvane {

class ModemOnLine {
public:
    static constexpr int kTimeScale = 20;

    // link, when given, is made to point at the line's device. The modem and the unit behind it
    // run at the tests' pace whatever options says.
    explicit ModemOnLine(SimulatedModemOptions options = {}, std::string link = {})
        : link_(std::move(link)) {
        std::string error;
        if (!line_.Open(error)) {
            ADD_FAILURE() << error;
            return;
        }
        if (!link_.empty() && ::symlink(line_.SlavePath().c_str(), link_.c_str()) != 0) {
            ADD_FAILURE() << "cannot link " << link_;
        }
        options.timeScale = kTimeScale;
        options.unit.timeScale = kTimeScale;
        modem_ = std::make_unique<SimulatedModem>(line_.MasterFd(), std::move(options));
        thread_ = std::thread([this] { modem_->Run(stop_); });
    }
    ~ModemOnLine() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (!link_.empty()) {
            ::unlink(link_.c_str());
        }
    }
    ModemOnLine(const ModemOnLine&) = delete;
    ModemOnLine& operator=(const ModemOnLine&) = delete;

    // The line's own device, not the link.
    const std::string& Device() const { return line_.SlavePath(); }
    const SimulatedModem& Modem() const { return *modem_; }

private:
    std::string link_;
    PseudoTerminal line_;
    std::unique_ptr<SimulatedModem> modem_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace tolvane
