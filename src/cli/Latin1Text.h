// Names are Latin-1 bytes in the unit, the unit's character set, and UTF-8 in what tolvane-cli
// writes for other programs.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

std::string Latin1ToUtf8(std::string_view bytes);

} // namespace tolvane
