// The rules of the validation group editor: fifteen groups, each a door schedule, four time zones
// (numbers 0 to 15) and an anti-passback mark, edited all at once in a grid.
#pragma once

#include "config/NumberField.h"
#include "config/SystemTables.h"

#include <optional>
#include <span>
#include <string>

namespace tolvane {

class ValidationGroupEditor {
public:
    // A group's number fields: its door schedule, then time zones 1 to 4.
    static constexpr int kNumbersPerGroup = 5;
    static constexpr int kFields = kTableEntries * kNumbersPerGroup;

    void Load(const ValidationGroupTable& table) { table_ = table; }
    void Store(ValidationGroupTable& table) const { table = table_; }
    const ValidationGroupTable& Table() const { return table_; }

    // Field f of group g (both from 0) is number f of the group: 0 the door schedule, 1 to 4 the
    // time zones.
    uint8_t Number(int group, int field) const;
    // "Group 3 Door Schedule", "Group 3 Time Zone 2".
    static std::string FieldLabel(int group, int field);

    // The grid's OK: the 75 number fields group by group, and the 15 anti-passback marks. The
    // first field that is not a number from 0 to 15 is refused and nothing is taken.
    std::optional<FieldRefusal> ReadFields(std::span<const std::string> numbers,
                                           std::span<const bool> antiPassback);

private:
    ValidationGroupTable table_;
};

} // namespace tolvane
