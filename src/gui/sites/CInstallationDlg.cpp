#include "sites/CInstallationDlg.h"

#include "sites/InstallationForm.h"
#include "widgets/LimitedLineEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

// The limits are for typing: a value stored longer (by hand, or by another program) is shown
// whole and written back as it is unless the user edits it.
QLineEdit* Field(const std::string& value, std::size_t limit,
                 LimitedLineEdit::Typing typing = LimitedLineEdit::Typing::Anything) {
    return new LimitedLineEdit(QString::fromStdString(value), static_cast<int>(limit), typing);
}

} // namespace

CInstallationDlg::CInstallationDlg(InstallationForm& form, UserServices& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
    setWindowTitle("Installation Information");
    const Installation& fields = form.fields;
    name_ = Field(fields.name, InstallationForm::kNameLimit);
    password_ = Field(fields.password, InstallationForm::kPasswordLimit);
    // Chosen with "..." and never typed: no limit, a path is as long as the system allows.
    fileName_ = new QLineEdit(QString::fromStdString(fields.fileName));
    fileName_->setReadOnly(true);
    countryCode_ =
        Field(fields.countryCode, InstallationForm::kCodeLimit, LimitedLineEdit::Typing::Digits);
    areaCode_ =
        Field(fields.areaCode, InstallationForm::kCodeLimit, LimitedLineEdit::Typing::Digits);
    phoneNumber_ = Field(fields.phoneNumber, InstallationForm::kPhoneLimit);

    auto* browse = new QPushButton("...");
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance("....") + 16);
    connect(browse, &QPushButton::clicked, this, &CInstallationDlg::Browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_);
    fileRow->addWidget(browse);

    auto* formLayout = new QFormLayout;
    formLayout->addRow("Installation Name:", name_);
    formLayout->addRow("Password:", password_);
    formLayout->addRow("File Name:", fileRow);
    formLayout->addRow("Country Code:", countryCode_);
    formLayout->addRow("Area Code:", areaCode_);
    formLayout->addRow("Phone Number:", phoneNumber_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CInstallationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInstallationDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formLayout);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void CInstallationDlg::TakeFields() {
    Installation& fields = form_.fields;
    fields.name = name_->text().toStdString();
    fields.password = password_->text().toStdString();
    fields.fileName = fileName_->text().toStdString();
    fields.countryCode = countryCode_->text().toStdString();
    fields.areaCode = areaCode_->text().toStdString();
    fields.phoneNumber = phoneNumber_->text().toStdString();
}

void CInstallationDlg::Browse() {
    TakeFields();
    form_.BrowseForFile(ui_);
    fileName_->setText(QString::fromStdString(form_.fields.fileName));
}

void CInstallationDlg::accept() {
    TakeFields();
    if (form_.Accept(ui_)) {
        QDialog::accept();
    }
}

} // namespace tolvane
