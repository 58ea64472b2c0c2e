// "Edit Entry Code": the digits, validation group and active mark of one keypad entry code.
#pragma once

#include "editors/CFieldDlg.h"

class QCheckBox;
class QLineEdit;

namespace tolvane {

struct EntryCode;

class CEntryCodeDlg : public CFieldDlg {
    Q_OBJECT

public:
    // OK writes the fields into code.
    CEntryCodeDlg(EntryCode& code, UserServices& ui, QWidget* parent = nullptr);

    QLineEdit* CodeField() const { return code_; }
    QLineEdit* GroupField() const { return group_; }
    QCheckBox* ActiveBox() const { return active_; }

protected:
    std::optional<std::string> Check() override;

private:
    EntryCode& record_;
    QLineEdit* code_;
    QLineEdit* group_;
    QCheckBox* active_;
};

} // namespace tolvane
