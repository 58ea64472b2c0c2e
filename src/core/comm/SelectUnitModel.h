// The rules of the "Select Access Control Unit" dialog, apart from any window: a working copy of
// the installation list, the row texts, Add, Edit, Remove and the choice made on OK. Nothing
// reaches the document or the file until the document stores the model back.
#pragma once

#include "comm/InstallationList.h"

#include <array>
#include <string>

namespace tolvane {

class UserServices;

class SelectUnitModel {
public:
    explicit SelectUnitModel(const InstallationList& list) : list_(list) {}

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
    // "Remove": asks whether the file goes too; Cancel keeps everything.
    bool Remove(UserServices& ui, std::size_t row);
    // "OK" or a double click on a row: the chosen row becomes the selection (-1 for none).
    void Choose(int32_t row);

    // Moves the working records and the selection into the document's list.
    void StoreInto(InstallationList& list) const { list = list_; }

private:
    InstallationList list_;
    bool changed_ = false;
};

} // namespace tolvane
