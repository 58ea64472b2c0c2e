#include "sites/CSelectUnitDlg.h"

#include "sites/SelectUnitModel.h"
#include "widgets/CListCtrlEx.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QStringList RowTexts(const SelectUnitModel& model, std::size_t row) {
    QStringList texts;
    for (const std::string& text : model.RowTexts(row)) {
        texts << QString::fromStdString(text);
    }
    return texts;
}

} // namespace

CSelectUnitDlg::CSelectUnitDlg(SelectUnitModel& model, UserServices& ui, QWidget* parent)
    : QDialog(parent), model_(model), ui_(ui) {
    setWindowTitle("Select Access Control Unit");
    list_ = new CListCtrlEx;
    list_->SetColumns({"Installation Name", "Data Number", "File Name"}, {120, 123, 230});
    add_ = new QPushButton("Add");
    edit_ = new QPushButton("Edit");
    remove_ = new QPushButton("Remove");
    for (QPushButton* button : {add_, edit_, remove_}) {
        button->setAutoDefault(false);
    }
    connect(add_, &QPushButton::clicked, this, &CSelectUnitDlg::OnAdd);
    connect(edit_, &QPushButton::clicked, this, &CSelectUnitDlg::OnEdit);
    connect(remove_, &QPushButton::clicked, this, &CSelectUnitDlg::OnRemove);
    connect(list_, &CListCtrlEx::itemSelectionChanged, this, &CSelectUnitDlg::UpdateButtons);
    connect(list_, &CListCtrlEx::itemDoubleClicked, this, [this] {
        if (list_->SelectedRow() >= 0) {
            accept();
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectUnitDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectUnitDlg::reject);
    auto* editing = new QHBoxLayout;
    editing->addWidget(add_);
    editing->addWidget(edit_);
    editing->addWidget(remove_);
    editing->addStretch();
    editing->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(editing);
    resize(600, 360);
    Fill();
}

void CSelectUnitDlg::Fill() {
    list_->clear();
    for (std::size_t row = 0; row < model_.RowCount(); ++row) {
        list_->AddRow(RowTexts(model_, row));
    }
    list_->SelectRow(model_.Selected());
    UpdateButtons();
}

void CSelectUnitDlg::UpdateButtons() {
    const bool selected = list_->SelectedRow() >= 0;
    edit_->setEnabled(selected);
    remove_->setEnabled(selected);
}

void CSelectUnitDlg::OnAdd() {
    if (model_.Add(ui_)) {
        const int row = list_->AddRow(RowTexts(model_, model_.RowCount() - 1));
        list_->SelectRow(row);
    }
}

void CSelectUnitDlg::OnEdit() {
    const int row = list_->SelectedRow();
    if (row >= 0 && model_.Edit(ui_, static_cast<std::size_t>(row))) {
        list_->SetRow(row, RowTexts(model_, static_cast<std::size_t>(row)));
    }
}

void CSelectUnitDlg::OnRemove() {
    const int row = list_->SelectedRow();
    if (row >= 0 && model_.Remove(ui_, static_cast<std::size_t>(row))) {
        delete list_->takeTopLevelItem(row);
        UpdateButtons();
    }
}

void CSelectUnitDlg::accept() {
    model_.Choose(list_->SelectedRow());
    QDialog::accept();
}

} // namespace tolvane
