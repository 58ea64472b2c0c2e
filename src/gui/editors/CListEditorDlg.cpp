#include "editors/CListEditorDlg.h"

#include "widgets/CListViewEx.h"
#include "widgets/FullRowDelegate.h"
#include "widgets/ListOverButtons.h"
#include "widgets/ShowRefusal.h"

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
    list_->EditSelectedRow(edit_, [this](int row) { OnEdit(row); });
    list_->ActOnSelectedRow(remove_, [this](int row) { OnRemove(row); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CListEditorDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CListEditorDlg::reject);
    setLayout(ListOverButtons(list_, {add_, edit_, remove_}, buttons));
    list_->setMinimumWidth(FullRowDelegate::WidthForColumns(list_));
    resize(sizeHint().width(), 420);
}

bool CListEditorDlg::Refused(const std::optional<std::string>& refusal) {
    return ShowRefusal(ui_, refusal);
}

} // namespace tolvane
