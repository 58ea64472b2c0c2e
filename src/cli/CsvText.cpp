#include "CsvText.h"

#include <csv.h>

#include <algorithm>

namespace tolvane {

namespace {

// What the parser has seen so far. The text goes in a line at a time, so that every row knows the
// line it started on even when a quoted field runs over several lines.
struct ReadState {
    explicit ReadState(const CsvText::RowHandler& handler) : onRow(handler) {}

    const CsvText::RowHandler& onRow;
    std::vector<std::string> fields;
    int line = 0;
    int rowStart = 0;
    // The last thing the parser reported was the end of a row.
    bool rowEnded = false;
    std::optional<CsvText::Failure> failure;
};

// No blank is trimmed: a field is its characters, as in RFC 4180.
int NoTrimmedBlanks(unsigned char /*c*/) {
    return 0;
}

void OnField(void* text, std::size_t size, void* data) {
    auto& state = *static_cast<ReadState*>(data);
    state.fields.emplace_back(static_cast<const char*>(text), size);
    state.rowEnded = false;
}

void OnRowEnd(int /*terminator*/, void* data) {
    auto& state = *static_cast<ReadState*>(data);
    if (!state.failure) {
        if (auto refusal = state.onRow(state.fields, state.rowStart)) {
            state.failure = CsvText::Failure{state.rowStart, std::move(*refusal)};
        }
    }
    state.fields.clear();
    state.rowEnded = true;
    // After a lone CR the next row starts on this same line.
    state.rowStart = state.line;
}

} // namespace

std::optional<CsvText::Failure> CsvText::Read(std::string_view text, const RowHandler& onRow) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        return Failure{1, "out of memory"};
    }
    csv_set_space_func(&parser, NoTrimmedBlanks);
    ReadState state(onRow);
    // The parser holds part of a row across the end of the last line fed: a quoted field goes on.
    bool insideRow = false;
    for (std::size_t at = 0; at < text.size() && !state.failure;) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        const std::string_view line = text.substr(at, end - at);
        at = end;
        ++state.line;
        if (!insideRow) {
            state.rowStart = state.line;
        }
        state.rowEnded = false;
        if (csv_parse(&parser, line.data(), line.size(), OnField, OnRowEnd, &state) !=
                line.size() &&
            !state.failure) {
            const int error = csv_error(&parser);
            state.failure = Failure{
                state.line, error == CSV_EPARSE ? "bad quoting: a field with a quote in it must be "
                                                  "enclosed in quotes, and its own quotes doubled"
                                                : csv_strerror(error)};
        }
        if (insideRow || line.find_first_not_of("\r\n") != std::string_view::npos) {
            insideRow = !state.rowEnded;
        }
    }
    if (!state.failure && csv_fini(&parser, OnField, OnRowEnd, &state) != 0) {
        state.failure = Failure{state.rowStart, "bad quoting: a quoted field is not closed"};
    }
    csv_free(&parser);
    return state.failure;
}

std::string CsvText::Row(const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (i > 0) {
            row += ',';
        }
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            row += field;
            continue;
        }
        const std::size_t size = csv_write(nullptr, 0, field.data(), field.size());
        const std::size_t start = row.size();
        row.resize(start + size);
        csv_write(row.data() + start, size, field.data(), field.size());
    }
    row += '\n';
    return row;
}

} // namespace tolvane
