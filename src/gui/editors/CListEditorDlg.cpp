#include "editors/CListEditorDlg.h"

#include "support/UserServices.h"
#include "widgets/CListViewEx.h"
#include "widgets/FullRowDelegate.h"
#include "widgets/ListOverButtons.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CListEditorDlg::CListEditorDlg(const QString& title, const QStringList& columns,
                               const QList<int>& widths, UserServices& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), list_(new CListViewEx), add_(new QPushButton("Add")),
      edit_(new QPushButton("Edit")), remove_(new QPushButton("Remove")) {
    setWindowTitle(title);
    list_->SetColumns(columns, widths);
    connect(add_, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(edit_, &QPushButton::clicked, this, &CListEditorDlg::EditSelected);
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (const int row = list_->SelectedRow(); row >= 0) {
            OnRemove(row);
        }
    });
    connect(list_, &CListViewEx::doubleClicked, this, &CListEditorDlg::EditSelected);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CListEditorDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CListEditorDlg::reject);
    setLayout(ListOverButtons(list_, {add_, edit_, remove_}, buttons));
    list_->setMinimumWidth(FullRowDelegate::WidthForColumns(list_));
    resize(sizeHint().width(), 420);
}

void CListEditorDlg::EditSelected() {
    if (const int row = list_->SelectedRow(); row >= 0) {
        OnEdit(row);
    }
}

bool CListEditorDlg::Refused(const std::optional<std::string>& refusal) {
    if (refusal) {
        ui_.ShowMessage(*refusal, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return refusal.has_value();
}

void CListEditorDlg::ShowAppendedRow() {
    list_->Rows()->RowAppended();
    list_->SelectRow(list_->Rows()->rowCount() - 1);
}

} // namespace tolvane
