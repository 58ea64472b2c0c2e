#include "widgets/ListOverButtons.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

QVBoxLayout* ListOverButtons(QWidget* list, std::initializer_list<QPushButton*> buttons,
                             QWidget* right) {
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    row->addStretch();
    if (right != nullptr) {
        row->addWidget(right);
    }
    auto* layout = new QVBoxLayout;
    layout->addWidget(list);
    layout->addLayout(row);
    return layout;
}

QGroupBox* FramedListOverButtons(const QString& caption, QWidget* list,
                                 std::initializer_list<QPushButton*> buttons) {
    auto* group = new QGroupBox(caption);
    group->setLayout(ListOverButtons(list, buttons));
    return group;
}

} // namespace tolvane
