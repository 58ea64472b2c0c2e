// "Configure Entry Code Information": the keypad entry codes, on the entry code editor's copy.
// Tens of thousands of codes open at once: the list reads the copy as it is painted.
#pragma once

#include "editors/CListEditorDlg.h"

namespace tolvane {

class EntryCodeEditor;

class CEntryCodeListDlg : public CListEditorDlg {
    Q_OBJECT

public:
    CEntryCodeListDlg(EntryCodeEditor& editor, UserServices& ui, QWidget* parent = nullptr);

protected:
    void OnAdd() override;
    void OnEdit(int row) override;
    void OnRemove(int row) override;

private:
    QString CellText(int row, int column) const;

    EntryCodeEditor& editor_;
};

} // namespace tolvane
