// A number field with a spin control beside it. The arrows, the Up and Down keys and the wheel
// step the number through its bounds and wrap around at either end; typing takes any digits, so
// that a number out of bounds stays in the field for the dialog's OK to refuse with the bounds.
#pragma once

#include <QAbstractSpinBox>

namespace tolvane {

class WrappingNumberField : public QAbstractSpinBox {
    Q_OBJECT

public:
    WrappingNumberField(int value, int low, int high, QWidget* parent = nullptr);

    // The field the user types into.
    QLineEdit* Edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    StepEnabled stepEnabled() const override;

private:
    int low_;
    int high_;
};

} // namespace tolvane
