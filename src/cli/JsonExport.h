// Everything an image unpacks into, as JSON: for scripts, checks and comparing units.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace tolvane {

struct UnitConfiguration;

nlohmann::ordered_json ExportJson(const UnitConfiguration& unit, uint16_t directoryCapacity);

} // namespace tolvane
