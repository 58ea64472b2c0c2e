// "Configure Telephone Entry Number Information": the telephone entry directory, on the directory
// editor's copy. Add asks the editor for room before the entry dialog opens.
#pragma once

#include "editors/CListEditorDlg.h"

namespace tolvane {

class DirectoryEditor;
struct DirectoryEntry;

class CPhoneDirectoryDlg : public CListEditorDlg {
    Q_OBJECT

public:
    CPhoneDirectoryDlg(DirectoryEditor& editor, UserServices& ui, QWidget* parent = nullptr);

protected:
    void OnAdd() override;
    void OnEdit(int row) override;
    void OnRemove(int row) override;

private:
    QString CellText(int row, int column) const;
    // The entry dialog on entry; true on OK.
    bool RunEntryDialog(DirectoryEntry& entry);

    DirectoryEditor& editor_;
};

} // namespace tolvane
