// Comma-separated text as spreadsheets write and read it, through libcsv. Reading is strict: a
// broken quote is an error, not a guess. Writing quotes only the fields that need it. Blanks
// around a field's text belong to the field, quoted or not, so a name keeps its leading blank.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class CsvText {
public:
    struct Failure {
        int line = 0; // the first line of the text is 1
        std::string message;
    };
    // Gets each row's fields and the line the row starts on; a message refuses the row and ends
    // the reading there.
    using RowHandler =
        std::function<std::optional<std::string>(const std::vector<std::string>& fields, int line)>;

    // Every row in order. A UTF-8 byte order mark before the first row is dropped, rows may end
    // with LF or CR LF, and empty lines are skipped. The first refusal or quoting error comes back.
    static std::optional<Failure> Read(std::string_view text, const RowHandler& onRow);

    // One row ended by LF: fields joined by commas, quoted when they hold a comma, a quote, CR or
    // LF.
    static std::string Row(const std::vector<std::string>& fields);
};

} // namespace tolvane
