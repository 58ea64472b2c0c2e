// tolvane-cli as a library: the whole tool behind one call, so tests capture what it prints.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

// Exit status for a command line that makes no sense.
inline constexpr int kExitUsage = 64;

// args excludes the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolvane
