// tolvane-cli diff A.mem B.mem [--json]: what differs between two units' configurations, as text or
// as JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

// Exit status when the two configurations differ; new event records alone are no difference.
inline constexpr int kExitDiffers = 1;
// Exit status when either file does not load.
inline constexpr int kExitNotLoaded = 2;

// args are the words after "diff": the two files and --json, in any order.
int RunDiff(const std::vector<std::string>& args, UserServices& ui, std::ostream& out,
            std::ostream& err);

} // namespace tolvane
