#include "document/CZemrixDoc.h"

#include "comm/CCommSession.h"
#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/DoorScheduleEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/HolidayEditor.h"
#include "config/TimeZoneEditor.h"
#include "config/ValidationGroupEditor.h"
#include "comm/DirectPorts.h"
#include "sites/SelectUnitModel.h"
#include "document/CommandIds.h"
#include "document/EditedLists.h"
#include "document/ReceivedModule.h"
#include "support/PosixFile.h"
#include "support/UserServices.h"
#include "image/PageClaims.h"
#include "reports/ImageDiff.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "reports/SystemReport.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace tolvane {

namespace {

constexpr const char* kMemoryModuleFilter =
    "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||";

// The chooser of a memory module file to read.
FileDialogOptions OpenOptions() {
    FileDialogOptions options;
    options.filter = kMemoryModuleFilter;
    options.initialName = "*.mem";
    options.defaultExtension = "mem";
    options.hideReadOnly = true;
    options.mustExist = true;
    return options;
}

int ReportKindOf(int commandId) {
    switch (commandId) {
    case kCmdEventLogReport:
        return kEventLogReport;
    case kCmdSystemReport:
        return kSystemReport;
    case kCmdDirectoryReport:
        return kDirectoryReport;
    case kCmdBlockTransmitterReport:
        return kBlockTransmitterReport;
    case kCmdBlockCardReport:
        return kBlockCardReport;
    default:
        return 0;
    }
}

// Commands that only make sense with an image in the document.
bool NeedsLoadedImage(int commandId) {
    switch (commandId) {
    case kCmdReload:
    case kCmdCompareWith:
    case kCmdSave:
    case kCmdUpload:
    case kCmdFilterEventLog:
        return true;
    default:
        return IsSetupCommand(commandId) || ReportKindOf(commandId) != 0;
    }
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

} // namespace

CZemrixDoc::CZemrixDoc(UserServices& ui, const std::string& configDirectory, Clock clock)
    : ui_(ui), configDirectory_(configDirectory), clock_(std::move(clock)), image_(ui) {
    filter_.Reset(clock_());
}

ProfileFile CZemrixDoc::GateList() const {
    // It holds the units' passwords: nobody else may read it.
    return ProfileFile(configDirectory_ + "/gatelist.ini", 0600);
}

void CZemrixDoc::Create() {
    installations_.LoadInstallationList(GateList());
    OpenSelectedInstallation();
}

std::string CZemrixDoc::WindowTitle() const {
    if (!IsFileLoaded()) {
        return "Tolvane";
    }
    return "Tolvane - " + image_.GetInstallationName();
}

void CZemrixDoc::ReadImage() {
    filter_.Reset(clock_());
    image_.Unpack(lists_);
    ui_.SetTitle(WindowTitle());
    RegenerateReport();
    changed_ = 0;
    if (fileLoaded_ != 0 && !FindSharedPages(image_).empty()) {
        ui_.ShowMessage(DamageText() +
                            "\n\nA list that shares another's pages shows that list's data as "
                            "its own, and saving or uploading writes it back so. Download the "
                            "unit's module again, or use a backup copy, if you can.",
                        MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

std::string CZemrixDoc::DamageText() const {
    std::string text = "This memory module file is damaged: some of its pages belong to more than "
                       "one list.";
    for (const std::string& line : DescribeSharedPages(FindSharedPages(image_))) {
        text += "\n" + line;
    }
    return text;
}

bool CZemrixDoc::ConfirmKeepingDamage(const char* action) {
    if (FindSharedPages(image_).empty()) {
        return true;
    }
    return ui_.ShowMessage(DamageText() + "\n\n" + action +
                               " it keeps the damage: each list is written back as it reads. "
                               "Go on?",
                           MessageIcon::Exclamation, MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool CZemrixDoc::SaveImage() {
    changed_ = 0;
    if (PackAndSave(image_, lists_, filePath_) != kSaveOk) {
        // What is not on disk is still unsaved: the next prompt must ask again.
        changed_ = 1;
        ui_.ShowMessage("Error Saving the file", MessageIcon::None, MessageButtons::Ok);
        return false;
    }
    return true;
}

bool CZemrixDoc::OfferSave() {
    if (changed_ == 0 || fileLoaded_ == 0) {
        return true;
    }
    switch (ui_.ShowMessage("Data has changed  --  Do you wish to save changes?",
                            MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::No:
        return true;
    case MessageAnswer::Yes:
        return ConfirmKeepingDamage("Saving") && SaveImage();
    default:
        return false;
    }
}

void CZemrixDoc::OpenSelectedInstallation() {
    const int32_t selected = installations_.selected;
    if (selected < 0 || selected >= static_cast<int32_t>(installations_.records.size())) {
        return;
    }
    const Installation& installation = installations_.records[static_cast<std::size_t>(selected)];
    listed_ = 1;
    password_ = installation.password;
    filePath_ = installation.fileName;
    countryCode_ = installation.countryCode;
    areaCode_ = installation.areaCode;
    phoneNumber_ = installation.phoneNumber;
    std::string whyNot;
    const int result = image_.Load(filePath_, &whyNot);
    fileLoaded_ = result == kLoadOk ? 1 : 0;
    if (result == kLoadCannotOpen) {
        ExplainUnopenedFile(installation, whyNot);
    }
    ReadImage();
}

void CZemrixDoc::ExplainUnopenedFile(const Installation& installation,
                                     const std::string& whyNot) const {
    struct stat info {};
    if (::stat(installation.fileName.c_str(), &info) != 0 && errno == ENOENT) {
        ui_.ShowMessage("The installation \"" + installation.name +
                            "\" has no memory module file yet:\n" + installation.fileName +
                            "\n\nUse File > Download Data to fetch it from the unit.",
                        MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    ui_.ShowMessage("The memory module file of the installation \"" + installation.name +
                        "\" cannot be opened:\n" + installation.fileName + "\n" + whyNot + ".",
                    MessageIcon::Exclamation, MessageButtons::Ok);
}

void CZemrixDoc::RegenerateReport() {
    reportText_.clear();
    comparison_ = false;
    if (fileLoaded_ == 0) {
        ui_.UpdateViews();
        return;
    }
    {
        const BusyCursor busy(ui_);
        reportText_ = BuildReport(reportKind_, image_, lists_, filter_,
                                  SystemPhoneNumberText(countryCode_, areaCode_, phoneNumber_));
    }
    ui_.UpdateViews();
}

void CZemrixDoc::OnSelectSystem() {
    ProfileFile gateList = GateList();
    installations_.LoadInstallationList(gateList);
    SelectUnitModel model(installations_, fileLoaded_ != 0 ? filePath_ : std::string());
    if (!ui_.RunSelectUnitDialog(model)) {
        return;
    }
    // The changes in work are settled before any file is deleted: deleted first, the open file
    // would be written back by saving them. Changes to a file the user chose to delete are not
    // offered at all. Cancel at the prompt backs out of the whole selection, files included.
    if (!model.DeletesOpenFile() && !OfferSave()) {
        return;
    }
    model.DeleteRemovedFiles(ui_);
    model.StoreInto(installations_);
    OpenSelectedInstallation();
    if (model.Changed()) {
        installations_.SaveInstallationList(gateList, ui_);
    } else {
        installations_.SaveSelectedInstallation(gateList);
    }
}

bool CZemrixDoc::OnOpen() {
    const std::optional<std::string> path = ui_.ChooseFileToOpen(OpenOptions());
    return path && OpenFile(*path);
}

bool CZemrixDoc::OpenFile(const std::string& path) {
    if (!OfferSave()) {
        return false;
    }
    // Stored in the recent files and, after a download, in the installation list: a name that
    // only meant something in the directory the program was started from would lead nowhere.
    filePath_ = AbsolutePath(path);
    fileLoaded_ = 1;
    if (image_.Load(filePath_) != kLoadOk) {
        fileLoaded_ = 0;
        filePath_.clear();
        ui_.ShowMessage("Error Loading the file", MessageIcon::None, MessageButtons::Ok);
    } else {
        // A file opened by hand belongs to no installation, so the next start opens nothing.
        listed_ = 0;
        installations_.selected = -1;
        ProfileFile gateList = GateList();
        installations_.SaveSelectedInstallation(gateList);
    }
    ReadImage();
    return IsFileLoaded();
}

void CZemrixDoc::OnSave() {
    if (fileLoaded_ == 0) {
        return;
    }
    if (ui_.ShowMessage("Save access control system information to file -- Are you sure?",
                        MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No ||
        !ConfirmKeepingDamage("Saving")) {
        return;
    }
    SaveImage();
}

void CZemrixDoc::OnReload() {
    if (fileLoaded_ == 0) {
        return;
    }
    if (ui_.ShowMessage("Reload access control system information from file -- Are you sure?",
                        MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        return;
    }
    if (image_.Load(filePath_) != kLoadOk) {
        fileLoaded_ = 0;
        filePath_.clear();
        ui_.ShowMessage("Error Loading the file", MessageIcon::None, MessageButtons::Ok);
    }
    ReadImage();
}

void CZemrixDoc::OnCompareWith() {
    if (fileLoaded_ == 0) {
        return;
    }
    const std::optional<std::string> path = ui_.ChooseFileToOpen(OpenOptions());
    if (!path) {
        return;
    }
    // Loaded apart: a file that does not load has only its messages to show and leaves the
    // document and its view as they were.
    MemoryModule other(ui_);
    std::string whyNot;
    const int result = other.Load(*path, &whyNot);
    if (result == kLoadCannotOpen) {
        ui_.ShowMessage("Cannot open " + *path + ":\n" + whyNot + ".", MessageIcon::Exclamation,
                        MessageButtons::Ok);
    }
    if (result != kLoadOk) {
        return;
    }
    UnitConfiguration otherLists;
    other.Unpack(otherLists);
    {
        const BusyCursor busy(ui_);
        // The document's own lists, unsaved edits included: what the user sees is what is compared.
        const std::string differences = ImageDiff(image_, lists_, other, otherLists).Text();
        reportText_ = "Changes from " + filePath_ + " to " + AbsolutePath(*path) + "\n\n";
        reportText_ += differences.empty() ? "No differences\n" : differences;
    }
    comparison_ = true;
    ui_.UpdateViews();
}

void CZemrixDoc::OnNewDocument() {
    if (!OfferSave()) {
        return;
    }
    // The one document stays what it is; only the view is emptied and the title set.
    reportText_.clear();
    comparison_ = false;
    ui_.UpdateViews();
    ui_.SetTitle(WindowTitle());
}

void CZemrixDoc::OnReport(int reportKind) {
    reportKind_ = reportKind;
    RegenerateReport();
}

void CZemrixDoc::OnFilterEventLog() {
    EventLogFilter copy = filter_;
    if (!ui_.RunFilterDialog(copy)) {
        return;
    }
    filter_ = copy;
    if (reportKind_ == kEventLogReport) {
        RegenerateReport();
    }
}

void CZemrixDoc::OnBlockCodes(int kind) {
    BlockCodeEditor editor;
    editor.Load(kind == kBlockTransmitters ? lists_.blockTransmitters : lists_.blockCards);
    if (!ui_.RunBlockCodeDialog(editor, kind)) {
        return;
    }
    changed_ = 1;
    TakeBlockCodes(editor, kind, lists_, image_);
    const int ownReport = kind == kBlockTransmitters ? kBlockTransmitterReport : kBlockCardReport;
    if (reportKind_ == ownReport || reportKind_ == kSystemReport) {
        RegenerateReport();
    }
}

void CZemrixDoc::OnEntryCodes() {
    EntryCodeEditor editor;
    editor.Load(lists_.entryCodes);
    if (!ui_.RunEntryCodeDialog(editor)) {
        return;
    }
    changed_ = 1;
    TakeEntryCodes(editor, lists_);
}

void CZemrixDoc::OnTelephoneEntries() {
    DirectoryEditor editor(image_.GetDirectorySlots());
    editor.Load(lists_.directory);
    if (!ui_.RunDirectoryDialog(editor)) {
        return;
    }
    changed_ = 1;
    TakeDirectory(editor, lists_, image_);
    if (reportKind_ == kDirectoryReport) {
        RegenerateReport();
    }
}

// The three tables of the system area: written at once, and shown only by the system report.
template <typename Editor, typename Table>
void CZemrixDoc::EditSystemTable(const Table& table, bool (UserServices::*run)(Editor&),
                                 void (*take)(const Editor&, UnitConfiguration&, MemoryModule&)) {
    Editor editor;
    editor.Load(table);
    if (!(ui_.*run)(editor)) {
        return;
    }
    changed_ = 1;
    take(editor, lists_, image_);
    if (reportKind_ == kSystemReport) {
        RegenerateReport();
    }
}

void CZemrixDoc::OnHolidays() {
    HolidayEditor editor;
    editor.Load(lists_.holidays, lists_.expiringHolidays);
    if (!ui_.RunHolidayDialog(editor)) {
        return;
    }
    changed_ = 1;
    TakeHolidays(editor, lists_);
}

bool CZemrixDoc::RunSession(CCommSession& session, int selector, int mode, const char* failure) {
    bool succeeded = false;
    numberTyped_ = false;
    if (selector == kModemPort) {
        // A listed installation with its whole number is called at once; any other is asked for
        // the number first.
        if (countryCode_.empty() || areaCode_.empty() || phoneNumber_.empty() || listed_ == 0) {
            std::string country = countryCode_;
            std::string area = areaCode_;
            std::string phone = phoneNumber_;
            if (!ui_.RunSystemPhoneDialog(country, area, phone)) {
                return false;
            }
            countryCode_ = country;
            areaCode_ = area;
            phoneNumber_ = phone;
            numberTyped_ = true;
        }
        succeeded = session.RunModemSession(ui_, mode, countryCode_, areaCode_, phoneNumber_,
                                            configDirectory_, password_);
    } else if (selector >= kCom1 && selector <= kCom4) {
        succeeded = session.RunDirectSession(ui_, selector, mode, password_,
                                             DirectPortDevice(configDirectory_, selector));
    } else {
        return false;
    }
    if (!succeeded) {
        ui_.ShowMessage(failure, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    // The way that worked is kept with the installation, for a backup run that asks nobody.
    port_ = selector == kModemPort ? "Modem" : DirectPortName(selector);
    return true;
}

void CZemrixDoc::ListInstallation() {
    if (listed_ != 0) {
        return;
    }
    ProfileFile gateList = GateList();
    const Installation installation{image_.GetInstallationName(),
                                    password_,
                                    filePath_,
                                    countryCode_,
                                    areaCode_,
                                    phoneNumber_,
                                    port_};
    if (installations_.AddInstallation(gateList, installation)) {
        listed_ = 1;
    }
}

void CZemrixDoc::OnDownloadData() {
    // Asked first: a download replaces the image, and the user may still back out here.
    if (!OfferSave()) {
        return;
    }
    CCommSession session(timeouts_);
    // The file in work changes only once a module has arrived and been written.
    std::string path = filePath_;
    if (path.empty() || (fileLoaded_ == 0 && listed_ == 0)) {
        FileDialogOptions options;
        options.filter = kMemoryModuleFilter;
        options.initialName = "NewFile";
        options.defaultExtension = "mem";
        options.hideReadOnly = true;
        const std::optional<std::string> chosen = ui_.ChooseFileToSave(options);
        if (!chosen) {
            return;
        }
        path = AbsolutePath(*chosen);
    }
    // The file the download replaces is the best guess of what the unit will send.
    session.expectedBytes = FileSize(path);
    int selector = kNoPort;
    if (!ui_.RunConnectionDialog(password_, selector)) {
        return;
    }
    if (!RunSession(session, selector, kDownloadSession, "Data has NOT been downloaded")) {
        return;
    }
    if (StoreReceivedModule(session.packets, path, ui_) != 0) {
        ui_.ShowMessage("Data has NOT been downloaded", MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return;
    }
    filePath_ = path;
    image_.LoadBytes(PacketData(session.packets));
    fileLoaded_ = 1;
    ListInstallation();
    RememberConnection();
    ReadImage();
}

void CZemrixDoc::OnUploadData() {
    CCommSession session(timeouts_);
    if (fileLoaded_ == 0) {
        return;
    }
    if (!ConfirmKeepingDamage("Uploading")) {
        return;
    }
    int selector = kNoPort;
    if (!ui_.RunConnectionDialog(password_, selector)) {
        return;
    }
    if (!SaveImage()) {
        return;
    }
    LoadPacketsFromFile(session.packets, filePath_, session.Crc(), ui_);
    if (RunSession(session, selector, kUploadSession, "Data has NOT been uploaded")) {
        ListInstallation();
        RememberConnection();
    }
}

void CZemrixDoc::RememberConnection() {
    if (listed_ == 0) {
        return;
    }
    // From a fresh read, so that nothing another Tolvane wrote since is lost by saving.
    ProfileFile gateList = GateList();
    InstallationList fresh;
    fresh.LoadInstallationList(gateList);
    const auto match =
        std::find_if(fresh.records.begin(), fresh.records.end(),
                     [this](const Installation& record) { return record.fileName == filePath_; });
    if (match == fresh.records.end()) {
        return;
    }
    Installation remembered = *match;
    remembered.password = password_;
    // Only a number typed for this session: one left from another file must not replace it.
    if (numberTyped_) {
        remembered.countryCode = countryCode_;
        remembered.areaCode = areaCode_;
        remembered.phoneNumber = phoneNumber_;
    }
    remembered.port = port_;
    if (remembered == *match) {
        return;
    }
    // In place, so that whatever else the file keeps stays as it is.
    if (!fresh.UpdateInstallation(gateList, filePath_, remembered)) {
        ui_.ShowMessage("Error writing to gate list file", MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return;
    }
    installations_ = std::move(fresh);
}

bool CZemrixDoc::OnCommand(int commandId) {
    if (const int kind = ReportKindOf(commandId); kind != 0) {
        OnReport(kind);
        return true;
    }
    switch (commandId) {
    case kCmdSelectSystem:
        OnSelectSystem();
        return true;
    case kCmdOpen:
        OnOpen();
        return true;
    case kCmdSave:
        OnSave();
        return true;
    case kCmdReload:
        OnReload();
        return true;
    case kCmdCompareWith:
        OnCompareWith();
        return true;
    case kCmdNew:
        OnNewDocument();
        return true;
    case kCmdFilterEventLog:
        OnFilterEventLog();
        return true;
    case kCmdDownload:
        OnDownloadData();
        return true;
    case kCmdUpload:
        OnUploadData();
        return true;
    case kCmdBlockTransmitters:
        OnBlockCodes(kBlockTransmitters);
        return true;
    case kCmdBlockCards:
        OnBlockCodes(kBlockCards);
        return true;
    case kCmdEntryCodes:
        OnEntryCodes();
        return true;
    case kCmdTelephoneEntries:
        OnTelephoneEntries();
        return true;
    case kCmdValidationGroups:
        EditSystemTable(lists_.validationGroups, &UserServices::RunValidationGroupDialog,
                        &TakeValidationGroups);
        return true;
    case kCmdDoorSchedules:
        EditSystemTable(lists_.doorSchedules, &UserServices::RunDoorScheduleDialog,
                        &TakeDoorSchedules);
        return true;
    case kCmdTimeZones:
        EditSystemTable(lists_.timeZones, &UserServices::RunTimeZoneDialog, &TakeTimeZones);
        return true;
    case kCmdHolidays:
        OnHolidays();
        return true;
    default:
        return false;
    }
}

std::optional<bool> CZemrixDoc::IsCommandEnabled(int commandId) const {
    if (NeedsLoadedImage(commandId)) {
        return IsFileLoaded();
    }
    switch (commandId) {
    case kCmdSelectSystem:
    case kCmdOpen:
    case kCmdDownload:
    case kCmdNew:
        return true;
    default:
        return std::nullopt;
    }
}

std::optional<bool> CZemrixDoc::IsCommandChecked(int commandId) const {
    const int kind = ReportKindOf(commandId);
    if (kind == 0) {
        return std::nullopt;
    }
    return !comparison_ && reportKind_ == kind;
}

} // namespace tolvane
