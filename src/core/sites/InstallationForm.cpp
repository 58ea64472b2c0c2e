#include "sites/InstallationForm.h"

#include "support/UserServices.h"

namespace tolvane {

// Built in place, every field named: assigning "1" afterwards makes GCC 12 at -O3 warn of an
// overlapping copy that cannot happen.
InstallationForm::InstallationForm()
    : fields{.name = {},
             .password = {},
             .fileName = {},
             .countryCode = "1",
             .areaCode = {},
             .phoneNumber = {},
             .port = {}} {}

void InstallationForm::BrowseForFile(UserServices& ui) {
    FileDialogOptions options;
    options.filter = "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||";
    options.defaultExtension = "mem";
    options.hideReadOnly = true;
    // Only a name is picked here, often that of a file already there: nothing is written now.
    options.confirmOverwrite = false;
    options.initialName = !fields.fileName.empty() ? fields.fileName
                          : !fields.name.empty()   ? fields.name
                                                   : "NewFile";
    if (const std::optional<std::string> path = ui.ChooseFileToSave(options)) {
        fields.fileName = *path;
    }
}

bool InstallationForm::Accept(UserServices& ui) const {
    const char* problem = fields.fileName.empty()   ? "File name is required"
                          : fields.name.empty()     ? "Installation name is required"
                          : fields.password.empty() ? "Password is required"
                                                    : nullptr;
    if (problem != nullptr) {
        ui.ShowMessage(problem, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace tolvane
