// The reports of the document's lists: block transmitters, block cards and the telephone
// directory.
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

} // namespace tolvane
