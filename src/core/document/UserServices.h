// The seam between the core and whoever talks to the user. The core never shows anything itself:
// every message box goes through this interface, which the window, the command-line tool and the
// tests each implement in their own way.
#pragma once

#include <string>

namespace tolvane {

enum class MessageIcon { None, Exclamation, Question, Information, Stop };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class UserServices {
public:
    virtual ~UserServices() = default;

    virtual MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                                      MessageButtons buttons) = 0;
};

} // namespace tolvane
