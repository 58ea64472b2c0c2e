// The one document: the working state of one access control unit. It owns the installation list,
// the memory module image, the lists and tables the editors change, the event log filter and the
// report on display, and carries out the file, selection and report commands.
#pragma once

#include "comm/ChannelTimeouts.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/EventTime.h"

#include <functional>
#include <optional>
#include <string>

namespace tolvane {

class CCommSession;
class UserServices;

class CZemrixDoc {
public:
    using Clock = std::function<EventTime()>;

    // configDirectory holds "gatelist.ini"; clock gives the time the filter is reset to.
    CZemrixDoc(UserServices& ui, const std::string& configDirectory, Clock clock = EventTime::Now);
    CZemrixDoc(const CZemrixDoc&) = delete;
    CZemrixDoc& operator=(const CZemrixDoc&) = delete;

    // Document creation: loads the installation list and opens the installation that was
    // selected when the program last ran.
    void Create();
    // Before the window closes: the prompt for unsaved changes. False when the user cancelled or
    // the save failed: the window then stays open.
    bool Close() { return OfferSave(); }

    // --- what the document holds ------------------------------------------------------------

    const InstallationList& Installations() const { return installations_; }
    MemoryModule& Image() { return image_; }
    const MemoryModule& Image() const { return image_; }
    UnitConfiguration& Lists() { return lists_; }
    const UnitConfiguration& Lists() const { return lists_; }
    const EventLogFilter& Filter() const { return filter_; }
    const std::string& ReportText() const { return reportText_; }
    int ReportKind() const { return reportKind_; }
    bool IsModified() const { return changed_ != 0; }
    bool IsFileLoaded() const { return fileLoaded_ != 0; }
    bool IsListed() const { return listed_ != 0; }
    const std::string& FilePath() const { return filePath_; }
    const std::string& Password() const { return password_; }
    const std::string& CountryCode() const { return countryCode_; }
    const std::string& AreaCode() const { return areaCode_; }
    const std::string& PhoneNumber() const { return phoneNumber_; }
    std::string WindowTitle() const;

    // An editor accepted a change that is not yet saved.
    void SetModified() { changed_ = 1; }

    // --- operations other commands build on ---------------------------------------------------

    void ReadImage();
    // The prompt for unsaved changes, with Cancel. True when the caller may go on and replace or
    // leave the image: nothing to save, the user declined, or the save went through.
    bool OfferSave();
    void OpenSelectedInstallation();
    void RegenerateReport();

    // --- commands -----------------------------------------------------------------------------

    void OnSelectSystem();
    // True when a file was opened.
    bool OnOpen();
    // Open without the file chooser: a file named on the command line or in the recent files,
    // made absolute. True when it loaded; false also when the user kept the unsaved changes.
    bool OpenFile(const std::string& path);
    void OnSave();
    void OnReload();
    // Shows in the report view what differs between the document's configuration and a chosen
    // file's; the next report or load replaces it.
    void OnCompareWith();
    void OnNewDocument();
    void OnReport(int reportKind);
    void OnFilterEventLog();
    void OnDownloadData();
    void OnUploadData();
    // The Setup editors: block transmitters (kind 2) or block cards (kind 1), entry codes, and the
    // telephone entry directory.
    void OnBlockCodes(int kind);
    void OnEntryCodes();
    void OnTelephoneEntries();
    // Holidays; the validation groups, door schedules and time zones go through EditSystemTable.
    void OnHolidays();

    // The waits on the line to the unit; tests shorten them.
    void SetChannelTimeouts(const ChannelTimeouts& timeouts) { timeouts_ = timeouts; }

    // Runs the command if the document carries it out; false when it is not the document's.
    bool OnCommand(int commandId);
    // Whether a command is enabled and checked, for the commands the document decides; nullopt
    // for the others.
    std::optional<bool> IsCommandEnabled(int commandId) const;
    std::optional<bool> IsCommandChecked(int commandId) const;

private:
    template <typename Editor, typename Table>
    void EditSystemTable(const Table& table, bool (UserServices::*run)(Editor&),
                         void (*take)(const Editor&, UnitConfiguration&, MemoryModule&));
    ProfileFile GateList() const;
    // The session for the chosen port; false with nothing shown when the choice was no port.
    // Shows the command's failure message when the session failed.
    bool RunSession(CCommSession& session, int selector, int mode, const char* failure);
    // The first session that succeeds with an unlisted installation puts it in the list.
    void ListInstallation();
    // Packs the lists into the image and saves it to the file in work after the backups; says so
    // when it fails, and the changes then stay marked as unsaved.
    bool SaveImage();
    // After a session the unit accepted: a password or telephone number typed anew replaces the
    // one listed.
    void RememberConnection();
    // A module whose pages belong to more than one list: what is wrong, and whether the user
    // wants to save or upload it all the same (true when it is sound).
    std::string DamageText() const;
    bool ConfirmKeepingDamage(const char* action);
    // Says why the selected installation's file did not open, when Load itself said nothing.
    void ExplainUnopenedFile(const Installation& installation, const std::string& whyNot) const;

    UserServices& ui_;
    std::string configDirectory_;
    Clock clock_;

    InstallationList installations_;
    MemoryModule image_;
    UnitConfiguration lists_;
    EventLogFilter filter_;
    std::string reportText_;
    int reportKind_ = 2;
    // The report view shows a comparison, not the report of reportKind_.
    bool comparison_ = false;
    int changed_ = 0;
    std::string phoneNumber_;
    std::string port_;         // how the unit was reached last: "COM1" to "COM4" or "Modem"
    bool numberTyped_ = false; // the telephone number was typed for the session now ending
    std::string areaCode_;
    std::string countryCode_ = "1";
    std::string password_;
    int fileLoaded_ = 0;
    int listed_ = 0;
    std::string filePath_;
    ChannelTimeouts timeouts_;
};

} // namespace tolvane
