// The editors of one list (entry codes, the telephone directory): the list over the editor's own
// copy, Add, Edit and Remove, OK and Cancel. Edit and Remove act on the selected row and do
// nothing without one; a double click on a row is Edit.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QPushButton;

namespace tolvane {

class CListViewEx;
class UserServices;

class CListEditorDlg : public QDialog {
    Q_OBJECT

public:
    CListViewEx* List() const { return list_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* RemoveButton() const { return remove_; }

protected:
    CListEditorDlg(const QString& title, const QStringList& columns, const QList<int>& widths,
                   UserServices& ui, QWidget* parent);

    virtual void OnAdd() = 0;
    virtual void OnEdit(int row) = 0;
    virtual void OnRemove(int row) = 0;

    // Shows the editor's refusal, if there is one; true when there was.
    bool Refused(const std::optional<std::string>& refusal);

    UserServices& ui_;

private:
    CListViewEx* list_;
    QPushButton* add_;
    QPushButton* edit_;
    QPushButton* remove_;
};

} // namespace tolvane
