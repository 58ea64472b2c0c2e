// "Installation Information": the name, password, memory module file and telephone number of one
// installation, over the form rules of the core.
#pragma once

#include <QDialog>

class QLineEdit;

namespace tolvane {

class InstallationForm;
class UserServices;

class CInstallationDlg : public QDialog {
    Q_OBJECT

public:
    CInstallationDlg(InstallationForm& form, UserServices& ui, QWidget* parent = nullptr);

    void accept() override;

    QLineEdit* NameField() const { return name_; }
    QLineEdit* PasswordField() const { return password_; }
    QLineEdit* FileNameField() const { return fileName_; }
    QLineEdit* CountryCodeField() const { return countryCode_; }
    QLineEdit* AreaCodeField() const { return areaCode_; }
    QLineEdit* PhoneNumberField() const { return phoneNumber_; }

private:
    void TakeFields();
    void Browse();

    InstallationForm& form_;
    UserServices& ui_;
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* fileName_;
    QLineEdit* countryCode_;
    QLineEdit* areaCode_;
    QLineEdit* phoneNumber_;
};

} // namespace tolvane
