#include "editors/CEntryCodeDlg.h"

#include "config/EntryCodeEditor.h"
#include "widgets/LimitedLineEdit.h"

#include <QCheckBox>

namespace tolvane {

CEntryCodeDlg::CEntryCodeDlg(EntryCode& code, UserServices& ui, QWidget* parent)
    : CFieldDlg("Edit Entry Code", ui, parent), record_(code),
      code_(new LimitedLineEdit(QString::fromStdString(EntryCodeEditor::CodeText(code)),
                                EntryCode::kMaxDigits)),
      group_(new QLineEdit(QString::number(code.validationGroup))),
      active_(new QCheckBox("Active")) {
    active_->setChecked(code.active != 0);
    AddField("Entry Code:", code_);
    AddField("Validation Group:", group_);
    AddRow(active_);
    SetOtherRefusalsField(code_);
}

std::optional<std::string> CEntryCodeDlg::Check() {
    return EntryCodeEditor::ReadFields(code_->text().toStdString(), group_->text().toStdString(),
                                       active_->isChecked(), record_);
}

} // namespace tolvane
