#include "comm/ChannelTimeouts.h"

#include <algorithm>

namespace tolvane {

ChannelTimeouts ChannelTimeouts::ScaledDown(int factor) const {
    auto scale = [factor](Duration value) {
        return std::max(Duration(1), value / std::max(factor, 1));
    };
    return {scale(readInterval),   scale(readPerByte),      scale(readConstant),
            scale(writePerByte),   scale(writeConstant),    scale(protocolWait),
            scale(cancelWait),     scale(modemCommandWait), scale(modemAnswerWait),
            scale(modemGuardTime), scale(dtrDropTime)};
}

} // namespace tolvane
