#include "comm/CCommSetupDlg.h"

#include "comm/CDialingPropertiesDlg.h"
#include "comm/CommSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QComboBox* NewList() {
    auto* list = new QComboBox;
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(24);
    return list;
}

void Fill(QComboBox* list, const std::vector<std::string>& names, int selected) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& name : names) {
        list->addItem(QString::fromStdString(name));
    }
    list->setCurrentIndex(selected);
}

} // namespace

CCommSetupDlg::CCommSetupDlg(CommSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup), modem_(NewList()), location_(NewList()),
      properties_(new QPushButton("Dialing Properties ...")),
      longDistance_(new QCheckBox("Dial as long distance")),
      includeArea_(new QCheckBox("Dial area code")), number_(new QLabel),
      dial_(new QPushButton("Dial")) {
    setWindowTitle("Communication Setup");

    auto* icon = new QLabel;
    icon->setPixmap(QIcon::fromTheme("modem", QIcon(":/icons/telephone.svg")).pixmap(32, 32));
    auto* modemLabel = new QLabel("Modem Name:");
    modemLabel->setBuddy(modem_);
    auto* locationLabel = new QLabel("Location:");
    locationLabel->setBuddy(location_);
    number_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    number_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* fields = new QGridLayout;
    fields->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    fields->addWidget(modemLabel, 0, 1);
    fields->addWidget(modem_, 0, 2);
    fields->addWidget(locationLabel, 1, 1);
    fields->addWidget(location_, 1, 2);
    fields->addWidget(properties_, 2, 2, Qt::AlignLeft);
    fields->addWidget(longDistance_, 3, 1, 1, 2);
    fields->addWidget(includeArea_, 4, 1, 1, 2);
    fields->addWidget(new QLabel("Number to dial:"), 5, 1);
    fields->addWidget(number_, 5, 2);
    fields->setColumnStretch(2, 1);

    auto* cancel = new QPushButton("Cancel");
    dial_->setDefault(true);
    cancel->setAutoDefault(false);
    properties_->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(dial_);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    // The dialog's old size in dialog units (a quarter of the average character across, an eighth
    // of the line down), as the least it takes.
    setMinimumWidth(226 * fontMetrics().averageCharWidth() / 4);

    connect(modem_, &QComboBox::currentIndexChanged, this,
            [this](int row) { setup_.SelectModem(row); });
    connect(location_, &QComboBox::currentIndexChanged, this, [this](int row) {
        setup_.SelectLocation(row);
        ShowChoices();
    });
    connect(longDistance_, &QCheckBox::toggled, this, [this](bool on) {
        setup_.SetLongDistance(on);
        ShowChoices();
    });
    connect(includeArea_, &QCheckBox::toggled, this, [this](bool on) {
        setup_.SetIncludeArea(on);
        ShowChoices();
    });
    connect(properties_, &QPushButton::clicked, this, &CCommSetupDlg::EditLocation);
    connect(dial_, &QPushButton::clicked, this, &CCommSetupDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowChoices();
}

void CCommSetupDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        // Once the window is up, so that a message about a missing modem appears over it.
        QTimer::singleShot(0, this, &CCommSetupDlg::Initialise);
    }
}

void CCommSetupDlg::Initialise() {
    setup_.Initialise();
    ShowLists();
    ShowChoices();
}

void CCommSetupDlg::ShowLists() {
    Fill(modem_, setup_.ModemNames(), setup_.SelectedModem());
    Fill(location_, setup_.LocationNames(), setup_.SelectedLocation());
}

void CCommSetupDlg::ShowChoices() {
    const QSignalBlocker quietLongDistance(longDistance_);
    const QSignalBlocker quietIncludeArea(includeArea_);
    longDistance_->setChecked(setup_.LongDistance());
    includeArea_->setChecked(setup_.IncludeArea());
    includeArea_->setEnabled(setup_.IncludeAreaEnabled());
    number_->setText(QString::fromStdString(setup_.DisplayableNumber()));
}

void CCommSetupDlg::EditLocation() {
    CDialingPropertiesDlg dialog(setup_, this);
    if (dialog.exec() == QDialog::Accepted) {
        ShowLists();
        ShowChoices();
    }
}

void CCommSetupDlg::accept() {
    setup_.Accept();
    QDialog::accept();
}

} // namespace tolvane
