// The installations the program knows and the one selected, kept in "gatelist.ini".
#pragma once

#include "sites/Installation.h"

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
    // Every entry with a name, also those the list drops for a missing password or file name:
    // for a tool that must say why such a unit cannot be reached. Never saved back.
    void LoadEveryEntry(const ProfileFile& file);
    // Writes the file anew, in one write, numbering the entries from 1. A record the file cannot
    // take, and a file that cannot be written, are each said with a message.
    void SaveInstallationList(ProfileFile& file, UserServices& ui) const;
    void SaveSelectedInstallation(ProfileFile& file) const;
    // Adds the installation to the file as it is now, numbered past every entry the file holds
    // (those a load drops too, and those another run of the program added since), and selects
    // it; the list then holds what the file holds. False, with nothing changed, for an
    // installation a load would drop or whose values cannot be lines of the file; false too when
    // the file could not be written, the list having the installation all the same.
    bool AddInstallation(ProfileFile& file, const Installation& installation);
    // Writes the first entry a load takes with the given file name anew from record, in the file
    // as it is now, and selects it: every other entry, key and line stays as it is. The list then
    // holds what the file holds. False when no such entry is there or the file could not be
    // written.
    bool UpdateInstallation(ProfileFile& file, const std::string& fileName,
                            const Installation& record);
};

} // namespace tolvane
