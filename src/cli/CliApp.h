// tolvane-cli as a library: the whole tool behind one call, so tests capture what it prints.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

// Exit status for a command line that makes no sense.
inline constexpr int kExitUsage = 64;

// "usage: " and the command's forms, to print when its words make no sense; the whole tool's for
// a name that is no command.
std::string CommandUsage(const std::string& command);

// args excludes the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolvane
