// "Edit Block Range Information": the start code, end code and validation group of one block
// range.
#pragma once

#include "editors/CFieldDlg.h"

class QLineEdit;

namespace tolvane {

class BlockRange;

class CBlockRangeDlg : public CFieldDlg {
    Q_OBJECT

public:
    // OK writes the fields into range, through its setters.
    CBlockRangeDlg(BlockRange& range, UserServices& ui, QWidget* parent = nullptr);

    QLineEdit* StartField() const { return start_; }
    QLineEdit* EndField() const { return end_; }
    QLineEdit* GroupField() const { return group_; }

protected:
    std::optional<std::string> Check() override;

private:
    BlockRange& range_;
    QLineEdit* start_;
    QLineEdit* end_;
    QLineEdit* group_;
};

} // namespace tolvane
