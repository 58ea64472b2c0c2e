#include "document/CZemrixDoc.h"

#include "comm/CCommSession.h"
#include "comm/DirectPorts.h"
#include "comm/SelectUnitModel.h"
#include "document/Backups.h"
#include "document/CommandIds.h"
#include "document/UserServices.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "reports/SystemReport.h"

namespace tolvane {

namespace {

constexpr const char* kMemoryModuleFilter =
    "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||";

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
    case kCmdSave:
    case kCmdUpload:
    case kCmdFilterEventLog:
        return true;
    default:
        return IsSetupCommand(commandId) || ReportKindOf(commandId) != 0;
    }
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
    lists_.Unpack(image_);
    ui_.SetTitle(WindowTitle());
    RegenerateReport();
    changed_ = 0;
}

void CZemrixDoc::WriteImage() {
    lists_.Pack(image_);
    changed_ = 0;
}

void CZemrixDoc::MakeBackups() const {
    MakeBackupCopies(filePath_);
}

void CZemrixDoc::SaveToFile() {
    MakeBackups();
    if (image_.Save(filePath_) != kSaveOk) {
        ui_.ShowMessage("Error Saving the file", MessageIcon::None, MessageButtons::Ok);
    }
}

void CZemrixDoc::OfferSave() {
    if (changed_ == 0 || fileLoaded_ == 0) {
        return;
    }
    const MessageAnswer answer =
        ui_.ShowMessage("Data has changed  --  Do you wish to save changes?", MessageIcon::Question,
                        MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
        return;
    }
    WriteImage();
    SaveToFile();
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
    fileLoaded_ = image_.Load(filePath_) == kLoadOk ? 1 : 0;
    ReadImage();
}

void CZemrixDoc::RegenerateReport() {
    reportText_.clear();
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
    SelectUnitModel model(installations_);
    if (!ui_.RunSelectUnitDialog(model)) {
        return;
    }
    model.StoreInto(installations_);
    OfferSave();
    OpenSelectedInstallation();
    if (model.Changed()) {
        installations_.SaveInstallationList(gateList, ui_);
    } else {
        installations_.SaveSelectedInstallation(gateList);
    }
}

void CZemrixDoc::OnOpen() {
    FileDialogOptions options;
    options.filter = kMemoryModuleFilter;
    options.initialName = "*.mem";
    options.defaultExtension = "mem";
    options.hideReadOnly = true;
    options.mustExist = true;
    if (const std::optional<std::string> path = ui_.ChooseFileToOpen(options)) {
        OpenFile(*path);
    }
}

bool CZemrixDoc::OpenFile(const std::string& path) {
    filePath_ = path;
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
                        MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        return;
    }
    WriteImage();
    SaveToFile();
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

void CZemrixDoc::OnNewDocument() {
    // The one document stays what it is; only the view is emptied and the title set.
    reportText_.clear();
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

bool CZemrixDoc::RunSession(CCommSession& session, int selector, int mode, const char* failure) {
    bool succeeded = false;
    if (selector == kModemPort) {
        // No telephony layer stands behind the modem choice yet.
        ui_.ShowMessage("Error initializing telephony resources", MessageIcon::Exclamation,
                        MessageButtons::Ok);
    } else if (selector >= kCom1 && selector <= kCom4) {
        succeeded = session.RunDirectSession(ui_, selector, mode, password_,
                                             DirectPortDevice(configDirectory_, selector));
    } else {
        return false;
    }
    if (!succeeded) {
        ui_.ShowMessage(failure, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return succeeded;
}

void CZemrixDoc::ListInstallation() {
    if (listed_ != 0) {
        return;
    }
    ProfileFile gateList = GateList();
    const Installation installation{
        image_.GetInstallationName(), password_, filePath_, countryCode_, areaCode_, phoneNumber_};
    if (installations_.AddInstallation(gateList, installation)) {
        listed_ = 1;
    }
}

void CZemrixDoc::OnDownloadData() {
    CCommSession session(timeouts_);
    if (filePath_.empty() || (fileLoaded_ == 0 && listed_ == 0)) {
        FileDialogOptions options;
        options.filter = kMemoryModuleFilter;
        options.initialName = "NewFile";
        options.defaultExtension = "mem";
        options.hideReadOnly = true;
        const std::optional<std::string> path = ui_.ChooseFileToSave(options);
        if (!path) {
            return;
        }
        filePath_ = *path;
    }
    int selector = kNoPort;
    if (!ui_.RunConnectionDialog(password_, selector)) {
        return;
    }
    if (!RunSession(session, selector, kDownloadSession, "Data has NOT been downloaded")) {
        return;
    }
    MakeBackups();
    SavePacketsToFile(session.packets, filePath_, ui_);
    if (image_.Load(filePath_) != kLoadOk) {
        fileLoaded_ = 0;
        filePath_.clear();
        ui_.ShowMessage("Error Loading the file", MessageIcon::None, MessageButtons::Ok);
    } else {
        fileLoaded_ = 1;
        ListInstallation();
    }
    ReadImage();
}

void CZemrixDoc::OnUploadData() {
    CCommSession session(timeouts_);
    if (fileLoaded_ == 0) {
        return;
    }
    int selector = kNoPort;
    if (!ui_.RunConnectionDialog(password_, selector)) {
        return;
    }
    WriteImage();
    MakeBackups();
    if (image_.Save(filePath_) != kSaveOk) {
        ui_.ShowMessage("Error Saving the file", MessageIcon::None, MessageButtons::Ok);
        return;
    }
    LoadPacketsFromFile(session.packets, filePath_, session.Crc(), ui_);
    if (RunSession(session, selector, kUploadSession, "Data has NOT been uploaded")) {
        ListInstallation();
    }
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
    return reportKind_ == kind;
}

} // namespace tolvane
