// A user who answers from a script and remembers everything the core showed, so tests can assert
// the exact texts and their order.
#pragma once

#include "document/UserServices.h"

#include <deque>
#include <string>
#include <vector>

namespace tolvane {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedUserServices : public UserServices {
public:
    // Answers given in order to questions; an Ok-only message box takes no answer from the script.
    void Answer(MessageAnswer answer) { answers_.push_back(answer); }

    MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;

    const std::vector<ShownMessage>& Shown() const { return shown_; }
    std::vector<std::string> Texts() const;
    void Forget() { shown_.clear(); }

private:
    std::deque<MessageAnswer> answers_;
    std::vector<ShownMessage> shown_;
};

} // namespace tolvane
