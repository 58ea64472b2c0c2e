// tolvane-cli report KIND FILE [options]: a report exactly as the report view shows it.
#pragma once

#include "reports/EventTime.h"

#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

// args are the words after "report". now is where the filter's date range is reset to.
int RunReport(const std::vector<std::string>& args, const EventTime& now, UserServices& ui,
              std::ostream& out, std::ostream& err);

} // namespace tolvane
