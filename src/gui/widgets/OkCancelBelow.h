// The layout of a dialog of fields: what it edits, and beneath it OK and Cancel, which run the
// dialog's own accept and reject. The dialog keeps the size its contents need.
#pragma once

class QDialog;
class QLayout;

namespace tolvane {

void OkCancelBelow(QDialog* dialog, QLayout* contents);

} // namespace tolvane
