#include "reports/EventTime.h"

#include <chrono>
#include <ctime>

namespace tolvane {

EventTime EventTime::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

EventTime EventTime::DayBefore() const {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year),
                              std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    const year_month_day before{sys_days(date) - days(1)};
    EventTime earlier = *this;
    earlier.year = static_cast<int>(before.year());
    earlier.month = static_cast<int>(static_cast<unsigned>(before.month()));
    earlier.day = static_cast<int>(static_cast<unsigned>(before.day()));
    return earlier;
}

} // namespace tolvane
