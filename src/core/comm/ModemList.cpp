#include "comm/ModemList.h"

#include "comm/CCommSession.h"
#include "comm/CallEvents.h"
#include "comm/DirectPorts.h"
#include "comm/ModemDialer.h"
#include "comm/SerialChannel.h"
#include "sites/ProfileFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <glob.h>
#include <optional>
#include <set>
#include <string_view>
#include <strings.h>
#include <unistd.h>

namespace tolvane {

namespace {

// Where udev keeps a link per serial device named after its maker, model and serial number:
// the same for the same modem whichever port it was plugged into.
constexpr const char* kStableLinks = "/dev/serial/by-id";

// The device a path stands for, so a link and its target count as one device; the path as
// given when it leads nowhere.
std::string DeviceBehind(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Every path the patterns match, each pattern's in sorted order.
std::vector<std::string> Matching(const std::vector<std::string>& patterns) {
    std::vector<std::string> paths;
    for (const std::string& pattern : patterns) {
        glob_t found{};
        if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
            paths.insert(paths.end(), found.gl_pathv, found.gl_pathv + found.gl_pathc);
        }
        ::globfree(&found);
    }
    return paths;
}

// The stable link that leads to the device, else the path itself.
std::string StablePath(const std::string& path) {
    const std::string device = DeviceBehind(path);
    for (const std::string& link : Matching({std::string(kStableLinks) + "/*"})) {
        if (DeviceBehind(link) == device) {
            return link;
        }
    }
    return path;
}

// Whether the answer to "AT+FCLASS=?" lists the service classes without class 0, data. It comes
// as "0,1,8", "(0,1,8)" or "+FCLASS: 0,1,8"; anything else lists nothing.
bool LacksDataClass(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return false;
    }
    std::string text = lines.front();
    std::erase(text, ' ');
    std::string_view list = text;
    if (list.starts_with("+FCLASS:")) {
        list.remove_prefix(8);
    }
    if (list.size() >= 2 && list.front() == '(' && list.back() == ')') {
        list = list.substr(1, list.size() - 2);
    }
    if (list.empty()) {
        return false;
    }
    bool hasData = false;
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (item.empty() || item.front() < '0' || item.front() > '9') {
            return false;
        }
        // A range such as "0-2" holds class 0 as well.
        hasData = hasData || item.substr(0, item.find('-')) == "0";
        if (comma == std::string_view::npos) {
            return !hasData;
        }
        list.remove_prefix(comma + 1);
    }
}

// Probing places no call, so nothing hears of call states.
class NoCallEvents : public CallEvents {
public:
    void OnCallState(CallState, DisconnectReason) override {}
};

// A modem answering on a device: what it calls itself and whether it places data calls.
struct Answer {
    std::string name;
    bool dataCalls = true;
};

// Opens the device, raises DTR and asks it "AT"; nullopt when it will not open or does not say
// OK. A modem the user has named is not asked for its own name. One that knows no service
// classes (ERROR) is an older data modem.
std::optional<Answer> Probe(const std::string& device, const ChannelTimeouts& timeouts,
                            bool askName) {
    SerialChannel channel(timeouts);
    std::string error;
    if (!channel.Open(device, device, error)) {
        return std::nullopt;
    }
    channel.SetDataTerminalReady(true);
    channel.PurgeReceive();
    NoCallEvents events;
    ModemDialer dialer(channel, events);
    std::vector<std::string> lines;
    if (!dialer.Ask("AT", lines)) {
        return std::nullopt;
    }
    Answer answer;
    for (const char* command : {"AT+GMM", "ATI"}) {
        if (askName && answer.name.empty() && dialer.Ask(command, lines) && !lines.empty()) {
            answer.name = lines.front();
        }
    }
    answer.dataCalls = !(dialer.Ask("AT+FCLASS=?", lines) && LacksDataClass(lines));
    return answer;
}

} // namespace

std::vector<std::string> ModemList::DefaultProbePatterns() {
    return {"/dev/ttyACM*", "/dev/ttyUSB*"};
}

ModemList::Status ModemList::Find(const std::string& configDirectory,
                                  const ChannelTimeouts& timeouts,
                                  const std::vector<std::string>& probePatterns) {
    devices_.clear();
    const ProfileFile file(configDirectory + "/zemrix.ini");
    // As this program's user, not the login's: a file it cannot read hides the direct ports, and
    // a unit's line must never be sent a modem command.
    if (::faccessat(AT_FDCWD, file.Path().c_str(), F_OK, AT_EACCESS) == 0 &&
        ::faccessat(AT_FDCWD, file.Path().c_str(), R_OK, AT_EACCESS) != 0) {
        return Status::Unusable;
    }
    const ProfileSnapshot settings = file.Read();

    std::set<std::string> taken;
    for (int selector = kCom1; selector <= kCom4; ++selector) {
        taken.insert(DeviceBehind(DirectPortDevice(configDirectory, selector)));
    }
    for (const std::string& name : settings.KeysOf("modems")) {
        ModemInfo modem;
        modem.name = name;
        modem.device = settings.ReadString("modems", name).value_or("");
        modem.identifier = IdentifierFor(modem.device);
        // The user named it: it stays even when it says nothing now, so that dialing it fails
        // with a reason rather than the modem going missing from the list. A device that is a
        // unit's direct line as well is never asked anything.
        const bool mine = taken.insert(DeviceBehind(modem.device)).second;
        if (const std::optional<Answer> answer =
                mine ? Probe(modem.device, timeouts, false) : std::nullopt) {
            modem.dataCalls = answer->dataCalls;
        }
        devices_.push_back(std::move(modem));
    }
    for (const std::string& path : Matching(probePatterns)) {
        if (!taken.insert(DeviceBehind(path)).second) {
            continue;
        }
        if (const std::optional<Answer> answer = Probe(path, timeouts, true)) {
            devices_.push_back({answer->name.empty() ? path : answer->name, path,
                                IdentifierFor(StablePath(path)), answer->dataCalls});
        }
    }
    return devices_.empty() ? Status::NoDevices : Status::Ok;
}

std::vector<std::size_t> ModemList::Listed() const {
    std::vector<std::size_t> listed;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (devices_[i].dataCalls) {
            listed.push_back(i);
        }
    }
    std::ranges::sort(listed, [this](std::size_t a, std::size_t b) {
        const int order = ::strcasecmp(devices_[a].name.c_str(), devices_[b].name.c_str());
        return order != 0 ? order < 0 : devices_[a].identifier < devices_[b].identifier;
    });
    return listed;
}

uint32_t ModemList::IdentifierFor(const std::string& device) {
    // 32-bit FNV-1a: short, spread well and the same on every computer.
    uint32_t hash = 2166136261u;
    for (const char c : device) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace tolvane
