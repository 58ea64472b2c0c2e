#include "comm/CDialingPropertiesDlg.h"

#include "comm/CommSetup.h"
#include "widgets/LimitedLineEdit.h"
#include "widgets/OkCancelBelow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>

namespace tolvane {

namespace {

QLineEdit* NewField(const std::string& value, int limit, LimitedLineEdit::Typing typing,
                    int characters) {
    auto* field = new LimitedLineEdit(QString::fromStdString(value), limit, typing);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(characters, 'N')) + 16);
    return field;
}

std::string Text(const QLineEdit* field) {
    return field->text().toStdString();
}

} // namespace

CDialingPropertiesDlg::CDialingPropertiesDlg(CommSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup) {
    setWindowTitle("Dialing Properties");
    using Typing = LimitedLineEdit::Typing;
    const DialingLocation& location = setup_.CurrentLocation();
    name_ = NewField(location.name, kNameLimit, Typing::Anything, 20);
    countryCode_ = NewField(location.countryCode, kCodeLimit, Typing::Digits, 5);
    areaCode_ = NewField(location.areaCode, kCodeLimit, Typing::Digits, 5);
    // Prefixes may hold "*", "#" and pauses; the setup says which characters it cannot keep.
    outsideLine_ = NewField(location.outsideLinePrefix, kPrefixLimit, Typing::Anything, 5);
    longDistance_ = NewField(location.longDistancePrefix, kPrefixLimit, Typing::Anything, 5);
    international_ = NewField(location.internationalPrefix, kPrefixLimit, Typing::Anything, 5);
    tone_ = new QRadioButton("Tone");
    pulse_ = new QRadioButton("Pulse");
    (location.method == DialMethod::Pulse ? pulse_ : tone_)->setChecked(true);
    auto* method = new QHBoxLayout;
    method->addWidget(tone_);
    method->addWidget(pulse_);
    method->addStretch();

    auto* form = new QFormLayout;
    form->addRow("Location name:", name_);
    form->addRow("Country code:", countryCode_);
    form->addRow("Area code:", areaCode_);
    form->addRow("To reach an outside line, dial:", outsideLine_);
    form->addRow("For long distance calls, dial:", longDistance_);
    form->addRow("For international calls, dial:", international_);
    form->addRow("Dial using:", method);
    OkCancelBelow(this, form);
}

DialingLocation CDialingPropertiesDlg::Location() const {
    DialingLocation location;
    // Blanks around a name are lost in the file, so they are not taken.
    location.name = name_->text().trimmed().toStdString();
    location.countryCode = Text(countryCode_);
    location.areaCode = Text(areaCode_);
    location.outsideLinePrefix = Text(outsideLine_);
    location.longDistancePrefix = Text(longDistance_);
    location.internationalPrefix = Text(international_);
    location.method = pulse_->isChecked() ? DialMethod::Pulse : DialMethod::Tone;
    return location;
}

void CDialingPropertiesDlg::accept() {
    if (setup_.ChangeCurrentLocation(Location())) {
        QDialog::accept();
    }
}

} // namespace tolvane
