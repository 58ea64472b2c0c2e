// The rules of the "Select Access Control Unit" dialog, apart from any window: a working copy of
// the installation list, the row texts, Add, Edit, Remove and the choice made on OK. Nothing
// reaches the document, the list's file or the disk until the dialog ends with OK and the
// document stores the model back and deletes the files Remove marked.
#pragma once

#include "sites/InstallationList.h"

#include <array>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

class SelectUnitModel {
public:
    // openFile: the memory module file the document has open now, empty for none.
    explicit SelectUnitModel(const InstallationList& list, std::string openFile = {})
        : list_(list), openFile_(std::move(openFile)) {}

    std::size_t RowCount() const { return list_.records.size(); }
    const Installation& Row(std::size_t row) const { return list_.records.at(row); }
    // The row the dialog shows selected, -1 for none.
    int32_t Selected() const { return list_.selected; }
    bool Changed() const { return changed_; }

    // Installation name, data number, file name.
    std::array<std::string, 3> RowTexts(std::size_t row) const;
    // Country code, a blank, "(area) " when there is an area code, then the phone number.
    static std::string DataNumber(const Installation& installation);

    // "Add": the installation dialog on an empty form; the new row is appended and selected.
    bool Add(UserServices& ui);
    // "Edit": the installation dialog on the row's fields.
    bool Edit(UserServices& ui, std::size_t row);
    // "Remove": asks whether the file goes too; Cancel keeps everything. A file to go is only
    // marked, so that Cancel on the dialog can still keep it. For the file open now it asks once
    // more, naming it; No then keeps the file and removes only the row.
    bool Remove(UserServices& ui, std::size_t row);
    // "OK" or a double click on a row: the chosen row becomes the selection (-1 for none).
    void Choose(int32_t row);

    // Moves the working records and the selection into the document's list.
    void StoreInto(InstallationList& list) const { list = list_; }
    // Whether Remove marked the file open now, the user having said so twice.
    bool DeletesOpenFile() const { return deletesOpenFile_; }
    // After OK: deletes the files Remove marked, saying which of them could not be deleted.
    void DeleteRemovedFiles(UserServices& ui) const;

private:
    InstallationList list_;
    std::string openFile_;
    std::vector<std::string> filesToDelete_;
    bool deletesOpenFile_ = false;
    bool changed_ = false;
};

} // namespace tolvane
