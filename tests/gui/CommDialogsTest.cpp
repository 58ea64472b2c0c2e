// Download and upload from the document through the real progress window, against a simulated
// unit behind COM1: what arrives is the unit's module byte for byte, an edit lands in the unit,
// and a cancel in the middle changes no file; and the connection dialog's choices.
#include "comm/CCommProgressDlg.h"
#include "comm/CCommSession.h"
#include "comm/CommSetup.h"
#include "comm/CUnitConnectionDlg.h"
#include "document/CZemrixDoc.h"
#include "DemoImage.h"
#include "sites/ProfileFile.h"
#include "shell/QtUserServices.h"
#include "support/ScriptedUserServices.h"
#include "support/AsOrdinaryUser.h"
#include "support/ModemOnLine.h"
#include "support/UnitOnLine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace tolvane {
namespace {

std::vector<uint8_t> Demo() {
    ScriptedUserServices quiet;
    return BuildDemoImage(quiet);
}

// An edit that reaches the unit only through an upload.
void ChangeATimeZone(CZemrixDoc& doc) {
    uint16_t& minute = doc.Lists().timeZones[1].startMinute[0];
    minute = static_cast<uint16_t>((minute + 7) % 60);
    doc.SetModified();
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The window's own services, except that the connection dialog answers COM1 and the password
// without showing itself, the file chooser names the test's file, and message boxes are noted
// instead of shown. The progress window is the real one.
class Com1User : public QtUserServices {
public:
    MessageAnswer ShowMessage(const std::string& text, MessageIcon,
                              MessageButtons buttons) override {
        messages.push_back(text);
        if (buttons == MessageButtons::Ok || answers.empty()) {
            return MessageAnswer::Ok;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFileToSave(const FileDialogOptions&) override {
        return saveAs;
    }
    bool RunConnectionDialog(std::string& password, int& selector) override {
        password = UnitOnLine::kPassword;
        selector = kCom1;
        return true;
    }

    std::string saveAs;
    std::vector<std::string> messages;
    std::deque<MessageAnswer> answers; // to questions, in order
};

// The user at the progress window: presses Cancel once the log shows cancelAt (if given), and OK
// once the session has stopped and the caption tells how it ended, keeping caption and log as
// they were then. A window still open after 30 s is a failure, cancelled and closed.
class ProgressUser : public QObject {
public:
    // endTitles: the captions that say the session has ended, besides the usual three.
    explicit ProgressUser(QString cancelAt = {}, QStringList endTitles = {})
        : cancelAt_(std::move(cancelAt)), endTitles_(endTitles << "Complete"
                                                               << "Aborted"
                                                               << "Failed") {
        connect(&timer_, &QTimer::timeout, this, &ProgressUser::Poll);
        timer_.start(5);
        clock_.start();
    }

    QString caption;
    QString log;
    QString progress; // the line under the bar

private:
    void Poll() {
        auto* dialog = qobject_cast<CCommProgressDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (!cancelAt_.isEmpty() && watched_ != dialog) {
            // Pressed right after the line is taken, while the thread waits to log the next one.
            // The line may be there already when the window is first seen.
            watched_ = dialog;
            const auto press = [this, dialog] {
                if (!pressed_ && dialog->Log()->toPlainText().contains(cancelAt_)) {
                    pressed_ = true;
                    QTimer::singleShot(0, dialog, [dialog] { dialog->Button()->click(); });
                }
            };
            connect(dialog->Log(), &QPlainTextEdit::textChanged, dialog, press);
            press();
        }
        const QString title = dialog->windowTitle();
        const bool ended = endTitles_.contains(title);
        if (dialog->IsClosable() && ended) {
            caption = title;
            log = dialog->Log()->toPlainText();
            progress = dialog->ProgressText()->text();
            dialog->Button()->click();
        } else if (clock_.elapsed() > 30000) {
            ADD_FAILURE() << "the session did not end: " << title.toStdString();
            clock_.restart();
            dialog->Button()->click();
        }
    }

    QString cancelAt_;
    QStringList endTitles_;
    QTimer timer_;
    QElapsedTimer clock_;
    QObject* watched_ = nullptr;
    bool pressed_ = false;
};

// The document on a directory of its own whose zemrix.ini holds settings, with the user's
// answers from User and the line's time scaled as the simulated far end runs.
template <typename User> class DocumentOnLineTest : public ::testing::Test {
protected:
    void StartDocument(const std::string& settings, int timeScale) {
        ASSERT_TRUE(dir_.isValid());
        std::ofstream(Path("zemrix.ini")) << settings;
        user_.saveAs = Path("harbour.mem");
        doc_ = std::make_unique<CZemrixDoc>(user_, dir_.path().toStdString());
        doc_->SetChannelTimeouts(ChannelTimeouts().ScaledDown(timeScale));
        doc_->Create();
    }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    const std::vector<uint8_t> demo_ = Demo();
    User user_;
    std::unique_ptr<CZemrixDoc> doc_;
};

class CommDialogsTest : public DocumentOnLineTest<Com1User> {
protected:
    void SetUp() override {
        StartDocument("[ports]\nCOM1=" + unit_.Device() + "\n", UnitOnLine::kTimeScale);
    }

    UnitOnLine unit_{demo_};
};

TEST_F(CommDialogsTest, DownloadLoadsTheUnitsModuleAndAnUploadedEditLandsInTheUnit) {
    {
        const ProgressUser user;
        doc_->OnDownloadData();
        EXPECT_EQ(user.caption, "Complete");
        EXPECT_TRUE(user.log.contains("Sucessfully received packet 128")) << user.log.toStdString();
        EXPECT_TRUE(user.log.endsWith("Communication sucessfully complete"));
        // A new file gives no size to go by.
        EXPECT_TRUE(user.progress.startsWith("Received 128 KB, ")) << user.progress.toStdString();
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>());
    EXPECT_EQ(doc_->FilePath(), user_.saveAs);
    EXPECT_EQ(ReadFile(user_.saveAs), unit_.Unit().Image());
    EXPECT_TRUE(doc_->IsFileLoaded());
    EXPECT_TRUE(doc_->IsListed());
    ASSERT_EQ(doc_->Installations().records.size(), 1u);
    EXPECT_EQ(doc_->Installations().records[0].name, doc_->Image().GetInstallationName());
    EXPECT_EQ(doc_->Installations().records[0].port, "COM1");

    // The list held another password; the unit took the one typed, which replaces it.
    ProfileFile gateList(Path("gatelist.ini"), 0600);
    ASSERT_TRUE(gateList.WriteString("Installation_1", "Password", "999999"));
    ChangeATimeZone(*doc_);
    {
        const ProgressUser user;
        doc_->OnUploadData();
        EXPECT_EQ(user.caption, "Complete");
        EXPECT_TRUE(user.log.contains("Upload Successful  --  All packets sent"));
        EXPECT_TRUE(user.progress.startsWith("Sent 128 KB of 128 KB (100 %), "))
            << user.progress.toStdString();
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>());
    const std::vector<uint8_t> uploaded = ReadFile(user_.saveAs);
    EXPECT_NE(uploaded, demo_);
    EXPECT_EQ(unit_.Unit().Image(), uploaded);
    EXPECT_EQ(ReadFile(Path("harbour.001")), demo_);
    EXPECT_EQ(gateList.Read().ReadString("Installation_1", "Password"), UnitOnLine::kPassword);
}

// A download replaces the image only once its file is written; before that the user may keep the
// changes in work, and a failure leaves file and image as they were.
TEST_F(CommDialogsTest, ADownloadThatCannotBeKeptLeavesFileAndImageAsTheyWere) {
    {
        const ProgressUser user;
        doc_->OnDownloadData();
    }
    ASSERT_TRUE(doc_->IsFileLoaded());
    const std::vector<uint8_t> first = ReadFile(user_.saveAs);
    const std::string changed = "Data has changed  --  Do you wish to save changes?";

    // Cancel at the prompt: not even the line is touched.
    doc_->Lists().entryCodes.clear();
    doc_->SetModified();
    user_.messages.clear();
    user_.answers = {MessageAnswer::Cancel, MessageAnswer::No};
    const std::size_t heard = unit_.Unit().Received().size();
    doc_->OnDownloadData();
    EXPECT_EQ(user_.messages, std::vector<std::string>{changed});
    EXPECT_EQ(unit_.Unit().Received().size(), heard);

    // A file the user may not write is refused, not replaced behind their back.
    ASSERT_EQ(::chmod(user_.saveAs.c_str(), 0444), 0);
    {
        const ProgressUser user;
        const AsOrdinaryUser ordinary({dir_.path().toStdString(), unit_.Device()});
        doc_->OnDownloadData();
    }
    EXPECT_EQ(user_.messages,
              (std::vector<std::string>{
                  changed, changed, "Error opening file\n" + user_.saveAs + ": Permission denied",
                  "Data has NOT been downloaded"}));
    EXPECT_EQ(ReadFile(user_.saveAs), first);
    EXPECT_FALSE(std::filesystem::exists(Path("harbour.001")));
    EXPECT_TRUE(doc_->IsFileLoaded() && doc_->IsModified());
    EXPECT_TRUE(doc_->Lists().entryCodes.empty());
}

TEST_F(CommDialogsTest, CancelInTheMiddleOfADownloadChangesNoFile) {
    std::ofstream(user_.saveAs) << "keep";
    const std::vector<uint8_t> before = {'k', 'e', 'e', 'p'};
    {
        const ProgressUser user("Sucessfully received packet 3");
        doc_->OnDownloadData();
        EXPECT_EQ(user.caption, "Aborted");
        // The thread says it has stopped before the window says the session was aborted.
        const std::string log = user.log.toStdString();
        EXPECT_EQ(log.find("Received the EOT"), std::string::npos) << log;
        EXPECT_LT(log.find("Thread canceled"), log.find("ERROR:  Communication aborted")) << log;
        EXPECT_NE(log.find("ERROR:  Communication aborted"), std::string::npos) << log;
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>{"Data has NOT been downloaded"});
    EXPECT_EQ(ReadFile(user_.saveAs), before);
    EXPECT_FALSE(std::filesystem::exists(Path("harbour.001")));
    EXPECT_FALSE(doc_->IsFileLoaded());
    // The unit saw the transfer cancelled (CAN twice), then the keys that leave it.
    const std::vector<uint8_t> received = unit_.Unit().Received();
    const std::vector<uint8_t> cancel = {0x18, 0x18, 0x1B, 0x0D, 0x1B, 0x1A};
    EXPECT_NE(std::search(received.begin(), received.end(), cancel.begin(), cancel.end()),
              received.end());
}

// The same user, who chooses the modem, gives the number an unlisted installation lacks, and
// dials with the stored choices; the progress window is the real one.
class ModemUser : public Com1User {
public:
    bool RunConnectionDialog(std::string& password, int& selector) override {
        password = UnitOnLine::kPassword;
        selector = kModemPort;
        return true;
    }
    bool RunSystemPhoneDialog(std::string& country, std::string& area,
                              std::string& phone) override {
        country = "1";
        area = "617";
        phone = "5550100";
        return true;
    }
    bool RunCommSetupDialog(CommSetup& setup) override {
        setup.Initialise();
        setup.Accept();
        return true;
    }
};

class ModemDialogsTest : public DocumentOnLineTest<ModemUser> {
protected:
    // The document on a fresh directory whose one modem is the simulated one given.
    void Start(SimulatedModemOptions options) {
        options.unit.image = demo_;
        modem_ = std::make_unique<ModemOnLine>(std::move(options));
        StartDocument("[modems]\nTest Modem=" + modem_->Device() + "\n", ModemOnLine::kTimeScale);
    }

    std::unique_ptr<ModemOnLine> modem_;
};

TEST_F(ModemDialogsTest, DownloadAndUploadByModemShowTheCallFromDialToHangUp) {
    Start({});
    {
        const ProgressUser user;
        doc_->OnDownloadData();
        EXPECT_EQ(user.caption, "Complete");
        const QString log = user.log;
        EXPECT_TRUE(log.startsWith("Opened line device Test Modem using TAPI version 1.4\n"
                                   "Dialing 5550100\nGot a dialtone\nNow dialing\n"
                                   "Waiting for answer\nCall connected!\n"
                                   "Opened communications port\n"))
            << log.toStdString();
        EXPECT_TRUE(log.endsWith("Communication sucessfully complete\nLine is now idle\n"
                                 "Call has been dropped\nLine has been closed"))
            << log.toStdString();
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>());
    EXPECT_EQ(ReadFile(user_.saveAs), demo_);
    ASSERT_TRUE(doc_->IsListed());
    EXPECT_EQ(doc_->Installations().records[0].areaCode, "617");
    EXPECT_EQ(doc_->Installations().records[0].port, "Modem");

    ChangeATimeZone(*doc_);
    {
        const ProgressUser user;
        doc_->OnUploadData();
        EXPECT_EQ(user.caption, "Complete");
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>());
    EXPECT_NE(ReadFile(user_.saveAs), demo_);
    EXPECT_EQ(modem_->Modem().UnitImage(), ReadFile(user_.saveAs));
}

// A busy line, a dial the user cancels and a cancel once connected all end with the call
// dropped, the line closed, the OK button and the command's failure message; no file is written.
TEST_F(ModemDialogsTest, ABusyLineOrACancelEndsWithTheCallDroppedAndTheLineClosed) {
    const QString dropped = "Line is now idle\nCall has been dropped\nLine has been closed";
    SimulatedModemOptions busy;
    busy.answer = DialAnswer::Busy;
    Start(busy);
    {
        const ProgressUser user({}, {"Connecting ..."});
        doc_->OnDownloadData();
        EXPECT_TRUE(user.log.endsWith("Waiting for answer\nLine is busy\n"
                                      "Disconnect due to busy line\n" +
                                      dropped))
            << user.log.toStdString();
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>{"Data has NOT been downloaded"});
    EXPECT_FALSE(std::filesystem::exists(user_.saveAs));

    SimulatedModemOptions ringing;
    ringing.answerDelayMs = 600000;
    Start(ringing);
    user_.messages.clear();
    {
        const ProgressUser user("Waiting for answer", {"Canceled by User"});
        doc_->OnDownloadData();
        EXPECT_TRUE(user.log.endsWith("Waiting for answer\n" + dropped)) << user.log.toStdString();
    }
    EXPECT_EQ(user_.messages, std::vector<std::string>{"Data has NOT been downloaded"});
    EXPECT_EQ(modem_->Modem().ReceivedLines().back(), "ATH");
    EXPECT_FALSE(std::filesystem::exists(user_.saveAs));

    // Cancelled once connected: the session leaves the unit first, then the call is dropped.
    Start({});
    user_.messages.clear();
    {
        const ProgressUser user("Giving the password...");
        doc_->OnDownloadData();
        EXPECT_EQ(user.caption, "Aborted");
        EXPECT_FALSE(user.log.contains("does not leave the call")) << user.log.toStdString();
        EXPECT_TRUE(user.log.endsWith(dropped)) << user.log.toStdString();
    }
    EXPECT_EQ(modem_->Modem().ReceivedLines().back(), "ATH");
    EXPECT_FALSE(std::filesystem::exists(user_.saveAs));
}

TEST(CommConnectionDialogTest, PasswordTypedUpToSixModemByDefaultFourPortsAndCancel) {
    const std::array<QString, 4> devices = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/x"};
    {
        // A stored password longer than the typing limit is shown and given back whole.
        CUnitConnectionDlg dialog("12345678", devices);
        EXPECT_EQ(dialog.Password(), "12345678");
        EXPECT_EQ(CUnitConnectionDlg("", devices).PasswordField()->maxLength(), 6);
        EXPECT_TRUE(dialog.ModemButton()->isDefault());
        // Enter in the password field chooses the modem.
        dialog.show();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(dialog.PasswordField(), &enter);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Choice(), kModemPort);
    }
    for (int port = 0; port < 4; ++port) {
        CUnitConnectionDlg dialog("", devices);
        dialog.PasswordField()->setText("97531");
        dialog.PortButton(port)->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Choice(), port + 2);
        EXPECT_EQ(dialog.Password(), "97531");
    }
    CUnitConnectionDlg dialog("1", devices);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == "&Cancel") {
            button->click();
        }
    }
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Choice(), kNoPort);
}

// A window with no port starts nothing; Cancel stops the empty session and makes the button OK.
// From then on Escape and the close box only cancel again: nothing but OK closes the window.
TEST(CommProgressWindow, OnlyOkClosesAStoppedWindow) {
    ScriptedUserServices ui;
    CCommSession session;
    CCommProgressDlg dialog(session, ui);
    int escapes = 0;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.Button()->text(), "Cancel");
        dialog.Button()->click();
        EXPECT_TRUE(dialog.IsClosable());
        EXPECT_EQ(dialog.Button()->text(), "OK");
        EXPECT_EQ(dialog.windowTitle(), "Canceled by User");
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        dialog.close();
        escapes += dialog.isVisible() ? 1 : 0;
        dialog.Button()->click();
    });
    dialog.RunSession();
    EXPECT_EQ(escapes, 1) << "Escape or the close box closed a stopped window";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Log()->toPlainText().isEmpty());
}

} // namespace
} // namespace tolvane
