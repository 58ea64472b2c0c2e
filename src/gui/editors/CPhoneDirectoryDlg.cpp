#include "editors/CPhoneDirectoryDlg.h"

#include "config/DirectoryEditor.h"
#include "config/PhoneNumberText.h"
#include "editors/CPhoneEntryDlg.h"
#include "widgets/CListViewEx.h"

#include <memory>

namespace tolvane {

CPhoneDirectoryDlg::CPhoneDirectoryDlg(DirectoryEditor& editor, UserServices& ui, QWidget* parent)
    : CListEditorDlg("Configure Telephone Entry Number Information",
                     {"Code", "User Name", "Telephone Number", "Talk"}, {50, 200, 179, 50}, ui,
                     parent),
      editor_(editor) {
    List()->Rows()->SetRows(static_cast<int>(editor.Entries().Count()),
                            [this](int row, int column) { return CellText(row, column); });
}

QString CPhoneDirectoryDlg::CellText(int row, int column) const {
    const DirectoryEntry& entry = editor_.Entries().At(static_cast<std::size_t>(row));
    switch (column) {
    case 0:
        return QString::asprintf("%04u", static_cast<unsigned>(entry.code));
    case 1:
        return QString::fromLatin1(entry.name);
    case 2:
        return QString::fromStdString(FormatPhoneNumber(entry));
    default:
        return entry.extendedTalk != 0 ? "Yes" : "No";
    }
}

bool CPhoneDirectoryDlg::RunEntryDialog(DirectoryEntry& entry) {
    CPhoneEntryDlg dialog(entry, ui_, this);
    return dialog.exec() == QDialog::Accepted;
}

void CPhoneDirectoryDlg::OnAdd() {
    if (Refused(editor_.CheckRoom())) {
        return;
    }
    auto entry = std::make_unique<DirectoryEntry>();
    if (RunEntryDialog(*entry) && !Refused(editor_.Add(std::move(entry)))) {
        List()->ShowAppendedRow();
    }
}

void CPhoneDirectoryDlg::OnEdit(int row) {
    auto entry =
        std::make_unique<DirectoryEntry>(editor_.Entries().At(static_cast<std::size_t>(row)));
    if (RunEntryDialog(*entry) &&
        !Refused(editor_.Edit(static_cast<std::size_t>(row), std::move(entry)))) {
        List()->Rows()->RowChanged(row);
    }
}

void CPhoneDirectoryDlg::OnRemove(int row) {
    List()->Rows()->RemoveRow(row, [&] { editor_.Remove(static_cast<std::size_t>(row)); });
}

} // namespace tolvane
