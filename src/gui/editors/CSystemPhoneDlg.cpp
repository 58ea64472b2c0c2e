#include "editors/CSystemPhoneDlg.h"

#include "widgets/LimitedLineEdit.h"

namespace tolvane {

CSystemPhoneDlg::CSystemPhoneDlg(const QString& countryCode, const QString& areaCode,
                                 const QString& phoneNumber, UserServices& ui, QWidget* parent)
    : CFieldDlg("System Phone Number Information", ui, parent),
      countryCode_(new LimitedLineEdit(countryCode, kCodeLimit, LimitedLineEdit::Typing::Digits)),
      areaCode_(new LimitedLineEdit(areaCode, kCodeLimit, LimitedLineEdit::Typing::Digits)),
      phoneNumber_(new LimitedLineEdit(phoneNumber, kNumberLimit)) {
    AddField("Country Code:", countryCode_);
    AddField("Area Code:", areaCode_);
    AddField("Phone Number:", phoneNumber_);
}

} // namespace tolvane
