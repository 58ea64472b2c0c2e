#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

namespace tolvane {

MessageAnswer ScriptedUserServices::ShowMessage(const std::string& text, MessageIcon icon,
                                                MessageButtons buttons) {
    shown_.push_back({text, icon, buttons});
    calls_.push_back("message: " + text);
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return MessageAnswer::Cancel;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUserServices::NextFile(const char* kind,
                                                          const FileDialogOptions& options) {
    fileDialogs_.push_back(options);
    calls_.push_back(std::string(kind) + ": " + options.initialName);
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted file dialog";
        return std::nullopt;
    }
    std::optional<std::string> path = files_.front();
    files_.pop_front();
    return path;
}

std::optional<std::string>
ScriptedUserServices::ChooseFileToOpen(const FileDialogOptions& options) {
    return NextFile("open", options);
}

std::optional<std::string>
ScriptedUserServices::ChooseFileToSave(const FileDialogOptions& options) {
    return NextFile("save as", options);
}

void ScriptedUserServices::BeginBusy() {
    calls_.push_back("busy");
}

void ScriptedUserServices::EndBusy() {
    calls_.push_back("idle");
}

void ScriptedUserServices::UpdateViews() {
    calls_.push_back("views");
}

void ScriptedUserServices::SetTitle(const std::string& title) {
    calls_.push_back("title: " + title);
}

bool ScriptedUserServices::RunSelectUnitDialog(SelectUnitModel& model) {
    calls_.push_back("dialog: select unit");
    return selectUnitDialog && selectUnitDialog(model);
}

bool ScriptedUserServices::RunInstallationDialog(InstallationForm& form) {
    calls_.push_back("dialog: installation");
    return installationDialog && installationDialog(form);
}

bool ScriptedUserServices::RunFilterDialog(EventLogFilter& filter) {
    calls_.push_back("dialog: filter");
    return filterDialog && filterDialog(filter);
}

bool ScriptedUserServices::RunBlockCodeDialog(BlockCodeEditor& editor, int kind) {
    calls_.push_back("dialog: block codes " + std::to_string(kind));
    return blockCodeDialog && blockCodeDialog(editor, kind);
}

bool ScriptedUserServices::RunEntryCodeDialog(EntryCodeEditor& editor) {
    calls_.push_back("dialog: entry codes");
    return entryCodeDialog && entryCodeDialog(editor);
}

bool ScriptedUserServices::RunDirectoryDialog(DirectoryEditor& editor) {
    calls_.push_back("dialog: directory");
    return directoryDialog && directoryDialog(editor);
}

bool ScriptedUserServices::RunValidationGroupDialog(ValidationGroupEditor& editor) {
    calls_.push_back("dialog: validation groups");
    return validationGroupDialog && validationGroupDialog(editor);
}

bool ScriptedUserServices::RunDoorScheduleDialog(DoorScheduleEditor& editor) {
    calls_.push_back("dialog: door schedules");
    return doorScheduleDialog && doorScheduleDialog(editor);
}

bool ScriptedUserServices::RunTimeZoneDialog(TimeZoneEditor& editor) {
    calls_.push_back("dialog: time zones");
    return timeZoneDialog && timeZoneDialog(editor);
}

bool ScriptedUserServices::RunHolidayDialog(HolidayEditor& editor) {
    calls_.push_back("dialog: holidays");
    return holidayDialog && holidayDialog(editor);
}

bool ScriptedUserServices::RunCommSetupDialog(CommSetup& setup) {
    calls_.push_back("dialog: communication setup");
    return commSetupDialog && commSetupDialog(setup);
}

bool ScriptedUserServices::RunConnectionDialog(std::string& password, int& selector) {
    calls_.push_back("dialog: connection");
    return connectionDialog && connectionDialog(password, selector);
}

bool ScriptedUserServices::RunSystemPhoneDialog(std::string& countryCode, std::string& areaCode,
                                                std::string& phoneNumber) {
    calls_.push_back("dialog: system phone " + countryCode + "|" + areaCode + "|" + phoneNumber);
    return systemPhoneDialog && systemPhoneDialog(countryCode, areaCode, phoneNumber);
}

void ScriptedUserServices::RunProgressDialog(CCommSession&) {
    calls_.push_back("dialog: progress");
}

std::vector<std::string> ScriptedUserServices::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& message : shown_) {
        texts.push_back(message.text);
    }
    return texts;
}

void ScriptedUserServices::Forget() {
    shown_.clear();
    calls_.clear();
    fileDialogs_.clear();
}

} // namespace tolvane
