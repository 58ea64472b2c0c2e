// The rules of the "Installation Information" dialog, apart from any window: the fields with their
// limits, the default name for "...", and the checks made on OK.
#pragma once

#include "sites/Installation.h"

#include <string>

namespace tolvane {

class UserServices;

class InstallationForm {
public:
    // How many characters may be typed into each field. They limit typing only: a value that
    // was stored longer is kept whole. The file name has no limit: it is chosen, never typed,
    // and a path is as long as the system allows.
    static constexpr std::size_t kNameLimit = 64;
    static constexpr std::size_t kPasswordLimit = 6;
    static constexpr std::size_t kCodeLimit = 16;
    static constexpr std::size_t kPhoneLimit = 48;

    // A new installation: country code "1", everything else empty.
    InstallationForm();
    explicit InstallationForm(const Installation& installation) : fields(installation) {}

    // "...": asks for the memory module file, starting from the file name, else the
    // installation name, else "NewFile"; the chosen path goes into the file name field.
    void BrowseForFile(UserServices& ui);
    // "OK": false, with the message shown, when a required field is empty.
    bool Accept(UserServices& ui) const;

    Installation fields;
};

} // namespace tolvane
