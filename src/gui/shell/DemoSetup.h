// The demo: a configuration directory of its own holding the demo image and a gate list with the
// demo installation selected, so a newcomer can try everything without touching their own files.
#pragma once

#include <string>

namespace tolvane {

class UserServices;

// Prepares the demo directory and returns it. The demo image is written once and then kept, so
// changes saved to it last until the user deletes it.
std::string PrepareDemo(UserServices& ui);

} // namespace tolvane
