#include "widgets/ShowRefusal.h"

#include "support/UserServices.h"

#include <QLineEdit>

namespace tolvane {

bool ShowRefusal(UserServices& ui, const std::optional<std::string>& refusal, QWidget* field) {
    if (!refusal) {
        return false;
    }
    ui.ShowMessage(*refusal, MessageIcon::Exclamation, MessageButtons::Ok);
    if (field != nullptr) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->selectAll();
        }
    }
    return true;
}

} // namespace tolvane
