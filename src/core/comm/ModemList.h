// The modems this computer can call out with: those named in "zemrix.ini" (section "modems",
// name=device) and the USB and ACM serial devices that answer "AT" with "OK". Each keeps a
// permanent identifier, so the modem chosen last time is found again however the devices were
// numbered this time. Only a modem that places data calls is offered for dialing.
#pragma once

#include "comm/ChannelTimeouts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tolvane {

struct ModemInfo {
    std::string name;        // the configured name, else the modem's own (AT+GMM, else ATI)
    std::string device;      // the device path the line is opened on
    uint32_t identifier = 0; // the same for the same modem from one run to the next
    bool dataCalls = true;   // places data calls; a modem without is never listed
};

class ModemList {
public:
    enum class Status {
        Ok,        // at least one device found
        NoDevices, // nothing configured, nothing answered
        Unusable   // the settings could not be read
    };

    // A list of the given devices, as a test or a caller that knows them builds it.
    explicit ModemList(std::vector<ModemInfo> devices = {}) : devices_(std::move(devices)) {}

    // The serial devices probed for a modem by default.
    static std::vector<std::string> DefaultProbePatterns();

    // Looks for modems: the configured ones first, then every device matching a probe pattern
    // that is not configured already as a modem or as a direct port.
    Status Find(const std::string& configDirectory, const ChannelTimeouts& timeouts,
                const std::vector<std::string>& probePatterns = DefaultProbePatterns());

    // Every device found, listed or not, in the order found.
    const std::vector<ModemInfo>& Devices() const { return devices_; }
    // The indexes into Devices() of the modems offered for dialing, in the alphabetical order of
    // their names.
    std::vector<std::size_t> Listed() const;

    // The permanent identifier of a device path.
    static uint32_t IdentifierFor(const std::string& device);

private:
    std::vector<ModemInfo> devices_;
};

} // namespace tolvane
