// The layout of a list that is edited in place: the list, and beneath it a row with its buttons at
// the left and, at the right, whatever else the row holds (OK and Cancel, say). Enter in the list
// never presses one of the list's buttons.
#pragma once

#include <initializer_list>

class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tolvane {

QVBoxLayout* ListOverButtons(QWidget* list, std::initializer_list<QPushButton*> buttons,
                             QWidget* right = nullptr);

} // namespace tolvane
