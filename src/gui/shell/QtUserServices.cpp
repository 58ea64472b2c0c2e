#include "shell/QtUserServices.h"

#include "comm/CCommProgressDlg.h"
#include "comm/CCommSetupDlg.h"
#include "sites/CInstallationDlg.h"
#include "comm/CUnitConnectionDlg.h"
#include "comm/DirectPorts.h"
#include "editors/CBlockCodeDlg.h"
#include "editors/CDoorScheduleDlg.h"
#include "editors/CEntryCodeListDlg.h"
#include "editors/CHolidayDlg.h"
#include "editors/CPhoneDirectoryDlg.h"
#include "editors/CSystemPhoneDlg.h"
#include "editors/CTimeZoneListDlg.h"
#include "editors/CValidationGroupDlg.h"
#include "sites/CSelectUnitDlg.h"
#include "reports/CFilterDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <utility>

namespace tolvane {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

// Runs the dialog made of the arguments and the window modally; true on OK.
template <typename Dialog, typename... Arguments>
bool RunModal(QWidget* window, Arguments&&... arguments) {
    Dialog dialog(std::forward<Arguments>(arguments)..., window);
    return dialog.exec() == QDialog::Accepted;
}

void Prepare(QFileDialog& dialog, const FileDialogOptions& options) {
    dialog.setNameFilter(QtUserServices::DialogFilter(options.filter));
    dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    dialog.setOption(QFileDialog::ReadOnly, false);
    // "*.mem" is a pattern, not a name: it only chooses what the list shows.
    if (options.initialName.find('*') == std::string::npos) {
        dialog.selectFile(QString::fromStdString(options.initialName));
    }
}

} // namespace

QString QtUserServices::DialogFilter(const std::string& filter) {
    // The file dialog takes its patterns from the parentheses of each label, so the label carries
    // the pattern of its pair; "*.*" means every file, which here is "*" (else names without an
    // extension would not be listed).
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed() == "*.*" ? QString("*") : pattern.trimmed();
        }
        QString label = parts[i].trimmed();
        if (const qsizetype open = label.lastIndexOf('('); open > 0 && label.endsWith(')')) {
            label = label.left(open).trimmed();
        }
        filters << QString("%1 (%2)").arg(label, patterns.join(' '));
    }
    return filters.join(";;");
}

MessageAnswer QtUserServices::ShowMessage(const std::string& text, MessageIcon icon,
                                          MessageButtons buttons) {
    QMessageBox box(IconOf(icon), "Tolvane", QString::fromStdString(text), QMessageBox::NoButton,
                    window_);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> QtUserServices::ChooseFileToOpen(const FileDialogOptions& options) {
    QFileDialog dialog(window_, "Open");
    Prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return dialog.exec() == QDialog::Accepted ? Chosen(dialog.selectedFiles().value(0))
                                              : std::nullopt;
}

std::optional<std::string> QtUserServices::ChooseFileToSave(const FileDialogOptions& options) {
    QFileDialog dialog(window_, "Save As");
    Prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    return dialog.exec() == QDialog::Accepted ? Chosen(dialog.selectedFiles().value(0))
                                              : std::nullopt;
}

void QtUserServices::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserServices::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void QtUserServices::UpdateViews() {
    if (updateViews_) {
        updateViews_();
    }
}

void QtUserServices::SetTitle(const std::string& title) {
    if (setTitle_) {
        setTitle_(title);
    }
}

bool QtUserServices::RunSelectUnitDialog(SelectUnitModel& model) {
    return RunModal<CSelectUnitDlg>(window_, model, *this);
}

bool QtUserServices::RunInstallationDialog(InstallationForm& form) {
    return RunModal<CInstallationDlg>(window_, form, *this);
}

bool QtUserServices::RunFilterDialog(EventLogFilter& filter) {
    return RunModal<CFilterDlg>(window_, filter, *this);
}

bool QtUserServices::RunConnectionDialog(std::string& password, int& selector) {
    std::array<QString, 4> devices;
    for (int port = 0; port < 4; ++port) {
        devices[static_cast<std::size_t>(port)] =
            QString::fromStdString(DirectPortDevice(configDirectory_, port + 2));
    }
    CUnitConnectionDlg dialog(QString::fromStdString(password), devices, window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    password = dialog.Password().toStdString();
    selector = dialog.Choice();
    return true;
}

bool QtUserServices::RunBlockCodeDialog(BlockCodeEditor& editor, int kind) {
    return RunModal<CBlockCodeDlg>(window_, editor, kind, *this);
}

bool QtUserServices::RunEntryCodeDialog(EntryCodeEditor& editor) {
    return RunModal<CEntryCodeListDlg>(window_, editor, *this);
}

bool QtUserServices::RunDirectoryDialog(DirectoryEditor& editor) {
    return RunModal<CPhoneDirectoryDlg>(window_, editor, *this);
}

bool QtUserServices::RunValidationGroupDialog(ValidationGroupEditor& editor) {
    return RunModal<CValidationGroupDlg>(window_, editor, *this);
}

bool QtUserServices::RunDoorScheduleDialog(DoorScheduleEditor& editor) {
    return RunModal<CDoorScheduleDlg>(window_, editor, *this);
}

bool QtUserServices::RunTimeZoneDialog(TimeZoneEditor& editor) {
    return RunModal<CTimeZoneListDlg>(window_, editor, *this);
}

bool QtUserServices::RunHolidayDialog(HolidayEditor& editor) {
    return RunModal<CHolidayDlg>(window_, editor, *this);
}

bool QtUserServices::RunSystemPhoneDialog(std::string& countryCode, std::string& areaCode,
                                          std::string& phoneNumber) {
    CSystemPhoneDlg dialog(QString::fromStdString(countryCode), QString::fromStdString(areaCode),
                           QString::fromStdString(phoneNumber), *this, window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    countryCode = dialog.CountryCodeField()->text().toStdString();
    areaCode = dialog.AreaCodeField()->text().toStdString();
    phoneNumber = dialog.PhoneNumberField()->text().toStdString();
    return true;
}

bool QtUserServices::RunCommSetupDialog(CommSetup& setup) {
    return RunModal<CCommSetupDlg>(window_, setup);
}

void QtUserServices::RunProgressDialog(CCommSession& session) {
    CCommProgressDlg dialog(session, *this, window_);
    dialog.RunSession();
}

} // namespace tolvane
