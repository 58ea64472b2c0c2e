#include "widgets/WrappingNumberField.h"

#include <QLineEdit>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace tolvane {

WrappingNumberField::WrappingNumberField(int value, int low, int high, QWidget* parent)
    : QAbstractSpinBox(parent), low_(low), high_(high) {
    setAlignment(Qt::AlignRight);
    lineEdit()->setText(QString::number(value));
}

void WrappingNumberField::stepBy(int steps) {
    // Stepping starts from the typed number brought into bounds, or from the low bound when the
    // field holds no number.
    bool isNumber = false;
    const int typed = text().toInt(&isNumber);
    const int current = isNumber ? std::clamp(typed, low_, high_) : low_;
    const int span = high_ - low_ + 1;
    const int next = low_ + ((current - low_ + steps) % span + span) % span;
    lineEdit()->setText(QString::number(next));
}

QValidator::State WrappingNumberField::validate(QString& input, int& pos) const {
    (void)pos;
    const bool digits =
        std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= '0' && c <= '9'; });
    return digits ? QValidator::Acceptable : QValidator::Invalid;
}

QSize WrappingNumberField::sizeHint() const {
    ensurePolished();
    // Room for one digit more than the bounds need, and the cursor.
    const QString widest(QString::number(high_).size() + 1, '0');
    const QSize text(fontMetrics().horizontalAdvance(widest) + 4, lineEdit()->sizeHint().height());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

QAbstractSpinBox::StepEnabled WrappingNumberField::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

} // namespace tolvane
