#include "editors/CDoorScheduleDlg.h"

#include "config/DoorScheduleEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace tolvane {

CDoorScheduleDlg::CDoorScheduleDlg(DoorScheduleEditor& editor, UserServices& ui, QWidget* parent)
    : CGridDlg("Configure Door Schedule Information", ui, parent), editor_(editor) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    for (int schedule = 0; schedule < kTableEntries; ++schedule) {
        grid->addWidget(new QLabel(QString("Door Schedule %1").arg(schedule + 1)), schedule, 0);
        for (int door = 0; door < kChannels; ++door) {
            auto* box = new QCheckBox(QString("Door %1").arg(QChar('A' + door)));
            box->setChecked(editor.HasDoor(schedule, door));
            AddCheckBox(box);
            grid->addWidget(box, schedule, door + 1);
        }
    }
    SetContents(grid);
}

std::optional<FieldRefusal> CDoorScheduleDlg::Read(std::span<const std::string> numbers,
                                                   std::span<const bool> ticked) {
    (void)numbers;
    for (int schedule = 0; schedule < kTableEntries; ++schedule) {
        for (int door = 0; door < kChannels; ++door) {
            editor_.SetDoor(schedule, door,
                            ticked[static_cast<std::size_t>(schedule * kChannels + door)]);
        }
    }
    return std::nullopt;
}

} // namespace tolvane
