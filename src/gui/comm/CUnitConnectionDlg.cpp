#include "comm/CUnitConnectionDlg.h"

#include "widgets/LimitedLineEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CUnitConnectionDlg::CUnitConnectionDlg(const QString& password,
                                       const std::array<QString, 4>& devices, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Varko Connection");
    // The limit is for typing: a stored password that is longer is shown whole and typed to the
    // unit as it stands, so the unit, not this dialog, decides about it.
    password_ = new LimitedLineEdit(password, kPasswordLimit);
    auto* label = new QLabel("Enter Password:");
    label->setBuddy(password_);

    auto* group = new QGroupBox("Connect to Varko Using");
    auto* buttons = new QGridLayout(group);
    modem_ = new QPushButton("&Modem");
    modem_->setDefault(true); // Enter dials
    connect(modem_, &QPushButton::clicked, this, [this] { Choose(1); });
    buttons->addWidget(modem_, 0, 0);
    for (int port = 0; port < 4; ++port) {
        auto* button = new QPushButton(QString("COM&%1").arg(port + 1));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, port] { Choose(port + 2); });
        ports_[static_cast<std::size_t>(port)] = button;
        auto* device = new QLabel(devices[static_cast<std::size_t>(port)]);
        device->setEnabled(false);
        buttons->addWidget(button, port + 1, 0);
        buttons->addWidget(device, port + 1, 1);
    }
    auto* cancel = new QPushButton("&Cancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(password_);
    layout->addWidget(group);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

QString CUnitConnectionDlg::Password() const {
    return password_->text();
}

void CUnitConnectionDlg::Choose(int selector) {
    choice_ = selector;
    accept();
}

} // namespace tolvane
