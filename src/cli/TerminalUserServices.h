// The command-line tool's side of the user seam: messages go to standard error, one after the
// other, and questions are answered as a cautious user would (No) since nobody is there to ask.
#pragma once

#include "support/UserServices.h"

#include <ostream>

namespace tolvane {

class TerminalUserServices : public UserServices {
public:
    explicit TerminalUserServices(std::ostream& err) : err_(err) {}

    MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    std::ostream& err_;
};

} // namespace tolvane
