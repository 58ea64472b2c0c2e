#include "TerminalUserServices.h"

namespace tolvane {

MessageAnswer TerminalUserServices::ShowMessage(const std::string& text, MessageIcon /*icon*/,
                                                MessageButtons buttons) {
    err_ << text << '\n';
    err_.flush();
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

} // namespace tolvane
