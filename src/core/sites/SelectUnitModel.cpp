#include "sites/SelectUnitModel.h"

#include "sites/InstallationForm.h"
#include "support/UserServices.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

// The same file under either name: the open file may have been reached by another path, through
// a link or relative to another directory.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return a == b || (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
                      first.st_dev == second.st_dev && first.st_ino == second.st_ino);
}

} // namespace

std::string SelectUnitModel::DataNumber(const Installation& installation) {
    std::string text = installation.countryCode + " ";
    if (!installation.areaCode.empty()) {
        text += "(" + installation.areaCode + ") ";
    }
    return text + installation.phoneNumber;
}

std::array<std::string, 3> SelectUnitModel::RowTexts(std::size_t row) const {
    const Installation& installation = Row(row);
    return {installation.name, DataNumber(installation), installation.fileName};
}

bool SelectUnitModel::Add(UserServices& ui) {
    InstallationForm form;
    if (!ui.RunInstallationDialog(form)) {
        return false;
    }
    list_.records.push_back(form.fields);
    list_.selected = static_cast<int32_t>(list_.records.size() - 1);
    changed_ = true;
    return true;
}

bool SelectUnitModel::Edit(UserServices& ui, std::size_t row) {
    if (row >= RowCount()) {
        return false;
    }
    InstallationForm form(list_.records[row]);
    if (!ui.RunInstallationDialog(form)) {
        return false;
    }
    list_.records[row] = form.fields;
    changed_ = true;
    return true;
}

bool SelectUnitModel::Remove(UserServices& ui, std::size_t row) {
    if (row >= RowCount()) {
        return false;
    }
    const MessageAnswer answer = ui.ShowMessage(
        "Do you wish to delete the file as well?  --  WARNING:  File deletion can not be undone",
        MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel) {
        return false;
    }
    const std::string fileName = list_.records[row].fileName;
    bool deleteFile = answer == MessageAnswer::Yes;
    if (deleteFile && !openFile_.empty() && SameFile(fileName, openFile_)) {
        deleteFile =
            ui.ShowMessage("The file " + fileName + " is the one open now. Delete it all the same?",
                           MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
        deletesOpenFile_ = deletesOpenFile_ || deleteFile;
    }
    if (deleteFile) {
        filesToDelete_.push_back(fileName);
    }
    list_.records.erase(list_.records.begin() + static_cast<std::ptrdiff_t>(row));
    // The selection follows the rows: it stays on the installation it named, and is gone with
    // it.
    const auto removed = static_cast<int32_t>(row);
    if (list_.selected == removed) {
        list_.selected = -1;
    } else if (list_.selected > removed) {
        --list_.selected;
    }
    changed_ = true;
    return true;
}

void SelectUnitModel::DeleteRemovedFiles(UserServices& ui) const {
    for (const std::string& fileName : filesToDelete_) {
        if (::unlink(fileName.c_str()) != 0) {
            ui.ShowMessage("Error deleting file:  " + fileName, MessageIcon::Exclamation,
                           MessageButtons::Ok);
        }
    }
}

void SelectUnitModel::Choose(int32_t row) {
    list_.selected = row >= 0 && row < static_cast<int32_t>(RowCount()) ? row : -1;
}

} // namespace tolvane
