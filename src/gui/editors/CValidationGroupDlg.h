// "Configure Validation Group Information": the fifteen validation groups at once, a row each
// with its door schedule, four time zones and anti-passback mark, on the editor's copy.
#pragma once

#include "editors/CGridDlg.h"

namespace tolvane {

class ValidationGroupEditor;
class WrappingNumberField;

class CValidationGroupDlg : public CGridDlg {
    Q_OBJECT

public:
    CValidationGroupDlg(ValidationGroupEditor& editor, UserServices& ui, QWidget* parent = nullptr);

    // Number field f in the editor's order: group f / 5, then its door schedule and time zones 1
    // to 4.
    QLineEdit* NumberField(int field) const { return NumberFieldAt(field); }
    // group 0 to 14, zone 0 to 3.
    WrappingNumberField* TimeZoneField(int group, int zone) const;
    QCheckBox* AntiPassbackBox(int group) const { return CheckBoxAt(group); }

protected:
    std::optional<FieldRefusal> Read(std::span<const std::string> numbers,
                                     std::span<const bool> ticked) override;

private:
    ValidationGroupEditor& editor_;
    std::vector<WrappingNumberField*> timeZones_;
};

} // namespace tolvane
