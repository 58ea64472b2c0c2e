// A date and time as the transaction log and the event log filter hold them. The fields are kept
// as stored, not normalised: a record with month 13 or 60 seconds still has a place in the order
// and prints what it holds.
#pragma once

#include <compare>

namespace tolvane {

struct EventTime {
    int year = 1990;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const EventTime&) const = default;

    // The current local date and time.
    static EventTime Now();
    // The same time one calendar day earlier.
    EventTime DayBefore() const;
};

} // namespace tolvane
