// "Enter Code to Suspend": one code inside a block range that the unit is to refuse.
#pragma once

#include "editors/CFieldDlg.h"

#include <cstdint>

class QLineEdit;

namespace tolvane {

class CSuspendCodeDlg : public CFieldDlg {
    Q_OBJECT

public:
    explicit CSuspendCodeDlg(UserServices& ui, QWidget* parent = nullptr);

    // After OK: the code typed.
    uint16_t Code() const { return code_; }
    QLineEdit* CodeField() const { return field_; }

protected:
    std::optional<std::string> Check() override;

private:
    QLineEdit* field_;
    uint16_t code_ = 0;
};

} // namespace tolvane
