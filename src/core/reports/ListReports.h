// The reports of the document's lists: block transmitters, block cards and the telephone
// directory, and the way telephone numbers are shown.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tolvane {

class DirectoryList;
struct BlockCodeList;

// kind 4 block transmitters, 5 block cards (the report kinds); any other kind gives nothing.
std::string BuildBlockReport(const BlockCodeList& list, int reportKind);
std::string BuildDirectoryReport(const DirectoryList& directory);

// 7 digits as ddd-dddd, 10 as (ddd) ddd-dddd, 11 as d (ddd) ddd-dddd, any other count plain.
std::string FormatPhoneNumber(std::span<const uint16_t> digits, int count);

} // namespace tolvane
