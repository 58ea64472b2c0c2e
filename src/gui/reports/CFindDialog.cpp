#include "reports/CFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tolvane {

CFindDialog::CFindDialog(const QString& text, bool matchCase, bool forward, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Find");
    text_ = new QLineEdit(text);
    matchCase_ = new QCheckBox("Match &case");
    matchCase_->setChecked(matchCase);
    auto* up = new QRadioButton("&Up");
    down_ = new QRadioButton("&Down");
    (forward ? down_ : up)->setChecked(true);
    auto* direction = new QGroupBox("Direction");
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up);
    directionLayout->addWidget(down_);

    auto* buttons = new QDialogButtonBox(Qt::Vertical);
    QPushButton* findNext = buttons->addButton("&Find Next", QDialogButtonBox::ActionRole);
    findNext->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(findNext, &QPushButton::clicked, this,
            [this] { emit FindNext(text_->text(), matchCase_->isChecked(), down_->isChecked()); });
    findNext->setEnabled(!text.isEmpty());
    connect(text_, &QLineEdit::textChanged, findNext,
            [findNext](const QString& now) { findNext->setEnabled(!now.isEmpty()); });

    auto* layout = new QGridLayout(this);
    auto* label = new QLabel("Fi&nd what:");
    label->setBuddy(text_);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text_, 0, 1, 1, 2);
    layout->addWidget(matchCase_, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2);
    layout->addWidget(buttons, 0, 3, 2, 1);
}

} // namespace tolvane
