#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

namespace tolvane {

MessageAnswer ScriptedUserServices::ShowMessage(const std::string& text, MessageIcon icon,
                                                MessageButtons buttons) {
    shown_.push_back({text, icon, buttons});
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return MessageAnswer::Cancel;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedUserServices::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& message : shown_) {
        texts.push_back(message.text);
    }
    return texts;
}

} // namespace tolvane
