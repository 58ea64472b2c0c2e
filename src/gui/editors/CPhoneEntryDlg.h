// "Edit Phone Entry": the directory code, tenant name, telephone number and talk time of one
// entry of the telephone entry directory.
#pragma once

#include "editors/CFieldDlg.h"

class QCheckBox;
class QLineEdit;

namespace tolvane {

struct DirectoryEntry;

class CPhoneEntryDlg : public CFieldDlg {
    Q_OBJECT

public:
    static constexpr int kNumberLimit = 20;

    // OK writes the fields into entry.
    CPhoneEntryDlg(DirectoryEntry& entry, UserServices& ui, QWidget* parent = nullptr);

    QLineEdit* CodeField() const { return code_; }
    QLineEdit* NameField() const { return name_; }
    QLineEdit* NumberField() const { return number_; }
    QCheckBox* TalkBox() const { return talk_; }

protected:
    std::optional<std::string> Check() override;

private:
    DirectoryEntry& entry_;
    QLineEdit* code_;
    QLineEdit* name_;
    QLineEdit* number_;
    QCheckBox* talk_;
};

} // namespace tolvane
