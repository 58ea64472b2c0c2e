// The seam between the core and whoever talks to the user. The core never shows anything itself:
// every message box, question, file chooser and modal dialog goes through this interface, which
// the window, the command-line tool and the tests each implement in their own way.
#pragma once

#include <optional>
#include <string>

namespace tolvane {

struct EventLogFilter;
class CCommSession;
class CommSetup;
class SelectUnitModel;
class InstallationForm;
class BlockCodeEditor;
class EntryCodeEditor;
class DirectoryEditor;
class ValidationGroupEditor;
class DoorScheduleEditor;
class TimeZoneEditor;
class HolidayEditor;

enum class MessageIcon { None, Exclamation, Question, Information, Stop };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What a file chooser offers. The filter is written "Label|pattern|Label|pattern||".
struct FileDialogOptions {
    std::string filter;
    std::string initialName;
    std::string defaultExtension;
    bool hideReadOnly = true;
    bool mustExist = false; // an open dialog that takes only existing files
    // A save dialog asks before it offers a file that is already there.
    bool confirmOverwrite = true;
};

class UserServices {
public:
    virtual ~UserServices() = default;

    // The caption of every message box is the program's name.
    virtual MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // The chosen full path, or nullopt on Cancel.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogOptions& options) {
        (void)options;
        return std::nullopt;
    }
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogOptions& options) {
        (void)options;
        return std::nullopt;
    }

    // The busy cursor, shown while a long piece of work runs on the user interface thread.
    virtual void BeginBusy() {}
    virtual void EndBusy() {}
    // The document's report text changed: the views show it anew.
    virtual void UpdateViews() {}
    virtual void SetTitle(const std::string& title) { (void)title; }

    // Modal dialogs, each on a working copy; true when the user left it with OK.
    virtual bool RunSelectUnitDialog(SelectUnitModel& model) {
        (void)model;
        return false;
    }
    virtual bool RunInstallationDialog(InstallationForm& form) {
        (void)form;
        return false;
    }
    virtual bool RunFilterDialog(EventLogFilter& filter) {
        (void)filter;
        return false;
    }
    // "Varko Connection": the unit's password and how to reach it (a PortSelector); false on
    // Cancel.
    virtual bool RunConnectionDialog(std::string& password, int& selector) {
        (void)password;
        (void)selector;
        return false;
    }
    // The Setup editors, each on the editor's copy of a list; true on OK. kind is the block code
    // kind: 2 transmitters, 1 cards.
    virtual bool RunBlockCodeDialog(BlockCodeEditor& editor, int kind) {
        (void)editor;
        (void)kind;
        return false;
    }
    virtual bool RunEntryCodeDialog(EntryCodeEditor& editor) {
        (void)editor;
        return false;
    }
    virtual bool RunDirectoryDialog(DirectoryEditor& editor) {
        (void)editor;
        return false;
    }
    virtual bool RunValidationGroupDialog(ValidationGroupEditor& editor) {
        (void)editor;
        return false;
    }
    virtual bool RunDoorScheduleDialog(DoorScheduleEditor& editor) {
        (void)editor;
        return false;
    }
    virtual bool RunTimeZoneDialog(TimeZoneEditor& editor) {
        (void)editor;
        return false;
    }
    virtual bool RunHolidayDialog(HolidayEditor& editor) {
        (void)editor;
        return false;
    }
    // "System Phone Number Information": the number on which the unit is called; false on Cancel.
    virtual bool RunSystemPhoneDialog(std::string& countryCode, std::string& areaCode,
                                      std::string& phoneNumber) {
        (void)countryCode;
        (void)areaCode;
        (void)phoneNumber;
        return false;
    }
    // "Communication Setup": the modem, the dialing location and the number to dial, for a call
    // about to be placed; true on "Dial". The dialog initialises the setup when it opens.
    virtual bool RunCommSetupDialog(CommSetup& setup) {
        (void)setup;
        return false;
    }
    // "Communication Progress", modal: it sets itself as the session's sink, starts the session
    // (OnInitialise), passes Cancel and the end notices on, and closes on OK once the session has
    // stopped. Before it returns, the session's thread has ended (CCommSession::Finish).
    virtual void RunProgressDialog(CCommSession& session) { (void)session; }
};

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(UserServices& ui) : ui_(ui) { ui_.BeginBusy(); }
    ~BusyCursor() { ui_.EndBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UserServices& ui_;
};

} // namespace tolvane
