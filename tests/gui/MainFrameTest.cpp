// The main window over a real document: which commands are usable with and without an image, the
// report check marks, the menus, accelerators, toolbar, tips and status bar as the user meets
// them, and the commands that answer with a box of their own.
#include "DemoImage.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "reports/CZemrixView.h"
#include "shell/CMainFrame.h"
#include "shell/CommandTable.h"
#include "shell/StartOptions.h"
#include "support/ScriptedUserServices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>

namespace tolvane {
namespace {

// The scripted user, whose view updates reach the window as the real user's do.
class ViewUpdatingUser : public ScriptedUserServices {
public:
    void UpdateViews() override {
        ScriptedUserServices::UpdateViews();
        if (onUpdate) {
            onUpdate();
        }
    }
    std::function<void()> onUpdate;
};

// Closes the next modal message box once it runs, and tells its "title: text". Gives up after a
// few seconds so a box that never comes cannot close a later one.
std::shared_ptr<QString> CloseNextBox() {
    auto seen = std::make_shared<QString>();
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, seen, attempts = 0]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr && ++attempts < 500) {
            return;
        }
        timer->deleteLater();
        timer->stop();
        if (box != nullptr) {
            *seen = box->windowTitle() + ": " + box->text();
            box->reject();
        }
    });
    timer->start(10);
    return seen;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().remove("recentFiles");
        ASSERT_TRUE(dir_.isValid());
        doc_ = std::make_unique<CZemrixDoc>(ui_, dir_.path().toStdString(),
                                            [] { return EventTime{2026, 3, 15, 10, 30, 0}; });
        frame_ = std::make_unique<CMainFrame>(*doc_);
        ui_.onUpdate = [this] { frame_->OnDocumentUpdated(); };
        frame_->show();
        doc_->Create();
        frame_->OnDocumentUpdated();
    }
    void TearDown() override { QSettings().remove("recentFiles"); }

    void OpenDemo() {
        ScriptedUserServices quiet;
        const std::vector<uint8_t> bytes = BuildDemoImage(quiet);
        path_ = dir_.filePath("harbour.mem").toStdString();
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ui_.ChooseFile(path_);
        frame_->RunCommand(kCmdOpen);
        ASSERT_TRUE(doc_->IsFileLoaded());
        ui_.Forget();
    }
    bool Enabled(int id) const { return frame_->Action(id)->isEnabled(); }
    bool Checked(int id) const { return frame_->Action(id)->isChecked(); }
    QMenu* Menu(const QString& title) const {
        for (QAction* action : frame_->menuBar()->actions()) {
            if (action->text() == title) {
                return action->menu();
            }
        }
        return nullptr;
    }
    // Entries as the user sees them: "a, b | c", one bar however many separators stand together.
    static std::string Joined(const QList<QAction*>& actions, bool tips = false) {
        std::string joined;
        bool bar = false;
        for (const QAction* action : actions) {
            bar = bar || action->isSeparator();
            if (!action->isSeparator()) {
                joined += joined.empty() ? "" : bar ? " | " : ", ";
                joined += (tips ? action->toolTip() : action->text()).toStdString();
                bar = false;
            }
        }
        return joined;
    }

    QTemporaryDir dir_;
    std::string path_;
    ViewUpdatingUser ui_;
    std::unique_ptr<CZemrixDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameTest, CommandsAreUsableWithAnImageAndReportsCarryTheCheckMark) {
    // Without an image only the start commands; the system report is the one a new document
    // shows.
    const std::set<int> usable{kCmdOpen,          kCmdSelectSystem,    kCmdDownload, kCmdPrintSetup,
                               kCmdToggleToolbar, kCmdToggleStatusBar, kCmdAbout,    kCmdExit};
    for (const CommandInfo& command : MenuCommands()) {
        EXPECT_EQ(Enabled(command.id), usable.count(command.id) == 1) << command.label;
    }
    EXPECT_TRUE(frame_->View()->toPlainText().isEmpty());
    EXPECT_TRUE(Checked(kCmdSystemReport) && !Checked(kCmdEventLogReport));
    frame_->RunCommand(kCmdEventLogReport);
    EXPECT_TRUE(!Checked(kCmdSystemReport) && Checked(kCmdEventLogReport));

    // With one everything but Copy, which follows the selection.
    OpenDemo();
    for (const CommandInfo& command : MenuCommands()) {
        EXPECT_EQ(Enabled(command.id), command.id != kCmdCopy) << command.label;
    }
    frame_->RunCommand(kCmdBlockCardReport);
    EXPECT_TRUE(Checked(kCmdBlockCardReport) && !Checked(kCmdEventLogReport));
    frame_->RunCommand(kCmdEventLogReport);
    EXPECT_TRUE(Checked(kCmdEventLogReport) && !Checked(kCmdBlockCardReport));
    EXPECT_TRUE(frame_->View()->toPlainText().startsWith("Event Log Report\n\n"));
    EXPECT_EQ(frame_->View()->toPlainText().toStdString(), doc_->ReportText());
    frame_->RunCommand(kCmdSelectAll);
    EXPECT_TRUE(Enabled(kCmdCopy));
    frame_->RunCommand(kCmdCopy);
    EXPECT_EQ(QApplication::clipboard()->text(), frame_->View()->toPlainText());
}

TEST_F(MainFrameTest, MenusToolbarAndShortcutsFollowTheCommandTable) {
    EXPECT_EQ(Joined(frame_->menuBar()->actions()), "&File, &Edit, &Setup, &Reports, &View, &Help");
    EXPECT_EQ(Joined(Menu("&File")->actions()),
              "Select Access &Control System | &Open, &Save, &Reload, Co&mpare With... | "
              "&Download Data, &Upload Data | &Print..., Print Pre&view, Pr&int Setup... | E&xit");
    EXPECT_EQ(Joined(Menu("&Edit")->actions()), "&Copy, Select A&ll | &Find..., F&ind Next");
    EXPECT_EQ(Joined(Menu("&Reports")->actions()),
              "&Filter Event Log | &System Report, &Event Log Report, &Block Transmitter Report, "
              "Block &Card Report, &Telephone Directory Report");

    const auto* toolbar = frame_->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->iconSize(), QSize(16, 15));
    EXPECT_EQ(Joined(toolbar->actions(), true),
              "Open, Reload, Save | Select ACS | Download Data, Upload Data | Copy | Print | "
              "Block Transmitters, Block Card Codes, Entry Codes, Telephone Entry Numbers, "
              "Validation Groups, Door Schedules, Time Zones, Holiday | Filter Event Log, "
              "System Report, Event Log Report, Block Transmitter Report, Block Card Report, "
              "Telephone Directory Report | About");
    for (const QAction* action : toolbar->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
    }

    // The keys of a menu command, and of the accelerators without a menu entry.
    std::string keys;
    for (const int id : {kCmdReload, kCmdCopy, kCmdFindNext, kCmdNew, kCmdPaste, kCmdCut, kCmdUndo,
                         kCmdNextPane, kCmdPreviousPane}) {
        ASSERT_NE(frame_->Action(id), nullptr) << id;
        for (const QKeySequence& key : frame_->Action(id)->shortcuts()) {
            keys += std::to_string(id) + "=" + key.toString().toStdString() + " ";
        }
    }
    EXPECT_EQ(keys, "32784=Ctrl+R 57634=Ctrl+C 57634=Ctrl+Ins 57640=F3 57600=Ctrl+N 57637=Ctrl+V "
                    "57637=Shift+Ins 57635=Ctrl+X 57635=Shift+Del 57643=Ctrl+Z "
                    "57643=Alt+Backspace 57680=F6 57681=Shift+F6 ");
}

TEST_F(MainFrameTest, StatusBarSaysThePromptsAndTheViewCommandsHideAndShowTheBars) {
    // The message pane, then the three indicators.
    QStatusBar* bar = frame_->statusBar();
    EXPECT_EQ(bar->currentMessage(), "Ready");
    QStringList indicators;
    for (const QLabel* label : bar->findChildren<QLabel*>()) {
        indicators << label->text();
    }
    EXPECT_EQ(indicators.filter(QRegularExpression(".")), QStringList({"CAP", "NUM", "SCRL"}));
    frame_->Action(kCmdSelectSystem)->showStatusText(frame_.get());
    EXPECT_EQ(bar->currentMessage(), "Select a new or existing access control system to configure");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(frame_.get(), &leave);
    EXPECT_EQ(bar->currentMessage(), "Ready");
    EXPECT_EQ(frame_->Action(kCmdFindNext)->toolTip(), "Repeat");

    auto* toolbar = frame_->findChild<QToolBar*>();
    for (const int id : {kCmdToggleToolbar, kCmdToggleStatusBar}) {
        const QWidget* shown = id == kCmdToggleToolbar ? static_cast<QWidget*>(toolbar) : bar;
        for (const bool visible : {true, false}) {
            EXPECT_EQ(shown->isVisible(), visible) << id;
            EXPECT_EQ(Checked(id), visible) << id;
            frame_->RunCommand(id);
        }
        EXPECT_TRUE(shown->isVisible() && Checked(id)) << id;
    }
    // Closed from the toolbar's own context menu: the View menu shows it unchecked when it opens.
    toolbar->hide();
    emit Menu("&View")->aboutToShow();
    EXPECT_FALSE(Checked(kCmdToggleToolbar));
}

TEST_F(MainFrameTest, AboutShowsTheVersion) {
    OpenDemo();
    const std::shared_ptr<QString> seen = CloseNextBox();
    frame_->RunCommand(kCmdAbout);
    EXPECT_EQ(*seen, "About Tolvane: Tolvane Version 3.0");
    EXPECT_TRUE(ui_.Calls().empty());
}

TEST_F(MainFrameTest, OpenRemembersTheFileAndExitOffersToSave) {
    OpenDemo();
    EXPECT_TRUE(Joined(Menu("&File")->actions()).ends_with(" | &1 " + path_ + " | E&xit"));
    // A recent entry offers the unsaved changes too; Cancel there, or at Exit, keeps it all.
    doc_->SetModified();
    for (int i = 0; i < 2; ++i) {
        ui_.Answer(MessageAnswer::Cancel);
    }
    Menu("&File")->actions().at(Menu("&File")->actions().size() - 3)->trigger();
    frame_->RunCommand(kCmdExit);
    EXPECT_TRUE(frame_->isVisible() && doc_->IsModified());
    ui_.Answer(MessageAnswer::No);
    frame_->RunCommand(kCmdExit);
    EXPECT_EQ(ui_.Texts(),
              std::vector<std::string>(3, "Data has changed  --  Do you wish to save changes?"));
    EXPECT_FALSE(frame_->isVisible());
}

// The words on tolvane's command line: help and the version answer at once with status 0 and
// open no window, a mistyped option or a second file is named with status 64, and the rest starts
// the window on what they say.
TEST(StartOptionsTest, HelpAndVersionAnswerMistakesAreNamedTheRestStarts) {
    const auto parse = [](std::vector<std::string> args, StartOptions& options, std::string& out,
                          std::string& err) {
        std::ostringstream printed;
        std::ostringstream complaint;
        const std::optional<int> status = StartOptions::Parse(args, options, printed, complaint);
        out = printed.str();
        err = complaint.str();
        return status;
    };
    StartOptions options;
    std::string out;
    std::string err;
    for (const char* asked : {"--help", "-h"}) {
        EXPECT_EQ(parse({"--demo", asked}, options, out, err), 0);
        EXPECT_TRUE(out.starts_with("usage: tolvane ") && err.empty()) << out;
    }
    EXPECT_EQ(parse({"--version"}, options, out, err), 0);
    EXPECT_EQ(out, "tolvane " TOLVANE_VERSION "\n");
    for (const std::vector<std::string>& misuse :
         {std::vector<std::string>{"--demi"}, {"-x", "a.mem"}, {"a.mem", "b.mem"}}) {
        EXPECT_EQ(parse(misuse, options, out, err), 64);
        EXPECT_TRUE(out.empty() && err.starts_with("tolvane: ") &&
                    err.find("\nTry 'tolvane --help'") != std::string::npos)
            << err;
    }
    StartOptions started;
    EXPECT_EQ(parse({"--demo", "--", "--odd.mem"}, started, out, err), std::nullopt);
    EXPECT_TRUE(started.demo);
    EXPECT_EQ(started.file, "--odd.mem");
}

} // namespace
} // namespace tolvane
