// "Configure Time Zone Information": the fifteen time zones, always all of them, on the editor's
// copy; Edit (or a double click) opens the selected one in its own dialog.
#pragma once

#include <QDialog>

class QPushButton;

namespace tolvane {

class CListViewEx;
class TimeZoneEditor;
class UserServices;

class CTimeZoneListDlg : public QDialog {
    Q_OBJECT

public:
    CTimeZoneListDlg(TimeZoneEditor& editor, UserServices& ui, QWidget* parent = nullptr);

    CListViewEx* List() const { return list_; }
    QPushButton* EditButton() const { return edit_; }

private:
    QString CellText(int row, int column) const;
    void OnEdit(int row);

    TimeZoneEditor& editor_;
    UserServices& ui_;
    CListViewEx* list_;
    QPushButton* edit_;
};

} // namespace tolvane
