// A user who is never asked anything in the benchmarks: packing a module that fits shows nothing.
#pragma once

#include "support/UserServices.h"

namespace tolvane {

class SilentUser : public UserServices {
public:
    MessageAnswer ShowMessage(const std::string&, MessageIcon, MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

} // namespace tolvane
