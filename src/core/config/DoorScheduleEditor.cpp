#include "config/DoorScheduleEditor.h"

namespace tolvane {

bool DoorScheduleEditor::HasDoor(int schedule, int door) const {
    return table_.channel.at(static_cast<std::size_t>(door))
               .at(static_cast<std::size_t>(schedule)) != 0;
}

void DoorScheduleEditor::SetDoor(int schedule, int door, bool inSchedule) {
    table_.channel.at(static_cast<std::size_t>(door)).at(static_cast<std::size_t>(schedule)) =
        inSchedule ? 1 : 0;
}

} // namespace tolvane
