// The layout of a list that is edited in place: the list, and beneath it a row with its buttons at
// the left and, at the right, whatever else the row holds (OK and Cancel, say). Enter in the list
// never presses one of the list's buttons.
#pragma once

#include <initializer_list>

class QGroupBox;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace tolvane {

QVBoxLayout* ListOverButtons(QWidget* list, std::initializer_list<QPushButton*> buttons,
                             QWidget* right = nullptr);
// The same in a captioned frame, for a dialog that holds more than one list.
QGroupBox* FramedListOverButtons(const QString& caption, QWidget* list,
                                 std::initializer_list<QPushButton*> buttons);

} // namespace tolvane
