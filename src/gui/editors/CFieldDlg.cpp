#include "editors/CFieldDlg.h"

#include "widgets/OkCancelBelow.h"
#include "widgets/ShowRefusal.h"

#include <QFormLayout>

namespace tolvane {

CFieldDlg::CFieldDlg(const QString& title, UserServices& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), form_(new QFormLayout) {
    setWindowTitle(title);
    OkCancelBelow(this, form_);
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
    QWidget* refused = otherRefusals_;
    for (const auto& [label, field] : fields_) {
        if (QString::fromStdString(*refusal).startsWith(label + ' ')) {
            refused = field;
            break;
        }
    }
    ShowRefusal(ui_, refusal, refused);
}

} // namespace tolvane
