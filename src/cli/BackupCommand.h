// tolvane-cli backup-all: a copy of every listed unit's memory module, fetched one unit after
// another through the password and port kept with it, each into a file of its own that is never
// written over. Meant for cron: it asks nothing, a unit that fails costs only its own copy, and
// the closing table says what became of each.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

// args are the words after the command name.
int RunBackupAll(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolvane
