#include "config/BlockCodeEditor.h"

#include "config/NumberField.h"

#include <algorithm>

namespace tolvane {

std::optional<std::string> BlockCodeEditor::ReadRange(std::string_view start, std::string_view end,
                                                      std::string_view group, BlockRange& range) {
    std::string why;
    const auto first = ReadNumberField("Start Code", start, 0, 65535, why);
    if (!first) {
        return why;
    }
    const auto last = ReadNumberField("End Code", end, 0, 65535, why);
    if (!last) {
        return why;
    }
    const auto validationGroup =
        ReadNumberField("Validation Group", group, 0, BlockRange::kMaxValidationGroup, why);
    if (!validationGroup) {
        return why;
    }
    if (*last < *first) {
        return "The end code can not be less than the start code";
    }
    range.SetRange(static_cast<uint16_t>(*first), static_cast<uint16_t>(*last));
    range.SetValidationGroup(static_cast<uint16_t>(*validationGroup));
    return std::nullopt;
}

std::optional<std::string> BlockCodeEditor::ReadSuspendCode(std::string_view text, uint16_t& code) {
    std::string why;
    const auto value = ReadNumberField("Code", text, 0, 65535, why);
    if (!value) {
        return why;
    }
    code = static_cast<uint16_t>(*value);
    return std::nullopt;
}

bool BlockCodeEditor::EditRange(std::size_t index, const BlockRange& range) {
    if (index >= copy_.ranges.size()) {
        return false;
    }
    BlockRange& target = copy_.ranges[index];
    target.SetRange(range.First(), range.Last());
    target.SetValidationGroup(range.ValidationGroup());
    return true;
}

bool BlockCodeEditor::RemoveRange(std::size_t index) {
    if (index >= copy_.ranges.size()) {
        return false;
    }
    copy_.ranges.erase(copy_.ranges.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::optional<std::size_t> BlockCodeEditor::RangeOf(uint16_t code) const {
    const auto range =
        std::find_if(copy_.ranges.begin(), copy_.ranges.end(),
                     [code](const BlockRange& r) { return r.First() <= code && code <= r.Last(); });
    if (range == copy_.ranges.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(range - copy_.ranges.begin());
}

std::optional<std::string> BlockCodeEditor::AddSuspended(uint16_t code) {
    if (!RangeOf(code)) {
        return "The code to suspend must exist inside a block range";
    }
    copy_.suspended.push_back(code);
    return std::nullopt;
}

bool BlockCodeEditor::RemoveSuspended(uint16_t code) {
    const auto found = std::find(copy_.suspended.begin(), copy_.suspended.end(), code);
    if (found == copy_.suspended.end()) {
        return false;
    }
    copy_.suspended.erase(found);
    return true;
}

std::vector<uint16_t> BlockCodeEditor::SuspendedSorted() const {
    std::vector<uint16_t> sorted = copy_.suspended;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

} // namespace tolvane
