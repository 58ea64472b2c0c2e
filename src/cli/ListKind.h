// One list that tolvane-cli list and import speak as CSV: its columns, the writer of its rows and
// the importer that takes rows through the editor's rules, with the reading that all of them
// share.
#pragma once

#include "CsvText.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class MemoryModule;
struct UnitConfiguration;

struct ListKind {
    using Fields = std::vector<std::string>;
    // The rows of the list, header excluded.
    using Writer = void (*)(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out);
    // The list in unit (and in the image, for the lists that go there at once) replaced by the
    // CSV's rows, or why not; a refusal changes nothing.
    using Importer = std::optional<CsvText::Failure> (*)(const ListKind& kind, std::string_view csv,
                                                         MemoryModule& image,
                                                         UnitConfiguration& unit);

    std::string_view name;
    Fields columns;
    Writer write = nullptr;
    Importer import = nullptr;
    int blockKind = 0; // block codes only

    // The header line, then every data row with one field for each column, to onRow.
    std::optional<CsvText::Failure> ReadRows(std::string_view csv,
                                             const CsvText::RowHandler& onRow) const;

    // Marks the dialogs show as check boxes are "yes" or "no" in the CSV.
    static std::string YesNo(bool yes) { return yes ? "yes" : "no"; }
    std::optional<std::string> ReadYesNo(const Fields& fields, std::size_t column, bool& yes) const;
};

} // namespace tolvane
