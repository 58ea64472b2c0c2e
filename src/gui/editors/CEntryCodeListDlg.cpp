#include "editors/CEntryCodeListDlg.h"

#include "config/EntryCodeEditor.h"
#include "editors/CEntryCodeDlg.h"
#include "widgets/CListViewEx.h"

namespace tolvane {

CEntryCodeListDlg::CEntryCodeListDlg(EntryCodeEditor& editor, UserServices& ui, QWidget* parent)
    : CListEditorDlg("Configure Entry Code Information", {"Entry Code", "Val Gr", "Active"},
                     {100, 75, 74}, ui, parent),
      editor_(editor) {
    List()->Rows()->SetRows(static_cast<int>(editor.Codes().size()),
                            [this](int row, int column) { return CellText(row, column); });
}

QString CEntryCodeListDlg::CellText(int row, int column) const {
    const EntryCode& code = editor_.Codes().at(static_cast<std::size_t>(row));
    switch (column) {
    case 0:
        return QString::fromStdString(EntryCodeEditor::CodeText(code));
    case 1:
        return QString::number(code.validationGroup);
    default:
        return code.active != 0 ? "Yes" : "No";
    }
}

void CEntryCodeListDlg::OnAdd() {
    EntryCode code = EntryCodeEditor::NewCode();
    CEntryCodeDlg dialog(code, ui_, this);
    if (dialog.exec() == QDialog::Accepted && !Refused(editor_.Add(code))) {
        List()->ShowAppendedRow();
    }
}

void CEntryCodeListDlg::OnEdit(int row) {
    EntryCode code = editor_.Codes().at(static_cast<std::size_t>(row));
    CEntryCodeDlg dialog(code, ui_, this);
    if (dialog.exec() == QDialog::Accepted &&
        !Refused(editor_.Edit(static_cast<std::size_t>(row), code))) {
        List()->Rows()->RowChanged(row);
    }
}

void CEntryCodeListDlg::OnRemove(int row) {
    List()->Rows()->RemoveRow(row, [&] { editor_.Remove(static_cast<std::size_t>(row)); });
}

} // namespace tolvane
