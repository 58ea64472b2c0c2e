// The event log report as data, for spreadsheets and scripts: one CSV row or JSON object for each
// line the report prints, in its order. Columns: time, channel, device, code, name, event,
// detail (reports/EventFields.h says what each holds).
#pragma once

#include "reports/EventLine.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tolvane {

// The header row, then a row for each line.
std::string EventLogCsv(const std::vector<EventLine>& lines);

// An array of objects keyed by the CSV's column names. The code is a number for a transmitter,
// card or directory number, a string for an entry code's digits, and null when there is none.
nlohmann::ordered_json EventLogJson(const std::vector<EventLine>& lines);

} // namespace tolvane
