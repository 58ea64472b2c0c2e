// How a dialog says no: the editor's message in a warning box, then the field it is about, if
// any, focused with its text selected, so that the next keys typed replace what was refused.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace tolvane {

class UserServices;

// True when there was a refusal to show.
bool ShowRefusal(UserServices& ui, const std::optional<std::string>& refusal,
                 QWidget* field = nullptr);

} // namespace tolvane
