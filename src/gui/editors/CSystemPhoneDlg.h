// "System Phone Number Information": the number on which the program calls the unit. Whatever
// the fields hold is taken, empty fields included.
#pragma once

#include "editors/CFieldDlg.h"

class QLineEdit;

namespace tolvane {

class CSystemPhoneDlg : public CFieldDlg {
    Q_OBJECT

public:
    static constexpr int kCodeLimit = 3;
    static constexpr int kNumberLimit = 15;

    CSystemPhoneDlg(const QString& countryCode, const QString& areaCode, const QString& phoneNumber,
                    UserServices& ui, QWidget* parent = nullptr);

    QLineEdit* CountryCodeField() const { return countryCode_; }
    QLineEdit* AreaCodeField() const { return areaCode_; }
    QLineEdit* PhoneNumberField() const { return phoneNumber_; }

protected:
    std::optional<std::string> Check() override { return std::nullopt; }

private:
    QLineEdit* countryCode_;
    QLineEdit* areaCode_;
    QLineEdit* phoneNumber_;
};

} // namespace tolvane
