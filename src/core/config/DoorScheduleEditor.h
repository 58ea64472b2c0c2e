// The rules of the door schedule editor: fifteen schedules, each a set of the four doors. Any
// non-zero flag a unit holds counts as a door in the schedule, and what the editor gives back is
// 1 or 0.
#pragma once

#include "config/SystemTables.h"

namespace tolvane {

class DoorScheduleEditor {
public:
    void Load(const DoorScheduleTable& table) { table_ = table; }
    void Store(DoorScheduleTable& table) const { table = table_; }
    const DoorScheduleTable& Table() const { return table_; }

    // schedule 0 to 14, door 0 (Door A) to 3 (Door D).
    bool HasDoor(int schedule, int door) const;
    void SetDoor(int schedule, int door, bool inSchedule);

private:
    DoorScheduleTable table_;
};

} // namespace tolvane
