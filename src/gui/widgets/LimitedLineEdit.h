// A text field whose limit is for typing only: a value loaded longer than the limit (stored by
// hand, or by another program) is shown whole and handed back as it is unless the user edits it.
#pragma once

#include <QLineEdit>

namespace tolvane {

class LimitedLineEdit : public QLineEdit {
public:
    // What typing may add: anything, the digits 0 to 9, or the characters of the unit's 8-bit set
    // (U+0000 to U+00FF). A loaded value is shown as it is either way.
    enum class Typing { Anything, Digits, Latin1 };

    LimitedLineEdit(const QString& value, int limit, Typing typing = Typing::Anything,
                    QWidget* parent = nullptr);
};

} // namespace tolvane
