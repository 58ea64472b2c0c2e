// The commands of tolvane-cli that talk to a unit: download, upload, modems, which lists the
// modems this computer can call out with, and simulate, which plays a unit (alone, or behind a
// modem to dial) on a pseudo-terminal so the others (and the window) have something to talk to.
#pragma once

#include "comm/ModemList.h"

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

// args are the words after the command name.
int RunDownload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunUpload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Tests pass probe patterns that reach only their own simulated modems.
int RunModems(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::vector<std::string>& probePatterns = ModemList::DefaultProbePatterns());
int RunSimulate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolvane
