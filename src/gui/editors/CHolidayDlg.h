// "Edit Holiday Information": the holidays that come every year and those that come once, each in
// its own framed list with Add, Edit and Remove, on the holiday editor's copy.
#pragma once

#include <QDate>
#include <QDialog>

#include <array>

class QGroupBox;
class QPushButton;

namespace tolvane {

class CListViewEx;
class HolidayEditor;
class UserServices;
enum class HolidayKind;

class CHolidayDlg : public QDialog {
    Q_OBJECT

public:
    // today: where the date dialog starts, and the first day it lets the user pick.
    CHolidayDlg(HolidayEditor& editor, UserServices& ui, QWidget* parent = nullptr,
                QDate today = QDate::currentDate());

    CListViewEx* List(HolidayKind kind) const { return lists_[Index(kind)]; }
    QPushButton* AddButton(HolidayKind kind) const { return add_[Index(kind)]; }
    QPushButton* EditButton(HolidayKind kind) const { return edit_[Index(kind)]; }
    QPushButton* RemoveButton(HolidayKind kind) const { return remove_[Index(kind)]; }

private:
    static std::size_t Index(HolidayKind kind);
    QGroupBox* BuildList(HolidayKind kind, const QString& caption, const QStringList& columns,
                         const QList<int>& widths);
    QString CellText(HolidayKind kind, int row, int column) const;
    void OnAdd(HolidayKind kind);
    void OnEdit(HolidayKind kind, int row);
    void OnRemove(HolidayKind kind, int row);

    HolidayEditor& editor_;
    UserServices& ui_;
    QDate today_;
    std::array<CListViewEx*, 2> lists_{};
    std::array<QPushButton*, 2> add_{};
    std::array<QPushButton*, 2> edit_{};
    std::array<QPushButton*, 2> remove_{};
};

} // namespace tolvane
