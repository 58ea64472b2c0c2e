// A simulated unit answering a pseudo-terminal on its own thread for as long as it lives, paced
// for tests (time scale 20, which the program's side matches with ChannelTimeouts().ScaledDown).
#pragma once

#include "PseudoTerminal.h"
#include "SimulatedUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace tolvane {

class UnitOnLine {
public:
    static constexpr const char* kPassword = "246810";
    static constexpr int kTimeScale = 20;

    explicit UnitOnLine(std::vector<uint8_t> image, std::set<SimFault> faults = {}) {
        std::string error;
        if (!line_.Open(error)) {
            ADD_FAILURE() << error;
            return;
        }
        SimulatedUnitOptions options;
        options.image = std::move(image);
        options.password = kPassword;
        options.faults = std::move(faults);
        options.timeScale = kTimeScale;
        unit_ = std::make_unique<SimulatedUnit>(line_.MasterFd(), std::move(options));
        thread_ = std::thread([this] { unit_->Run(stop_); });
    }
    ~UnitOnLine() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    UnitOnLine(const UnitOnLine&) = delete;
    UnitOnLine& operator=(const UnitOnLine&) = delete;

    // What the program opens as its port.
    const std::string& Device() const { return line_.SlavePath(); }
    const SimulatedUnit& Unit() const { return *unit_; }

private:
    PseudoTerminal line_;
    std::unique_ptr<SimulatedUnit> unit_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace tolvane
