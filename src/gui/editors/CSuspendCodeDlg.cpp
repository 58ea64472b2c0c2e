#include "editors/CSuspendCodeDlg.h"

#include "config/BlockCodeEditor.h"

#include <QLineEdit>

namespace tolvane {

CSuspendCodeDlg::CSuspendCodeDlg(UserServices& ui, QWidget* parent)
    : CFieldDlg("Enter Code to Suspend", ui, parent), field_(new QLineEdit("0")) {
    AddField("Code:", field_);
}

std::optional<std::string> CSuspendCodeDlg::Check() {
    return BlockCodeEditor::ReadSuspendCode(field_->text().toStdString(), code_);
}

} // namespace tolvane
