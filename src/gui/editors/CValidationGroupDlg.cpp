#include "editors/CValidationGroupDlg.h"

#include "config/ValidationGroupEditor.h"
#include "widgets/LimitedLineEdit.h"
#include "widgets/WrappingNumberField.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace tolvane {

namespace {

// Three digits hold any number a unit stores, so a loaded value is never cut.
constexpr int kDigits = 3;
constexpr int kTimeZones = ValidationGroupEditor::kNumbersPerGroup - 1;

} // namespace

CValidationGroupDlg::CValidationGroupDlg(ValidationGroupEditor& editor, UserServices& ui,
                                         QWidget* parent)
    : CGridDlg("Configure Validation Group Information", ui, parent), editor_(editor) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel("Door Schedule"), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel("Time Zones"), 0, 2, 1, kTimeZones, Qt::AlignCenter);
    for (int group = 0; group < kTableEntries; ++group) {
        const int row = group + 1;
        grid->addWidget(new QLabel(QString("Group %1").arg(group + 1)), row, 0);
        auto* schedule = new LimitedLineEdit(QString::number(editor.Number(group, 0)), kDigits,
                                             LimitedLineEdit::Typing::Digits);
        AddNumberField(schedule);
        grid->addWidget(schedule, row, 1, Qt::AlignCenter);
        for (int zone = 1; zone <= kTimeZones; ++zone) {
            auto* field = new WrappingNumberField(editor.Number(group, zone), 0, 15);
            timeZones_.push_back(field);
            AddNumberField(field->Edit());
            grid->addWidget(field, row, zone + 1);
        }
        schedule->setFixedWidth(timeZones_.back()->sizeHint().width());
        auto* mark = new QCheckBox("Anti-Passback");
        mark->setChecked(editor.Table().antiPassback[static_cast<std::size_t>(group)] != 0);
        AddCheckBox(mark);
        grid->addWidget(mark, row, kTimeZones + 2);
    }
    SetContents(grid);
}

WrappingNumberField* CValidationGroupDlg::TimeZoneField(int group, int zone) const {
    return timeZones_.at(static_cast<std::size_t>(group * kTimeZones + zone));
}

std::optional<FieldRefusal> CValidationGroupDlg::Read(std::span<const std::string> numbers,
                                                      std::span<const bool> ticked) {
    return editor_.ReadFields(numbers, ticked);
}

} // namespace tolvane
