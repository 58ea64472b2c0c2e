// tolvane-cli list and import: one list of a memory module file as CSV, and that list replaced by
// the rows of a CSV, each row going through the same rules as the editor's Add (or OK, for the
// fixed tables), so that the file ends as if the rows had been typed into the window and saved.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace tolvane {

class UserServices;
struct ListKind;
struct UnitConfiguration;

// Exit status of an import that a row, or the size of the list, refused.
inline constexpr int kExitDataRefused = 65;

// The list by its KIND name; nullptr for an unknown name.
const ListKind* FindListKind(std::string_view name);
// The list as CSV: the header line, then its rows.
void WriteList(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);

// KIND is entry-codes, block-transmitters, block-cards, directory, validation-groups,
// door-schedules, time-zones or holidays; anything else is a usage error. The CSV goes to out.
int RunList(const std::string& kind, const std::string& path, UserServices& ui, std::ostream& out,
            std::ostream& err);
// A refused import says "CSVPATH:LINE: why" on err and leaves the file as it was, backups too.
int RunImport(const std::string& kind, const std::string& path, const std::string& csvPath,
              UserServices& ui, std::ostream& err);

} // namespace tolvane
