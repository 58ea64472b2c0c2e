#include "editors/CGridDlg.h"

#include "widgets/OkCancelBelow.h"
#include "widgets/ShowRefusal.h"

#include <QCheckBox>
#include <QLineEdit>

#include <memory>

namespace tolvane {

CGridDlg::CGridDlg(const QString& title, UserServices& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(title);
}

void CGridDlg::SetContents(QLayout* contents) {
    OkCancelBelow(this, contents);
}

void CGridDlg::accept() {
    std::vector<std::string> numbers;
    for (const QLineEdit* field : numbers_) {
        numbers.push_back(field->text().toStdString());
    }
    // A vector of bool is no span of bools.
    const auto ticked = std::make_unique<bool[]>(boxes_.size());
    for (std::size_t box = 0; box < boxes_.size(); ++box) {
        ticked[box] = boxes_[box]->isChecked();
    }
    if (const auto refusal = Read(numbers, {ticked.get(), boxes_.size()})) {
        ShowRefusal(ui_, refusal->message, NumberFieldAt(refusal->field));
        return;
    }
    QDialog::accept();
}

} // namespace tolvane
