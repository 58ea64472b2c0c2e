// A user who answers from a script and remembers everything the core asked and showed, so tests
// can assert the exact texts and their order.
#pragma once

#include "support/UserServices.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tolvane {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedUserServices : public UserServices {
public:
    // Answers given in order to questions; an Ok-only message box takes no answer from the script.
    void Answer(MessageAnswer answer) { answers_.push_back(answer); }
    // Paths given in order to the file choosers; nullopt stands for Cancel.
    void ChooseFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    // What the modal dialogs do when they run; each returns true for OK. Unset: Cancel.
    std::function<bool(SelectUnitModel&)> selectUnitDialog;
    std::function<bool(InstallationForm&)> installationDialog;
    std::function<bool(EventLogFilter&)> filterDialog;
    std::function<bool(BlockCodeEditor&, int)> blockCodeDialog;
    std::function<bool(EntryCodeEditor&)> entryCodeDialog;
    std::function<bool(DirectoryEditor&)> directoryDialog;
    std::function<bool(ValidationGroupEditor&)> validationGroupDialog;
    std::function<bool(DoorScheduleEditor&)> doorScheduleDialog;
    std::function<bool(TimeZoneEditor&)> timeZoneDialog;
    std::function<bool(HolidayEditor&)> holidayDialog;
    std::function<bool(CommSetup&)> commSetupDialog;
    std::function<bool(std::string& password, int& selector)> connectionDialog;
    std::function<bool(std::string& country, std::string& area, std::string& phone)>
        systemPhoneDialog;

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
    bool RunBlockCodeDialog(BlockCodeEditor& editor, int kind) override;
    bool RunEntryCodeDialog(EntryCodeEditor& editor) override;
    bool RunDirectoryDialog(DirectoryEditor& editor) override;
    bool RunValidationGroupDialog(ValidationGroupEditor& editor) override;
    bool RunDoorScheduleDialog(DoorScheduleEditor& editor) override;
    bool RunTimeZoneDialog(TimeZoneEditor& editor) override;
    bool RunHolidayDialog(HolidayEditor& editor) override;
    bool RunCommSetupDialog(CommSetup& setup) override;
    bool RunConnectionDialog(std::string& password, int& selector) override;
    bool RunSystemPhoneDialog(std::string& countryCode, std::string& areaCode,
                              std::string& phoneNumber) override;
    // Noted only: a session run here never starts.
    void RunProgressDialog(CCommSession& session) override;

    const std::vector<ShownMessage>& Shown() const { return shown_; }
    std::vector<std::string> Texts() const;
    // Every call in order, one line each: "message: ...", "open: ...", "title: ...", "views",
    // "busy", "idle", "dialog: ...".
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<FileDialogOptions>& FileDialogs() const { return fileDialogs_; }
    void Forget();

private:
    std::optional<std::string> NextFile(const char* kind, const FileDialogOptions& options);

    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<ShownMessage> shown_;
    std::vector<std::string> calls_;
    std::vector<FileDialogOptions> fileDialogs_;
};

} // namespace tolvane
