// The window's side of the user seam: message boxes captioned "Tolvane", the file dialogs, the
// busy cursor, the title, the report view and the modal dialogs.
#pragma once

#include "support/UserServices.h"

#include <QString>

#include <functional>

class QWidget;

namespace tolvane {

class QtUserServices : public UserServices {
public:
    // Where dialogs are parented, and who hears that the document changed.
    void SetWindow(QWidget* window) { window_ = window; }
    void SetViewUpdater(std::function<void()> updater) { updateViews_ = std::move(updater); }
    void SetTitleSetter(std::function<void(const std::string&)> setter) {
        setTitle_ = std::move(setter);
    }
    // Where "zemrix.ini" names the devices of the direct ports.
    void SetConfigDirectory(const std::string& directory) { configDirectory_ = directory; }

    MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogOptions& options) override;
    void BeginBusy() override;
    void EndBusy() override;
    void UpdateViews() override;
    void SetTitle(const std::string& title) override;
    bool RunSelectUnitDialog(SelectUnitModel& model) override;
    bool RunInstallationDialog(InstallationForm& form) override;
    bool RunFilterDialog(EventLogFilter& filter) override;
    bool RunConnectionDialog(std::string& password, int& selector) override;
    bool RunBlockCodeDialog(BlockCodeEditor& editor, int kind) override;
    bool RunEntryCodeDialog(EntryCodeEditor& editor) override;
    bool RunDirectoryDialog(DirectoryEditor& editor) override;
    bool RunValidationGroupDialog(ValidationGroupEditor& editor) override;
    bool RunDoorScheduleDialog(DoorScheduleEditor& editor) override;
    bool RunTimeZoneDialog(TimeZoneEditor& editor) override;
    bool RunHolidayDialog(HolidayEditor& editor) override;
    bool RunSystemPhoneDialog(std::string& countryCode, std::string& areaCode,
                              std::string& phoneNumber) override;
    bool RunCommSetupDialog(CommSetup& setup) override;
    void RunProgressDialog(CCommSession& session) override;

    // "Label|pattern|Label|pattern||" as the file dialogs write it: "Label (pattern);;...", the
    // patterns in the parentheses, where the file dialog reads them.
    static QString DialogFilter(const std::string& filter);

private:
    QWidget* window_ = nullptr;
    std::function<void()> updateViews_;
    std::function<void(const std::string&)> setTitle_;
    std::string configDirectory_;
};

} // namespace tolvane
