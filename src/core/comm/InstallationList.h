// The installations the program knows and the one selected, kept in "gatelist.ini".
#pragma once

#include "comm/Installation.h"

#include <cstdint>
#include <vector>

namespace tolvane {

class ProfileFile;
class UserServices;

struct InstallationList {
    int32_t selected = -1;
    std::vector<Installation> records;

    // Replaces the list with the file's content. Entries without a name, password or file name
    // are dropped; a selection beyond the list becomes none. Always succeeds.
    void LoadInstallationList(const ProfileFile& file);
    // Deletes the file and writes it anew, numbering the entries from 1.
    void SaveInstallationList(ProfileFile& file, UserServices& ui) const;
    void SaveSelectedInstallation(ProfileFile& file) const;
    // Appends the installation to the file and the list and selects it; false when a key could
    // not be written.
    bool AddInstallation(ProfileFile& file, const Installation& installation);
};

} // namespace tolvane
