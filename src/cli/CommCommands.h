// The commands of tolvane-cli that talk to a unit: download, upload, and simulate, which plays a
// unit (alone, or behind a modem to dial) on a pseudo-terminal so the others (and the window)
// have something to talk to.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

// args are the words after the command name.
int RunDownload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunUpload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunSimulate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolvane
