#include "ListKind.h"

namespace tolvane {

namespace {

std::string HeaderText(const ListKind& kind) {
    std::string header = CsvText::Row(kind.columns);
    header.pop_back();
    return header;
}

} // namespace

std::optional<CsvText::Failure> ListKind::ReadRows(std::string_view csv,
                                                   const CsvText::RowHandler& onRow) const {
    bool headerRead = false;
    const auto wrongHeader = "the header must be " + HeaderText(*this);
    auto failure =
        CsvText::Read(csv, [&](const Fields& fields, int line) -> std::optional<std::string> {
            if (!headerRead) {
                headerRead = true;
                return fields == columns ? std::nullopt : std::optional(wrongHeader);
            }
            if (fields.size() != columns.size()) {
                return "a row has " + std::to_string(columns.size()) + " fields (" +
                       HeaderText(*this) + "), this one " + std::to_string(fields.size());
            }
            return onRow(fields, line);
        });
    if (!failure && !headerRead) {
        return CsvText::Failure{1, wrongHeader};
    }
    return failure;
}

std::optional<std::string> ListKind::ReadYesNo(const Fields& fields, std::size_t column,
                                               bool& yes) const {
    const std::string& text = fields[column];
    if (text != "yes" && text != "no") {
        return columns[column] + " must be yes or no, not \"" + text + "\"";
    }
    yes = text == "yes";
    return std::nullopt;
}

} // namespace tolvane
