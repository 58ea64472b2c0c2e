// The rules of the holiday editor: the holidays that come every year (month and day) and those
// that come once (with a year), each at most 24, kept packed in the order loaded or added. A slot
// of the unit's tables holds a holiday when its month and its day are both set.
#pragma once

#include "config/SystemTables.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

struct Holiday {
    uint8_t year = 0; // years since 1990; 0 for holidays that come every year
    uint8_t month = 0;
    uint8_t day = 0;

    bool operator==(const Holiday&) const = default;
};

enum class HolidayKind { EveryYear, Once };

class HolidayEditor {
public:
    static constexpr std::size_t kLimit = kHolidaySlots;

    void Load(const HolidayTable& everyYear, const ExpiringHolidayTable& once);
    void Store(HolidayTable& everyYear, ExpiringHolidayTable& once) const;
    const std::vector<Holiday>& List(HolidayKind kind) const;

    // Before Add opens the date dialog: refused when the list holds 24.
    std::optional<std::string> CheckRoom(HolidayKind kind) const;
    // Holidays that come every year drop the year.
    std::optional<std::string> Add(HolidayKind kind, Holiday holiday);
    bool Edit(HolidayKind kind, std::size_t index, Holiday holiday);
    bool Remove(HolidayKind kind, std::size_t index);

    // "January" to "December"; empty for anything else.
    static std::string MonthName(int month);

private:
    std::vector<Holiday>& ListOf(HolidayKind kind);

    std::vector<Holiday> everyYear_;
    std::vector<Holiday> once_;
};

} // namespace tolvane
