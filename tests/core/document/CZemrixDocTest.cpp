// The document's commands driven through the scripted user, with real memory module files and a
// real "gatelist.ini" in a directory of their own: start-up, open, save with its backups, reload,
// the prompt for unsaved changes, unit selection, the report and filter commands, the new-document
// step and the enable and check rules.
#include "DemoImage.h"
#include "ImageBuilder.h"
#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/DoorScheduleEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/HolidayEditor.h"
#include "config/TimeZoneEditor.h"
#include "config/ValidationGroupEditor.h"
#include "comm/CCommSession.h"
#include "comm/CommSetup.h"
#include "sites/InstallationForm.h"
#include "sites/SelectUnitModel.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "image/SystemAreaLayout.h"
#include "reports/ReportKind.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kTitleCall = "title: Tolvane - Harbour View Apartments";
const std::string kLoadError = "Error Loading the file";
const std::string kSaveQuestion = "Save access control system information to file -- Are you sure?";
const std::string kReloadQuestion =
    "Reload access control system information from file -- Are you sure?";
const std::string kChangedQuestion = "Data has changed  --  Do you wish to save changes?";
std::string FirmwareMessage(const std::string& version) {
    return "The firmware version " + version +
           " is not supported by this version of Tolvane.\n"
           "No Varko older than version 5.00 are supported.";
}
const std::string kOldFirmware = FirmwareMessage("4.99");

// The icon and buttons of a shown message: a question with Yes and No, or a plain OK notice.
using Style = std::pair<MessageIcon, MessageButtons>;
const Style kQuestion{MessageIcon::Question, MessageButtons::YesNo};
const Style kChangedStyle{MessageIcon::Question, MessageButtons::YesNoCancel};
const Style kNotice{MessageIcon::None, MessageButtons::Ok};

class CZemrixDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::create_directory(config_));
        ScriptedUserServices quiet;
        demo_ = BuildDemoImage(quiet);
    }
    std::string WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
        fs::create_directories(fs::path(dir_.Path(relative)).parent_path());
        return dir_.WriteBytes(relative, bytes);
    }
    std::vector<uint8_t> Bytes(const std::string& relative) const {
        return TempDirectory::ReadBytes(dir_.Path(relative));
    }
    ProfileFile GateList() const { return ProfileFile(config_ + "/gatelist.ini", 0600); }
    void SaveGateList(std::vector<Installation> records, int32_t selected) const {
        ScriptedUserServices quiet;
        ProfileFile file = GateList();
        InstallationList{selected, std::move(records)}.SaveInstallationList(file, quiet);
    }
    // The demo written to a file and opened by hand.
    void OpenDemo(const std::string& relative) {
        ui_.ChooseFile(WriteFile(relative, demo_));
        doc_.OnOpen();
        ASSERT_TRUE(doc_.IsFileLoaded());
        ui_.Forget();
    }
    // An unsaved change that reaches the file when it is saved.
    void Change() {
        doc_.Lists().entryCodes.pop_back();
        doc_.SetModified();
    }
    // The calls since the last look; the styles of the messages among them go to styles_.
    Lines Calls() {
        const Lines calls = ui_.Calls();
        styles_.clear();
        for (const ShownMessage& shown : ui_.Shown()) {
            styles_.emplace_back(shown.icon, shown.buttons);
        }
        ui_.Forget();
        return calls;
    }

    TempDirectory dir_;
    const std::string config_ = dir_.Path("config");
    std::vector<uint8_t> demo_;
    EventTime now_{2026, 3, 15, 10, 30, 45};
    ScriptedUserServices ui_;
    std::vector<Style> styles_;
    CZemrixDoc::Clock clock_ = [this] { return now_; };
    CZemrixDoc doc_{ui_, config_, clock_};
};

TEST_F(CZemrixDocTest, StartUpOpensTheSelectedInstallationAndOpenDetachesFromIt) {
    SaveGateList({{"Other", "111111", dir_.Path("other.mem"), "1", "", ""},
                  {"Harbour", "424242", WriteFile("harbour.mem", demo_), "1", "555", "1234567"}},
                 1);
    const std::vector<uint8_t> gateList = Bytes("config/gatelist.ini");
    doc_.Create();
    EXPECT_EQ(Calls(), (Lines{kTitleCall, "busy", "idle", "views"}));
    EXPECT_TRUE(doc_.IsFileLoaded() && doc_.IsListed() && !doc_.IsModified());
    EXPECT_EQ(doc_.FilePath(), dir_.Path("harbour.mem"));
    EXPECT_NE(doc_.ReportText().find("System Phone Number:  1 (555)1234567\n"), std::string::npos);
    EXPECT_EQ(Bytes("config/gatelist.ini"), gateList);

    // A cancelled chooser does nothing; a chosen file first offers the unsaved changes, and
    // Cancel there keeps everything as it was.
    Change();
    ui_.ChooseFile(std::nullopt);
    ui_.ChooseFile(WriteFile("free/other.mem", demo_));
    ui_.Answer(MessageAnswer::Cancel);
    EXPECT_FALSE(doc_.OnOpen() || doc_.OnOpen());
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(doc_.FilePath(), dir_.Path("harbour.mem"));
    EXPECT_EQ(Calls(), (Lines{"open: *.mem", "open: *.mem", "message: " + kChangedQuestion}));
    ui_.ChooseFile(dir_.Path("free/other.mem"));
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc_.OnOpen());
    ui_.Forget();
    EXPECT_EQ(Bytes("harbour.mem"), demo_);
    EXPECT_EQ(doc_.FilePath(), dir_.Path("free/other.mem"));
    EXPECT_FALSE(doc_.IsListed() || doc_.IsModified());
    EXPECT_EQ(doc_.Installations().selected, -1);
    EXPECT_EQ(GateList().Read().ReadString("GateList", "selected"), "FFFFFFFFFC");
    EXPECT_EQ(doc_.Password(), "424242"); // the installation opened before still lends its line
    ScriptedUserServices nextRun;
    CZemrixDoc next(nextRun, config_, clock_);
    next.Create();
    EXPECT_TRUE(nextRun.Calls().empty() && !next.IsFileLoaded());

    // Unsupported firmware opened: the firmware message, then the load error; no file, no lists.
    const std::string old =
        WriteFile("old.mem", ImageBuilder(0x70).Firmware('4', '9', '9').Bytes());
    ui_.ChooseFile(old);
    EXPECT_TRUE(doc_.OnCommand(kCmdOpen));
    EXPECT_EQ(ui_.FileDialogs()[0].filter,
              "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||");
    EXPECT_TRUE(ui_.FileDialogs()[0].mustExist);
    EXPECT_EQ(Calls(), (Lines{"open: *.mem", "message: " + kOldFirmware, "message: " + kLoadError,
                              "title: Tolvane", "views"}));
    EXPECT_EQ(styles_, std::vector<Style>(2, kNotice));
    EXPECT_EQ(doc_.FilePath(), "");
    EXPECT_TRUE(doc_.Lists().entryCodes.empty());
    EXPECT_EQ(doc_.ReportText(), "");

    // At start-up it shows only its own message, and the installation's line is still taken.
    SaveGateList({{"Gate", "777777", old, "1", "", ""}}, 0);
    CZemrixDoc again(ui_, config_, clock_);
    again.Create();
    EXPECT_EQ(Calls(), (Lines{"message: " + kOldFirmware, "title: Tolvane", "views"}));
    EXPECT_TRUE(!again.IsFileLoaded() && again.IsListed());
    EXPECT_EQ(again.FilePath(), old);
    EXPECT_EQ(again.Password(), "777777");

    // An installation whose file is not there yet, or cannot be read, says so by name instead
    // of leaving an empty window.
    for (const auto& [name, file] : {std::pair{"New Gate", "new.mem"}, {"Odd Gate", "free"}}) {
        SaveGateList({{name, "777777", dir_.Path(file), "1", "", ""}}, 0);
        CZemrixDoc unopened(ui_, config_, clock_);
        unopened.Create();
        EXPECT_FALSE(unopened.IsFileLoaded());
    }
    EXPECT_EQ(
        ui_.Texts(),
        (Lines{"The installation \"New Gate\" has no memory module file yet:\n" +
                   dir_.Path("new.mem") + "\n\nUse File > Download Data to fetch it from the unit.",
               "The memory module file of the installation \"Odd Gate\" cannot be opened:\n" +
                   dir_.Path("free") + "\nnot a regular file."}));
}

TEST_F(CZemrixDocTest, SaveAsksAndKeepsTheTwoEarlierStates) {
    OpenDemo("sites/gate.mem");
    Change();
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc_.OnCommand(kCmdSave));
    EXPECT_EQ(Calls(), Lines{"message: " + kSaveQuestion});
    EXPECT_EQ(styles_[0], kQuestion);
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_FALSE(fs::exists(dir_.Path("sites/gate.001")));

    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    EXPECT_FALSE(doc_.IsModified());
    const std::vector<uint8_t> second = Bytes("sites/gate.mem");
    EXPECT_NE(second, demo_);
    EXPECT_EQ(Bytes("sites/gate.001"), demo_);
    EXPECT_FALSE(fs::exists(dir_.Path("sites/gate.002")));
    Change();
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    EXPECT_NE(Bytes("sites/gate.mem"), second);
    EXPECT_EQ(Bytes("sites/gate.001"), second);
    EXPECT_EQ(Bytes("sites/gate.002"), demo_);

    // Without an extension the backups go beside the file, not beside a dotted directory. A file
    // no one can write, not even root, is said so, and the backups made stay.
    OpenDemo("my.dir/gate");
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    fs::remove(dir_.Path("my.dir/gate"));
    fs::create_directory(dir_.Path("my.dir/gate"));
    Change();
    Calls();
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    EXPECT_EQ(Calls(), (Lines{"message: " + kSaveQuestion, "message: Error Saving the file"}));
    EXPECT_EQ(styles_[1], kNotice);
    EXPECT_EQ(Bytes("my.dir/gate.002"), demo_);
    EXPECT_FALSE(fs::exists(dir_.Path("my.001")));
    // What did not reach the disk is still unsaved, and closing keeps the window open for it.
    EXPECT_TRUE(doc_.IsFileLoaded() && doc_.IsModified());
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_FALSE(doc_.Close());

    // An older generation opened to get it back is backed up under its own name: its
    // neighbours are other generations, and rotating them would copy over the file in work.
    WriteFile("old/gate.001", {'o', 'n', 'e'});
    ui_.Answer(MessageAnswer::No);
    OpenDemo("old/gate.002");
    Change();
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    EXPECT_EQ(Bytes("old/gate.001"), (std::vector<uint8_t>{'o', 'n', 'e'}));
    EXPECT_EQ(Bytes("old/gate.002.001"), demo_);
    EXPECT_NE(Bytes("old/gate.002"), demo_);
}

TEST_F(CZemrixDocTest, ReloadAndClosingAskBeforeDroppingOrSavingChanges) {
    OpenDemo("gate.mem");
    const EntryCodeArray saved = doc_.Lists().entryCodes;
    EXPECT_TRUE(doc_.Close());
    Change();
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes}) {
        ui_.Answer(answer);
    }
    EXPECT_TRUE(doc_.Close());
    EXPECT_EQ(Bytes("gate.mem"), demo_);
    doc_.OnCommand(kCmdReload);
    EXPECT_TRUE(doc_.IsModified());
    doc_.OnReload();
    EXPECT_EQ(Calls(), (Lines{"message: " + kChangedQuestion, "message: " + kReloadQuestion,
                              "message: " + kReloadQuestion, kTitleCall, "busy", "idle", "views"}));
    EXPECT_EQ(styles_, (std::vector<Style>{kChangedStyle, kQuestion, kQuestion}));
    EXPECT_EQ(doc_.Lists().entryCodes, saved);
    EXPECT_FALSE(doc_.IsModified());

    // Cancel keeps the window open; Yes saves.
    Change();
    ui_.Answer(MessageAnswer::Cancel);
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_FALSE(doc_.Close());
    EXPECT_TRUE(doc_.Close());
    EXPECT_NE(Bytes("gate.mem"), demo_);
    EXPECT_EQ(Bytes("gate.001"), demo_);
    EXPECT_FALSE(doc_.IsModified());

    WriteFile("gate.mem", std::vector<uint8_t>(3000, 'x'));
    Calls();
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnReload();
    EXPECT_EQ(ui_.Texts(), (Lines{kReloadQuestion, "Not a valid memory module file",
                                  FirmwareMessage(""), kLoadError}));
    EXPECT_FALSE(doc_.IsFileLoaded());
    EXPECT_EQ(doc_.FilePath(), "");
}

TEST_F(CZemrixDocTest, SelectSystemOpensTheChosenRowAndSavesWhatChanged) {
    SaveGateList({{"A", "111111", WriteFile("a.mem", demo_), "1", "555", "1234567"}}, 0);
    ProfileFile file = GateList();
    ASSERT_TRUE(file.WriteString("Notes", "keep", "1")); // gone only when the whole list is saved
    doc_.Create();
    Change();
    Calls();
    doc_.OnSelectSystem(); // cancelled: nothing else happens
    EXPECT_EQ(Calls(), Lines{"dialog: select unit"});

    // Another run added an installation since: the dialog sees the file, not the document.
    InstallationList other;
    other.LoadInstallationList(file);
    ASSERT_TRUE(
        other.AddInstallation(file, {"B", "222222", WriteFile("b.mem", demo_), "1", "", ""}));
    ASSERT_TRUE(file.WriteInt32("GateList", "selected", 0));
    int row = 1;
    ui_.selectUnitDialog = [&row](SelectUnitModel& model) {
        EXPECT_EQ(model.RowCount(), 2u);
        model.Choose(row);
        return true;
    };
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc_.OnCommand(kCmdSelectSystem));
    EXPECT_EQ(Calls(), (Lines{"dialog: select unit", "message: " + kChangedQuestion, kTitleCall,
                              "busy", "idle", "views"}));
    EXPECT_EQ(doc_.FilePath(), dir_.Path("b.mem"));
    EXPECT_TRUE(doc_.IsListed() && !doc_.IsModified());
    EXPECT_EQ(file.Read().ReadInt32("GateList", "selected"), 1);

    // OK with no row chosen opens nothing: the file in work stays, the selection is gone.
    row = -1;
    doc_.OnSelectSystem();
    EXPECT_EQ(doc_.FilePath(), dir_.Path("b.mem"));
    EXPECT_EQ(file.Read().ReadInt32("GateList", "selected"), -1);
    EXPECT_EQ(file.Read().ReadString("Notes", "keep"), "1");

    ui_.installationDialog = [&](InstallationForm& form) {
        form.fields = {"C", "333333", WriteFile("c.mem", demo_), "1", "", ""};
        return true;
    };
    ui_.selectUnitDialog = [this](SelectUnitModel& model) { return model.Add(ui_); };
    Calls();
    doc_.OnSelectSystem();
    EXPECT_EQ(Calls(), (Lines{"dialog: select unit", "dialog: installation", kTitleCall, "busy",
                              "idle", "views"}));
    EXPECT_EQ(doc_.FilePath(), dir_.Path("c.mem"));
    EXPECT_EQ(file.Read().ReadString("Notes", "keep"), std::nullopt);
    EXPECT_EQ(file.Read().ReadInt32("GateList", "selected"), 2);
}

TEST_F(CZemrixDocTest, FilterDialogWorksOnACopyAndEveryLoadResetsIt) {
    OpenDemo("gate.mem");
    const std::string systemReport = doc_.ReportText();
    bool ok = false;
    ui_.filterDialog = [&](EventLogFilter& filter) {
        EXPECT_EQ(filter, doc_.Filter());
        filter.selectByDeviceType = !filter.selectByDeviceType;
        filter.deviceType = kEntryCodeDevice;
        return ok;
    };
    EventLogFilter reset;
    reset.Reset(now_);
    doc_.OnCommand(kCmdFilterEventLog);
    EXPECT_EQ(doc_.Filter(), reset);
    // Taken, but the system report on display has nothing to do with it.
    ok = true;
    doc_.OnFilterEventLog();
    EXPECT_EQ(Calls(), (Lines{"dialog: filter", "dialog: filter"}));
    EXPECT_EQ(doc_.ReportText(), systemReport);
    doc_.OnReport(kEventLogReport);
    const std::string grantsOnly = doc_.ReportText();
    doc_.OnFilterEventLog();
    EXPECT_EQ(Calls(), (Lines{"busy", "idle", "views", "dialog: filter", "busy", "idle", "views"}));
    EXPECT_GT(doc_.ReportText().size(), grantsOnly.size());

    // Every load resets it at the time of the load, one that fails as well.
    doc_.OnFilterEventLog();
    now_.day += 3;
    reset.Reset(now_);
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnReload();
    EXPECT_EQ(doc_.Filter(), reset);
    doc_.OnFilterEventLog();
    ui_.ChooseFile(dir_.Path("missing.mem"));
    doc_.OnOpen();
    EXPECT_EQ(doc_.Filter(), reset);
}

TEST_F(CZemrixDocTest, CommandStateFollowsTheLoadedImageAndReportCommandsRebuild) {
    doc_.Create();
    // With nothing loaded the file commands do nothing at all, and a report only empties the view.
    doc_.SetModified();
    EXPECT_TRUE(doc_.OnCommand(kCmdSave) && doc_.OnCommand(kCmdReload));
    doc_.Close();
    doc_.OnCommand(kCmdEventLogReport);
    EXPECT_EQ(Calls(), Lines{"views"});
    EXPECT_TRUE(fs::is_empty(config_));
    for (const bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        for (const int id : {kCmdSelectSystem, kCmdDownload, kCmdNew, kCmdOpen}) {
            EXPECT_EQ(doc_.IsCommandEnabled(id), true) << id;
        }
        // Reload, Save, Upload, the eight Setup commands, the five reports and the filter.
        for (const int id : {32784, 57603, 32773, 32774, 32775, 32776, 32777, 32778, 32779, 32780,
                             32781, 32782, 32789, 32791, 32793, 32795, 32797}) {
            EXPECT_EQ(doc_.IsCommandEnabled(id), loaded) << id;
        }
        // Print, Copy, About, Exit and the toolbar toggle belong to others.
        for (const int id : {57607, 57634, 57664, 57665, 59392}) {
            EXPECT_EQ(doc_.IsCommandEnabled(id), std::nullopt) << id;
            EXPECT_EQ(doc_.IsCommandChecked(id), std::nullopt) << id;
            EXPECT_FALSE(doc_.OnCommand(id)) << id;
        }
        EXPECT_EQ(doc_.IsCommandChecked(kCmdEventLogReport), true);
        EXPECT_EQ(doc_.IsCommandChecked(kCmdFilterEventLog), std::nullopt);
        if (!loaded) {
            OpenDemo("gate.mem");
        }
    }

    // Each report command checks itself alone and builds its own text.
    const int commands[] = {kCmdEventLogReport, kCmdSystemReport, kCmdDirectoryReport,
                            kCmdBlockTransmitterReport, kCmdBlockCardReport};
    std::set<std::string> texts;
    for (int kind = 1; kind <= 5; ++kind) {
        EXPECT_TRUE(doc_.OnCommand(commands[kind - 1]));
        EXPECT_EQ(doc_.ReportKind(), kind);
        EXPECT_EQ(Calls(), (Lines{"busy", "idle", "views"}));
        for (int other = 1; other <= 5; ++other) {
            EXPECT_EQ(doc_.IsCommandChecked(commands[other - 1]), other == kind) << kind;
        }
        texts.insert(doc_.ReportText());
    }
    EXPECT_EQ(texts.size(), 5u);
    // New keeps the document and only empties the view and sets the title, once the unsaved
    // changes are offered: Cancel keeps the view as it was.
    Change();
    ui_.Answer(MessageAnswer::Cancel);
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc_.OnCommand(kCmdNew));
    EXPECT_FALSE(doc_.ReportText().empty());
    EXPECT_TRUE(doc_.OnCommand(kCmdNew));
    EXPECT_EQ(Calls(), (Lines{"message: " + kChangedQuestion, "message: " + kChangedQuestion,
                              "views", kTitleCall}));
    EXPECT_EQ(doc_.ReportText(), "");
    EXPECT_TRUE(doc_.IsFileLoaded());
}

TEST_F(CZemrixDocTest, CompareWithShowsTheChangesInTheViewUntilTheNextReportOrLoad) {
    EXPECT_EQ(doc_.IsCommandEnabled(kCmdCompareWith), false);
    OpenDemo("gate.mem");
    EXPECT_EQ(doc_.IsCommandEnabled(kCmdCompareWith), true);
    const std::string systemReport = doc_.ReportText();
    std::vector<uint8_t> renamed = demo_;
    renamed[layout::kInstallationName] = 'W';
    const std::string other = WriteFile("other.mem", renamed);

    // Cancel, a file that cannot be opened and one that is no module leave the view alone.
    ui_.ChooseFile(std::nullopt);
    ui_.ChooseFile(dir_.Path("missing.mem"));
    ui_.ChooseFile(WriteFile("junk.mem", {1, 2, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(doc_.OnCommand(kCmdCompareWith));
    }
    EXPECT_EQ(Calls(), (Lines{"open: *.mem", "open: *.mem",
                              "message: Cannot open " + dir_.Path("missing.mem") +
                                  ":\nNo such file or directory.",
                              "open: *.mem", "message: Not a valid memory module file",
                              "message: " + FirmwareMessage("")}));
    EXPECT_EQ(doc_.ReportText(), systemReport);

    ui_.ChooseFile(other);
    doc_.OnCommand(kCmdCompareWith);
    EXPECT_EQ(Calls(), (Lines{"open: *.mem", "busy", "idle", "views"}));
    EXPECT_EQ(doc_.ReportText(),
              "Changes from " + dir_.Path("gate.mem") + " to " + other +
                  "\n\nSystem\n  changed Installation: Harbour View Apartments -> Warbour View "
                  "Apartments\n");
    EXPECT_EQ(doc_.IsCommandChecked(kCmdSystemReport), false);
    doc_.OnCommand(kCmdSystemReport);
    EXPECT_EQ(doc_.ReportText(), systemReport);
    EXPECT_EQ(doc_.IsCommandChecked(kCmdSystemReport), true);

    // The lists as they stand are compared, unsaved edits included; a reload brings the report
    // back.
    const std::string dropped = EntryCodeEditor::CodeText(doc_.Lists().entryCodes.back());
    Change();
    ui_.ChooseFile(dir_.Path("gate.mem"));
    doc_.OnCommand(kCmdCompareWith);
    EXPECT_NE(doc_.ReportText().find("\n\nEntry codes\n  added code " + dropped + ": "),
              std::string::npos);
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnCommand(kCmdReload);
    EXPECT_EQ(doc_.ReportText(), systemReport);
}

TEST_F(CZemrixDocTest, FilesNamedRelativeToTheCurrentDirectoryAreKeptWhole) {
    // A name that only meant something where the program was started would lead nowhere from
    // the recent files or the installation list.
    const fs::path before = fs::current_path();
    WriteFile("here/gate.mem", demo_);
    fs::current_path(dir_.Path("here"));
    const bool opened = doc_.OpenFile("./gate.mem");
    fs::current_path(before);
    EXPECT_TRUE(opened);
    EXPECT_EQ(doc_.FilePath(), dir_.Path("here/gate.mem"));
}

TEST_F(CZemrixDocTest, SelectSystemDeletesRemovedFilesOnlyOnceTheChangesInWorkAreSettled) {
    SaveGateList({{"A", "111111", WriteFile("a.mem", demo_), "1", "", ""},
                  {"B", "222222", WriteFile("b.mem", demo_), "1", "", ""},
                  {"C", "333333", WriteFile("c.mem", demo_), "1", "", ""}},
                 0);
    const std::vector<uint8_t> gateList = Bytes("config/gatelist.ini");
    doc_.Create();
    Change();
    bool ok = false;
    std::size_t row = 1;
    ui_.selectUnitDialog = [&](SelectUnitModel& model) {
        EXPECT_TRUE(model.Remove(ui_, row));
        model.Choose(0);
        return ok;
    };

    // Cancel on the dialog, or at the prompt for the changes in work: nothing goes. Each time
    // the user first says the file goes too.
    for (const MessageAnswer answer :
         {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Cancel, MessageAnswer::Yes}) {
        ui_.Answer(answer);
    }
    doc_.OnSelectSystem();
    ok = true;
    doc_.OnSelectSystem();
    EXPECT_TRUE(fs::exists(dir_.Path("b.mem")));
    EXPECT_EQ(Bytes("config/gatelist.ini"), gateList);
    EXPECT_TRUE(doc_.IsModified());
    ui_.Answer(MessageAnswer::No);
    doc_.OnSelectSystem();
    EXPECT_FALSE(fs::exists(dir_.Path("b.mem")));

    // The file open now goes only when the user says so twice, and its changes are not offered:
    // saving them would only bring it back.
    Change();
    row = 0;
    ui_.Forget();
    ui_.Answer(MessageAnswer::Yes);
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSelectSystem();
    EXPECT_EQ(ui_.Texts(),
              (Lines{"Do you wish to delete the file as well?  --  WARNING:  File deletion can not "
                     "be undone",
                     "The file " + dir_.Path("a.mem") +
                         " is the one open now. Delete it all the same?"}));
    EXPECT_FALSE(fs::exists(dir_.Path("a.mem")));
    EXPECT_EQ(doc_.FilePath(), dir_.Path("c.mem"));
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(CZemrixDocTest, AModuleWhoseListsSharePagesIsNamedOnceAndKeptOnlyWhenTheUserSaysSo) {
    // The entry codes' chain starts on the block cards' first page, page 0.
    ImageBuilder builder(0x70);
    ASSERT_EQ(builder.AddChain(kBlockCardChain, 2), (std::vector<int>{0, 1}));
    const std::size_t entry = layout::kChainTable + layout::kChainEntrySize * kEntryCodeChain;
    builder.Byte(entry, 0x80).Byte(entry + 1, layout::kSystemBlocks).Byte(entry + 2, 1);
    const std::vector<uint8_t> bytes = builder.Bytes();
    ui_.ChooseFile(WriteFile("damaged.mem", bytes));
    ASSERT_TRUE(doc_.OnOpen());
    ASSERT_EQ(ui_.Shown().size(), 1u);
    EXPECT_NE(ui_.Texts()[0].find("pages 0 and 1 are claimed by chains 4 and 6"), std::string::npos)
        << ui_.Texts()[0];
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);

    // Save, Upload and the prompt for unsaved changes each ask before they keep the damage; No
    // writes nothing and touches no line, and for Exit keeps the window open.
    doc_.SetModified();
    Calls();
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No,
                                       MessageAnswer::Yes, MessageAnswer::No}) {
        ui_.Answer(answer);
    }
    doc_.OnSave();
    doc_.OnUploadData();
    EXPECT_FALSE(doc_.Close());
    EXPECT_EQ(Bytes("damaged.mem"), bytes);
    EXPECT_FALSE(fs::exists(dir_.Path("damaged.001")));
    const Lines calls = Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "message: " + kSaveQuestion);
    EXPECT_EQ(calls[3], "message: " + kChangedQuestion);
    for (const std::size_t i : {1, 2, 4}) {
        EXPECT_NE(calls[i].find("keeps the damage"), std::string::npos) << calls[i];
    }

    // Yes saves it as it reads.
    ui_.Answer(MessageAnswer::Yes);
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_TRUE(doc_.Close());
    EXPECT_EQ(Bytes("damaged.001"), bytes);
    EXPECT_NE(Bytes("damaged.mem"), bytes);
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

// What each Setup editor's OK does: the changed mark, the image at once (block codes, directory)
// or at the next save (entry codes), and the report on show rebuilt only when it shows the list.
TEST_F(CZemrixDocTest, SetupEditorsChangeTheDocumentOnlyOnOkAndWriteWhenTheirListsDo) {
    OpenDemo("gate.mem");
    const std::vector<uint8_t> image = doc_.Image().GetBytes();
    bool ok = false;
    ui_.blockCodeDialog = [&](BlockCodeEditor& editor, int kind) {
        EXPECT_EQ(editor.List(),
                  kind == 2 ? doc_.Lists().blockTransmitters : doc_.Lists().blockCards);
        editor.AddRange(BlockRange(40000, 40009, 3));
        EXPECT_EQ(editor.AddSuspended(40009), std::nullopt);
        return ok;
    };
    ui_.entryCodeDialog = [&](EntryCodeEditor& editor) {
        EXPECT_EQ(editor.Add(EntryCodeEditor::NewCode()), std::nullopt);
        return ok;
    };
    ui_.directoryDialog = [&](DirectoryEditor& editor) {
        EXPECT_EQ(editor.Capacity(), doc_.Image().GetDirectorySlots());
        editor.Remove(0);
        return ok;
    };
    const int commands[] = {kCmdBlockTransmitters, kCmdBlockCards, kCmdEntryCodes,
                            kCmdTelephoneEntries};
    for (const int id : commands) {
        EXPECT_TRUE(doc_.OnCommand(id));
    }
    EXPECT_EQ(Calls(), (Lines{"dialog: block codes 2", "dialog: block codes 1",
                              "dialog: entry codes", "dialog: directory"}));
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(doc_.Image().GetBytes(), image);

    ok = true;
    const std::size_t directoryCount = doc_.Lists().directory.Count();
    // The system report on show follows block codes only.
    EXPECT_TRUE(doc_.OnCommand(kCmdBlockTransmitters));
    EXPECT_EQ(Calls(), (Lines{"dialog: block codes 2", "busy", "idle", "views"}));
    EXPECT_TRUE(doc_.IsModified());
    BlockCodeList written;
    doc_.Image().ReadBlockCodes(written, 2);
    EXPECT_EQ(written.ranges.back(), BlockRange(40000, 40009, 3));
    EXPECT_EQ(written.suspended.back(), 40009);
    doc_.OnReport(kBlockCardReport);
    doc_.OnCommand(kCmdTelephoneEntries);
    EXPECT_EQ(doc_.Lists().directory.Count(), directoryCount - 1);
    DirectoryList directory;
    doc_.Image().ReadDirectory(directory);
    EXPECT_EQ(directory.Count(), directoryCount - 1);
    Calls();
    doc_.OnCommand(kCmdBlockCards);
    doc_.OnReport(kDirectoryReport);
    doc_.OnCommand(kCmdTelephoneEntries);
    EXPECT_EQ(Calls(), (Lines{"dialog: block codes 1", "busy", "idle", "views", "busy", "idle",
                              "views", "dialog: directory", "busy", "idle", "views"}));

    // Entry codes reach the image only when it is saved.
    const std::size_t codes = doc_.Lists().entryCodes.size();
    const std::vector<uint8_t> beforeEntryCodes = doc_.Image().GetBytes();
    doc_.OnCommand(kCmdEntryCodes);
    EXPECT_EQ(doc_.Lists().entryCodes.size(), codes + 1);
    EXPECT_EQ(doc_.Image().GetBytes(), beforeEntryCodes);
    EXPECT_EQ(Calls(), Lines{"dialog: entry codes"});
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    EntryCodeArray saved;
    MemoryModule file(ui_);
    ASSERT_EQ(file.Load(dir_.Path("gate.mem")), kLoadOk);
    file.ReadEntryCodes(saved);
    EXPECT_EQ(saved, doc_.Lists().entryCodes);
    EXPECT_FALSE(doc_.IsModified());
}

// The tables of the system area: written at once (holidays at the next save), the system report
// rebuilt when it is on show, and the image's own bits beside the editors' left alone.
TEST_F(CZemrixDocTest, TableEditorsWriteTheSystemAreaAtOnceOrAtTheNextSave) {
    OpenDemo("gate.mem");
    auto system = doc_.Image().GetSystemArea();
    const std::size_t group2 = layout::kValidationGroups + 2 * layout::kValidationGroupSize;
    system[group2 + 5] = 0xFF;
    bool ok = false;
    ui_.validationGroupDialog = [&](ValidationGroupEditor& editor) {
        std::vector<std::string> numbers(ValidationGroupEditor::kFields, "3");
        const std::array<bool, kTableEntries> marks{};
        return editor.ReadFields(numbers, marks) == std::nullopt && ok;
    };
    ui_.doorScheduleDialog = [&](DoorScheduleEditor& editor) {
        for (int door = 0; door < kChannels; ++door) {
            editor.SetDoor(0, door, true);
            editor.SetDoor(1, door, false);
        }
        return ok;
    };
    ui_.timeZoneDialog = [&](TimeZoneEditor& editor) {
        TimeZone zone;
        zone.startHour[0] = 17;
        zone.endHour[0] = 8;
        zone.dayExcluded[7] = 1;
        editor.SetZone(0, zone);
        return ok;
    };
    ui_.holidayDialog = [&](HolidayEditor& editor) {
        editor.Add(HolidayKind::EveryYear, {0, 12, 26});
        return ok;
    };
    const int commands[] = {kCmdValidationGroups, kCmdDoorSchedules, kCmdTimeZones, kCmdHolidays};
    const std::vector<uint8_t> untouched = doc_.Image().GetBytes();
    for (const int id : commands) {
        EXPECT_TRUE(doc_.OnCommand(id));
    }
    EXPECT_EQ(doc_.Image().GetBytes(), untouched);
    EXPECT_FALSE(doc_.IsModified());
    Calls();

    ok = true;
    for (const int id : commands) {
        doc_.OnCommand(id);
    }
    EXPECT_EQ(Calls(), (Lines{"dialog: validation groups", "busy", "idle", "views",
                              "dialog: door schedules", "busy", "idle", "views",
                              "dialog: time zones", "busy", "idle", "views", "dialog: holidays"}));
    EXPECT_TRUE(doc_.IsModified());
    // Anti-passback off clears the top bit alone; all four doors are the byte 0, none is 15.
    EXPECT_EQ(system[group2 + 5], 0x7F);
    EXPECT_EQ(system[group2], 3);
    EXPECT_EQ(system[layout::kDoorSchedules + 1], 0);
    EXPECT_EQ(system[layout::kDoorSchedules + 2], 15);
    const std::size_t zone1 = layout::kTimeZones + layout::kTimeZoneSize;
    EXPECT_EQ(system[zone1 + 1], 0x80);
    EXPECT_EQ(system[zone1 + 4], 17);
    EXPECT_EQ(system[zone1 + 6], 8);
    HolidayTable holidays;
    doc_.Image().GetHolidays(holidays);
    EXPECT_NE(holidays, doc_.Lists().holidays);
    ui_.Answer(MessageAnswer::Yes);
    doc_.OnSave();
    doc_.Image().GetHolidays(holidays);
    EXPECT_EQ(holidays, doc_.Lists().holidays);
}

// The modem choice: a listed installation with its whole number goes straight to the modem
// session; any other is asked for the number first, and cancelling that ends the command
// silently. No modem, or a cancelled setup, ends it with the command's failure message and never
// opens the progress window.
TEST_F(CZemrixDocTest, TheModemPathAsksForTheNumberOnlyWhereNeededAndStopsBeforeTheWindow) {
    SaveGateList({{"Harbour", "424242", WriteFile("harbour.mem", demo_), "1", "", "5550100"}}, 0);
    doc_.Create();
    ui_.Forget();
    ui_.connectionDialog = [](std::string&, int& selector) {
        selector = kModemPort;
        return true;
    };
    const std::string failed = "message: Data has NOT been downloaded";
    doc_.OnDownloadData();
    EXPECT_EQ(Calls(), (Lines{"dialog: connection", "dialog: system phone 1||5550100"}));

    ui_.systemPhoneDialog = [](std::string&, std::string& area, std::string&) {
        area = "617";
        return true;
    };
    doc_.OnDownloadData();
    EXPECT_EQ(Calls(),
              (Lines{"dialog: connection", "dialog: system phone 1||5550100", "busy", "idle",
                     "message: You have no telephony devices (modems) configured", failed}));
    EXPECT_EQ(styles_[0], (Style{MessageIcon::Exclamation, MessageButtons::Ok}));

    // With the number whole, the call goes out without asking again.
    std::ofstream(config_ + "/zemrix.ini") << "[modems]\nDesk=" << dir_.Path("no-modem") << "\n";
    std::string number;
    ui_.commSetupDialog = [&](CommSetup& setup) {
        setup.Initialise();
        number = setup.DisplayableNumber();
        return false;
    };
    doc_.OnDownloadData();
    EXPECT_EQ(Calls(),
              (Lines{"dialog: connection", "busy", "idle", "dialog: communication setup", failed}));
    EXPECT_EQ(number, "5550100");
    ui_.commSetupDialog = [](CommSetup& setup) {
        setup.Initialise();
        setup.Accept();
        return true;
    };
    doc_.OnDownloadData();
    EXPECT_EQ(Calls(), (Lines{"dialog: connection", "busy", "idle", "dialog: communication setup",
                              "dialog: progress", failed}));
    EXPECT_EQ(Bytes("harbour.mem"), demo_);
}

} // namespace
} // namespace tolvane
