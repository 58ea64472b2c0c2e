#include "comm/DirectPorts.h"

#include "comm/CCommSession.h"
#include "sites/ProfileFile.h"

namespace tolvane {

std::string DirectPortDevice(const std::string& configDirectory, int selector) {
    const ProfileFile settings(configDirectory + "/zemrix.ini");
    const std::string name = DirectPortName(selector);
    const std::optional<std::string> device = settings.Read().ReadString("ports", name);
    if (device && !device->empty()) {
        return *device;
    }
    return "/dev/ttyS" + std::to_string(selector - 2);
}

int DirectPortSelector(const std::string& name) {
    for (int selector = kCom1; selector <= kCom4; ++selector) {
        if (name == DirectPortName(selector)) {
            return selector;
        }
    }
    return kNoPort;
}

} // namespace tolvane
