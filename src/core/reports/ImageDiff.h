// What differs between two units' images in the unit's own terms rather than in bytes: the system
// fields as the system report prints them, the code lists, the directory, the tables and the
// holidays, and how many event records the second image holds that the first does not.
//
// Every list is compared as a set of items told apart by their key (an entry code by its digits,
// a block range by its ends, a directory entry by its code, a table entry by its number, a holiday
// by its date), so the order a list was kept in never counts as a difference. An item in only one
// image is added or removed; an item in both is compared value by value, one difference for each
// value that changed. Values are the texts tolvane-cli list writes for them; items come out in the
// order of their keys. Event records are not configuration: they are counted apart and never make
// two configurations differ.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tolvane {

class MemoryModule;
struct UnitConfiguration;

enum class DiffChange { Added, Removed, Changed };

// A value of an item, under the name its list's CSV column gives it.
struct DiffValue {
    std::string name;
    std::string value;
};

struct Difference {
    DiffChange change = DiffChange::Changed;
    std::string item;              // "code 1234", "range 100-199", "group 3", "Remote Password"
    std::vector<DiffValue> values; // Added and Removed: the item's values (none for a bare code)
    std::string field;             // Changed: the value's name; empty for a system field
    std::string before;
    std::string after;
};

struct DiffSection {
    const char* key;   // "entry_codes"
    const char* title; // "Entry codes"
    std::vector<Difference> differences;
};

class ImageDiff {
public:
    // The system fields and the event log come from the images, everything else from the lists:
    // the document compares its lists as they stand, unsaved edits included.
    ImageDiff(const MemoryModule& a, const UnitConfiguration& aLists, const MemoryModule& b,
              const UnitConfiguration& bLists);

    // System, entry codes, block transmitters, block cards, directory, validation groups, door
    // schedules, time zones and holidays: every section, empty or not, always in this order.
    const std::vector<DiffSection>& Sections() const { return sections_; }
    std::size_t NewEventRecords() const { return newEventRecords_; }
    bool ConfigurationsEqual() const;
    // Each section that has differences under its title, one line per difference indented by two
    // blanks, then the count of new event records under "Event log"; empty when there is nothing
    // to tell.
    std::string Text() const;

    // Event records are matched by their twelve bytes, the time stamp among them, as many times
    // as they occur: a record of b counts as new when a holds fewer records with the same bytes.
    // Neither where a record lies nor the log's order plays a part, so a log that wrapped round
    // or was read out at another position still matches. Empty slots are no records.
    static std::size_t CountNewEventRecords(const MemoryModule& a, const MemoryModule& b);

private:
    std::vector<DiffSection> sections_;
    std::size_t newEventRecords_ = 0;
};

} // namespace tolvane
