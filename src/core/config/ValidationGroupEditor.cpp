#include "config/ValidationGroupEditor.h"

namespace tolvane {

uint8_t ValidationGroupEditor::Number(int group, int field) const {
    const auto g = static_cast<std::size_t>(group);
    return field == 0 ? table_.doorSchedule[g]
                      : table_.timeZone[static_cast<std::size_t>(field - 1)][g];
}

std::string ValidationGroupEditor::FieldLabel(int group, int field) {
    const std::string prefix = "Group " + std::to_string(group + 1) + " ";
    return prefix + (field == 0 ? "Door Schedule" : "Time Zone " + std::to_string(field));
}

std::optional<FieldRefusal> ValidationGroupEditor::ReadFields(std::span<const std::string> numbers,
                                                              std::span<const bool> antiPassback) {
    ValidationGroupTable read = table_;
    for (int f = 0; f < kFields && f < static_cast<int>(numbers.size()); ++f) {
        const int group = f / kNumbersPerGroup;
        const int field = f % kNumbersPerGroup;
        std::string why;
        const auto value = ReadNumberField(FieldLabel(group, field),
                                           numbers[static_cast<std::size_t>(f)], 0, 15, why);
        if (!value) {
            return FieldRefusal{f, why};
        }
        const auto g = static_cast<std::size_t>(group);
        (field == 0 ? read.doorSchedule[g]
                    : read.timeZone[static_cast<std::size_t>(field - 1)][g]) =
            static_cast<uint8_t>(*value);
    }
    for (std::size_t g = 0; g < read.antiPassback.size() && g < antiPassback.size(); ++g) {
        read.antiPassback[g] = antiPassback[g] ? 1 : 0;
    }
    table_ = read;
    return std::nullopt;
}

} // namespace tolvane
