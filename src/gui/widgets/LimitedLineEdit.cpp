#include "widgets/LimitedLineEdit.h"

#include <QRegularExpressionValidator>

#include <algorithm>

namespace tolvane {

LimitedLineEdit::LimitedLineEdit(const QString& value, int limit, Typing typing, QWidget* parent)
    : QLineEdit(value, parent) {
    setMaxLength(std::max(limit, static_cast<int>(value.size())));
    if (typing != Typing::Anything) {
        const QRegularExpression allowed(typing == Typing::Digits ? "[0-9]*" : "[\\x{0}-\\x{ff}]*");
        setValidator(new QRegularExpressionValidator(allowed, this));
    }
}

} // namespace tolvane
