#include "editors/CBlockRangeDlg.h"

#include "config/BlockCodeEditor.h"

#include <QLineEdit>

namespace tolvane {

CBlockRangeDlg::CBlockRangeDlg(BlockRange& range, UserServices& ui, QWidget* parent)
    : CFieldDlg("Edit Block Range Information", ui, parent), range_(range),
      start_(new QLineEdit(QString::number(range.First()))),
      end_(new QLineEdit(QString::number(range.Last()))),
      group_(new QLineEdit(QString::number(range.ValidationGroup()))) {
    AddField("Start Code:", start_);
    AddField("End Code:", end_);
    AddField("Validation Group:", group_);
    // An end below the start is the end's fault.
    SetOtherRefusalsField(end_);
}

std::optional<std::string> CBlockRangeDlg::Check() {
    return BlockCodeEditor::ReadRange(start_->text().toStdString(), end_->text().toStdString(),
                                      group_->text().toStdString(), range_);
}

} // namespace tolvane
