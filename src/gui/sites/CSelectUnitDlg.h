// "Select Access Control Unit": the known installations, with Add, Edit and Remove, over the
// list rules of the core.
#pragma once

#include <QDialog>

class QPushButton;

namespace tolvane {

class CListCtrlEx;
class SelectUnitModel;
class UserServices;

class CSelectUnitDlg : public QDialog {
    Q_OBJECT

public:
    CSelectUnitDlg(SelectUnitModel& model, UserServices& ui, QWidget* parent = nullptr);

    void accept() override;

    CListCtrlEx* List() const { return list_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* RemoveButton() const { return remove_; }

private:
    void Fill();
    void OnAdd();
    void OnEdit();
    void OnRemove();
    void UpdateButtons();

    SelectUnitModel& model_;
    UserServices& ui_;
    CListCtrlEx* list_;
    QPushButton* add_;
    QPushButton* edit_;
    QPushButton* remove_;
};

} // namespace tolvane
