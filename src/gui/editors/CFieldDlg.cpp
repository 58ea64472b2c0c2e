#include "editors/CFieldDlg.h"

#include "support/UserServices.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tolvane {

CFieldDlg::CFieldDlg(const QString& title, UserServices& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), form_(new QFormLayout) {
    setWindowTitle(title);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFieldDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFieldDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFieldDlg::AddField(const QString& label, QWidget* field, int characters) {
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(characters, 'N')) + 16);
    form_->addRow(label, field);
    fields_.append({label.chopped(label.endsWith(':') ? 1 : 0), field});
}

void CFieldDlg::AddRow(QWidget* widget) {
    form_->addRow(widget);
}

void CFieldDlg::accept() {
    const std::optional<std::string> refusal = Check();
    if (!refusal) {
        QDialog::accept();
        return;
    }
    ui_.ShowMessage(*refusal, MessageIcon::Exclamation, MessageButtons::Ok);
    QWidget* refused = otherRefusals_;
    for (const auto& [label, field] : fields_) {
        if (QString::fromStdString(*refusal).startsWith(label + ' ')) {
            refused = field;
            break;
        }
    }
    if (refused != nullptr) {
        refused->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(refused)) {
            edit->selectAll();
        }
    }
}

} // namespace tolvane
