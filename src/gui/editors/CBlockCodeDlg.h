// "Configure Block Transmitter Information" or "Configure Block Card Information": the block
// ranges in the order entered, and the suspended codes in ascending order, on the block code
// editor's copy.
#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tolvane {

class BlockCodeEditor;
class BlockRange;
class CListCtrlEx;
class UserServices;

class CBlockCodeDlg : public QDialog {
    Q_OBJECT

public:
    // kind: 2 block transmitters, 1 block cards.
    CBlockCodeDlg(BlockCodeEditor& editor, int kind, UserServices& ui, QWidget* parent = nullptr);

    CListCtrlEx* Ranges() const { return ranges_; }
    QListWidget* Suspended() const { return suspended_; }
    QPushButton* AddRangeButton() const { return addRange_; }
    QPushButton* EditRangeButton() const { return editRange_; }
    QPushButton* RemoveRangeButton() const { return removeRange_; }
    QPushButton* AddSuspendedButton() const { return addSuspended_; }
    QPushButton* RemoveSuspendedButton() const { return removeSuspended_; }

private:
    static QStringList RangeTexts(const BlockRange& range);
    QListWidgetItem* AddSuspendedRow(uint16_t code);
    void OnAddRange();
    void OnEditRange();
    void OnRemoveRange();
    void OnAddSuspended();
    void OnRemoveSuspended();

    BlockCodeEditor& editor_;
    UserServices& ui_;
    CListCtrlEx* ranges_;
    QListWidget* suspended_;
    QPushButton* addRange_;
    QPushButton* editRange_;
    QPushButton* removeRange_;
    QPushButton* addSuspended_;
    QPushButton* removeSuspended_;
};

} // namespace tolvane
