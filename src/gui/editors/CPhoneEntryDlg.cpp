#include "editors/CPhoneEntryDlg.h"

#include "config/DirectoryEditor.h"
#include "config/PhoneNumberText.h"
#include "widgets/LimitedLineEdit.h"

#include <QCheckBox>

namespace tolvane {

CPhoneEntryDlg::CPhoneEntryDlg(DirectoryEntry& entry, UserServices& ui, QWidget* parent)
    : CFieldDlg("Edit Phone Entry", ui, parent), entry_(entry),
      code_(new QLineEdit(QString::number(entry.code))),
      // The unit keeps names in its 8-bit set, a byte a character.
      name_(new LimitedLineEdit(QString::fromLatin1(entry.name), DirectoryEntry::kMaxNameLength,
                                LimitedLineEdit::Typing::Latin1)),
      number_(new LimitedLineEdit(QString::fromStdString(FormatPhoneNumber(entry)), kNumberLimit)),
      talk_(new QCheckBox("Extended Talk Time")) {
    talk_->setChecked(entry.extendedTalk != 0);
    AddField("Directory Code:", code_);
    AddField("Tenent Name:", name_, DirectoryEntry::kMaxNameLength);
    AddField("Telephone Number:", number_);
    AddRow(talk_);
    SetOtherRefusalsField(name_);
}

std::optional<std::string> CPhoneEntryDlg::Check() {
    return DirectoryEditor::ReadFields(code_->text().toStdString(),
                                       name_->text().toLatin1().toStdString(),
                                       number_->text().toStdString(), talk_->isChecked(), entry_);
}

} // namespace tolvane
