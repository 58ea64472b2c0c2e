// "Configure Door Schedule Information": the fifteen door schedules at once, a row of four door
// check boxes each, on the editor's copy. Nothing ticked or unticked is refused.
#pragma once

#include "config/SystemTables.h"
#include "editors/CGridDlg.h"

namespace tolvane {

class DoorScheduleEditor;

class CDoorScheduleDlg : public CGridDlg {
    Q_OBJECT

public:
    CDoorScheduleDlg(DoorScheduleEditor& editor, UserServices& ui, QWidget* parent = nullptr);

    // schedule 0 to 14, door 0 (Door A) to 3 (Door D).
    QCheckBox* DoorBox(int schedule, int door) const {
        return CheckBoxAt(schedule * kChannels + door);
    }

protected:
    std::optional<FieldRefusal> Read(std::span<const std::string> numbers,
                                     std::span<const bool> ticked) override;

private:
    DoorScheduleEditor& editor_;
};

} // namespace tolvane
