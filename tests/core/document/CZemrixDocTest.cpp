// The document's commands driven through the scripted user, with real memory module files and a
// real "gatelist.ini" in a directory of their own: start-up, open, save with its backups, reload,
// the prompt for unsaved changes, unit selection, the report and filter commands, the new-document
// step and the enable and check rules.
#include "DemoImage.h"
#include "ImageBuilder.h"
#include "comm/InstallationForm.h"
#include "comm/SelectUnitModel.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "reports/ReportKind.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

std::string Msg(const std::string& text) {
    return "message: " + text;
}

std::string FirmwareMessage(const std::string& version) {
    return "The firmware version " + version +
           " is not supported by this version of Tolvane.\n"
           "No Varko older than version 5.00 are supported.";
}

// A question with Yes and No, or a plain notice with only OK and no icon.
bool IsYesNoQuestion(const ShownMessage& shown) {
    return shown.icon == MessageIcon::Question && shown.buttons == MessageButtons::YesNo;
}
bool IsPlainNotice(const ShownMessage& shown) {
    return shown.icon == MessageIcon::None && shown.buttons == MessageButtons::Ok;
}

EventLogFilter FilterAt(const EventTime& now) {
    EventLogFilter filter;
    filter.Reset(now);
    return filter;
}

class CZemrixDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tolvane-doc-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        config_ = dir_ + "/config";
        fs::create_directory(config_);
        ScriptedUserServices quiet;
        demo_ = BuildDemoImage(quiet);
    }
    void TearDown() override { fs::remove_all(dir_); }

    CZemrixDoc::Clock Clock() {
        return [this] { return now_; };
    }
    std::string WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
        const std::string path = dir_ + "/" + relative;
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static std::vector<uint8_t> Bytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    ProfileFile GateList() const { return ProfileFile(config_ + "/gatelist.ini", 0600); }
    void SaveGateList(std::vector<Installation> records, int32_t selected) const {
        ScriptedUserServices quiet;
        ProfileFile file = GateList();
        InstallationList{selected, std::move(records)}.SaveInstallationList(file, quiet);
    }
    // The demo written to a file and opened by hand.
    void OpenDemo(CZemrixDoc& doc, const std::string& relative) {
        ui_.ChooseFile(WriteFile(relative, demo_));
        doc.OnOpen();
        ASSERT_TRUE(doc.IsFileLoaded());
        ASSERT_GE(doc.Lists().entryCodes.size(), 3u);
        ui_.Forget();
    }
    // An unsaved change that reaches the file when it is saved.
    static void Change(CZemrixDoc& doc) {
        doc.Lists().entryCodes.pop_back();
        doc.SetModified();
    }

    std::string dir_;
    std::string config_;
    std::vector<uint8_t> demo_;
    EventTime now_{2026, 3, 15, 10, 30, 45};
    ScriptedUserServices ui_;
};

TEST_F(CZemrixDocTest, StartUpOpensTheInstallationSelectedLastTime) {
    const std::string path = WriteFile("sites/harbour.mem", demo_);
    SaveGateList({{"Other", "111111", dir_ + "/sites/other.mem", "1", "", "5550100"},
                  {"Harbour", "424242", path, "1", "555", "1234567"}},
                 1);
    const std::vector<uint8_t> gateList = Bytes(config_ + "/gatelist.ini");

    CZemrixDoc doc(ui_, config_, Clock());
    EXPECT_EQ(doc.ReportKind(), kSystemReport);
    EXPECT_EQ(doc.CountryCode(), "1");
    doc.Create();
    EXPECT_EQ(ui_.Calls(), (Lines{kTitleCall, "busy", "idle", "views"}));
    EXPECT_TRUE(doc.IsFileLoaded());
    EXPECT_TRUE(doc.IsListed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.FilePath(), path);
    EXPECT_EQ(doc.Password(), "424242");
    EXPECT_NE(doc.ReportText().find("System Phone Number:  1 (555)1234567\n"), std::string::npos);
    EXPECT_NE(doc.ReportText().find("Installation:  Harbour View Apartments"), std::string::npos);
    EXPECT_EQ(Bytes(config_ + "/gatelist.ini"), gateList);
}

TEST_F(CZemrixDocTest, StartUpWithAnUnusableFileShowsOnlyTheLoadMessages) {
    const std::string old =
        WriteFile("old.mem", ImageBuilder(0x70).Firmware('4', '9', '9').Bytes());
    const std::pair<std::string, Lines> cases[] = {{dir_ + "/gone.mem", {}},
                                                   {old, {Msg(FirmwareMessage("4.99"))}}};
    for (const auto& [path, messages] : cases) {
        SCOPED_TRACE(path);
        ui_.Forget();
        SaveGateList({{"Gate", "424242", path, "1", "", ""}}, 0);
        CZemrixDoc doc(ui_, config_, Clock());
        doc.Create();
        Lines expected = messages;
        expected.insert(expected.end(), {"title: Tolvane", "views"});
        EXPECT_EQ(ui_.Calls(), expected);
        EXPECT_FALSE(doc.IsFileLoaded());
        EXPECT_TRUE(doc.IsListed());
        EXPECT_EQ(doc.FilePath(), path);
        EXPECT_EQ(doc.Password(), "424242");
        EXPECT_EQ(doc.ReportText(), "");
    }
}

TEST_F(CZemrixDocTest, OpenOfUnsupportedFirmwareLeavesNoFileAndEmptyLists) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "demo.mem");
    ui_.ChooseFile(WriteFile("old.mem", ImageBuilder(0x70).Firmware('4', '9', '9').Bytes()));
    EXPECT_TRUE(doc.OnCommand(kCmdOpen));
    EXPECT_EQ(ui_.Calls(), (Lines{"open: *.mem", Msg(FirmwareMessage("4.99")), Msg(kLoadError),
                                  "title: Tolvane", "views"}));
    EXPECT_TRUE(IsPlainNotice(ui_.Shown()[1]));
    EXPECT_FALSE(doc.IsFileLoaded());
    EXPECT_EQ(doc.FilePath(), "");
    EXPECT_TRUE(doc.Lists().entryCodes.empty());
    EXPECT_EQ(doc.Lists().directory.Count(), 0u);
    EXPECT_TRUE(doc.Lists().blockTransmitters.ranges.empty());
    EXPECT_EQ(doc.ReportText(), "");
}

TEST_F(CZemrixDocTest, OpenDetachesFromTheListSoTheNextStartOpensNothing) {
    const std::string listed = WriteFile("sites/harbour.mem", demo_);
    SaveGateList({{"Harbour", "424242", listed, "44", "20", "79460000"}}, 0);
    CZemrixDoc doc(ui_, config_, Clock());
    doc.Create();
    ui_.Forget();

    // Cancel does nothing, and unsaved changes are never offered for saving here.
    Change(doc);
    ui_.ChooseFile(std::nullopt);
    doc.OnOpen();
    EXPECT_EQ(ui_.Calls(), Lines{"open: *.mem"});
    EXPECT_TRUE(doc.IsModified());
    const std::string free = WriteFile("free/other.mem", demo_);
    ui_.ChooseFile(free);
    doc.OnOpen();
    EXPECT_EQ(ui_.Calls(),
              (Lines{"open: *.mem", "open: *.mem", kTitleCall, "busy", "idle", "views"}));
    for (const FileDialogOptions& options : ui_.FileDialogs()) {
        EXPECT_EQ(options.filter, "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||");
        EXPECT_EQ(options.initialName, "*.mem");
        EXPECT_EQ(options.defaultExtension, "mem");
        EXPECT_TRUE(options.hideReadOnly);
        EXPECT_TRUE(options.mustExist);
    }
    EXPECT_EQ(doc.FilePath(), free);
    EXPECT_FALSE(doc.IsListed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Installations().selected, -1);
    EXPECT_EQ(Bytes(listed), demo_);
    // The installation opened before still lends its line to the document.
    EXPECT_EQ(doc.Password(), "424242");
    EXPECT_EQ(doc.CountryCode(), "44");

    const ProfileSnapshot saved = GateList().Read();
    EXPECT_EQ(saved.ReadString("GateList", "selected", 64), "FFFFFFFFFC");
    EXPECT_EQ(saved.ReadString("GateList", "number", 64), "0100000001");
    EXPECT_EQ(saved.ReadString("Installation_1", "FileName", 128), listed);

    ScriptedUserServices nextRun;
    CZemrixDoc next(nextRun, config_, Clock());
    next.Create();
    EXPECT_TRUE(nextRun.Calls().empty());
    EXPECT_FALSE(next.IsFileLoaded());
    EXPECT_EQ(next.Installations().records.size(), 1u);
}

TEST_F(CZemrixDocTest, SaveAsksAndKeepsTheTwoEarlierStates) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "sites/gate.mem");
    const std::string path = dir_ + "/sites/gate.mem";

    Change(doc);
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc.OnCommand(kCmdSave));
    EXPECT_EQ(ui_.Calls(), Lines{Msg(kSaveQuestion)});
    EXPECT_TRUE(IsYesNoQuestion(ui_.Shown()[0]));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Bytes(path), demo_);
    EXPECT_FALSE(fs::exists(dir_ + "/sites/gate.001"));

    ui_.Answer(MessageAnswer::Yes);
    doc.OnSave();
    EXPECT_FALSE(doc.IsModified());
    const std::vector<uint8_t> second = Bytes(path);
    EXPECT_NE(second, demo_);
    EXPECT_EQ(Bytes(dir_ + "/sites/gate.001"), demo_);
    EXPECT_FALSE(fs::exists(dir_ + "/sites/gate.002"));

    Change(doc);
    ui_.Answer(MessageAnswer::Yes);
    doc.OnSave();
    EXPECT_NE(Bytes(path), second);
    EXPECT_EQ(Bytes(dir_ + "/sites/gate.001"), second);
    EXPECT_EQ(Bytes(dir_ + "/sites/gate.002"), demo_);
    EXPECT_EQ(ui_.Texts(), (Lines{kSaveQuestion, kSaveQuestion, kSaveQuestion}));

    // Without an extension the backups go beside the file, not beside a dotted directory.
    OpenDemo(doc, "my.dir/gate");
    ui_.Answer(MessageAnswer::Yes);
    ui_.Answer(MessageAnswer::Yes);
    doc.OnSave();
    doc.OnSave();
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_ + "/my.dir")) {
        names.insert(entry.path().filename());
    }
    EXPECT_EQ(names, (std::set<std::string>{"gate", "gate.001", "gate.002"}));
    EXPECT_FALSE(fs::exists(dir_ + "/my.001"));
}

TEST_F(CZemrixDocTest, FailedSaveSaysSoAndKeepsTheBackupsMade) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "gate.mem");
    const std::string path = dir_ + "/gate.mem";
    ui_.Answer(MessageAnswer::Yes);
    doc.OnSave();

    // The file turns into something no one can write as a file, not even root.
    fs::remove(path);
    fs::create_directory(path);
    Change(doc);
    ui_.Forget();
    ui_.Answer(MessageAnswer::Yes);
    doc.OnSave();
    EXPECT_EQ(ui_.Texts(), (Lines{kSaveQuestion, "Error Saving the file"}));
    EXPECT_TRUE(IsPlainNotice(ui_.Shown()[1]));
    EXPECT_EQ(Bytes(dir_ + "/gate.001"), demo_);
    EXPECT_EQ(Bytes(dir_ + "/gate.002"), demo_);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.IsFileLoaded());
    EXPECT_EQ(doc.FilePath(), path);
}

TEST_F(CZemrixDocTest, ReloadAsksAndDropsUnsavedChanges) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "gate.mem");
    const EntryCodeArray saved = doc.Lists().entryCodes;
    Change(doc);
    ui_.Answer(MessageAnswer::No);
    doc.OnCommand(kCmdReload);
    EXPECT_EQ(ui_.Calls(), Lines{Msg(kReloadQuestion)});
    EXPECT_TRUE(IsYesNoQuestion(ui_.Shown()[0]));
    EXPECT_TRUE(doc.IsModified());

    ui_.Forget();
    ui_.Answer(MessageAnswer::Yes);
    doc.OnReload();
    EXPECT_EQ(ui_.Calls(), (Lines{Msg(kReloadQuestion), kTitleCall, "busy", "idle", "views"}));
    EXPECT_EQ(doc.Lists().entryCodes, saved);
    EXPECT_FALSE(doc.IsModified());

    WriteFile("gate.mem", std::vector<uint8_t>(3000, 'x'));
    ui_.Forget();
    ui_.Answer(MessageAnswer::Yes);
    doc.OnReload();
    EXPECT_EQ(ui_.Texts(), (Lines{kReloadQuestion, "Not a valid memory module file",
                                  FirmwareMessage(""), kLoadError}));
    EXPECT_EQ(ui_.Calls().back(), "views");
    EXPECT_FALSE(doc.IsFileLoaded());
    EXPECT_EQ(doc.FilePath(), "");
}

TEST_F(CZemrixDocTest, PromptForUnsavedChanges) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "gate.mem");
    doc.Close();
    EXPECT_TRUE(ui_.Calls().empty());

    Change(doc);
    ui_.Answer(MessageAnswer::No);
    doc.OfferSave();
    EXPECT_EQ(ui_.Texts(), Lines{kChangedQuestion});
    EXPECT_TRUE(IsYesNoQuestion(ui_.Shown()[0]));
    EXPECT_EQ(Bytes(dir_ + "/gate.mem"), demo_);
    EXPECT_FALSE(fs::exists(dir_ + "/gate.001"));

    ui_.Answer(MessageAnswer::Yes);
    doc.OfferSave();
    EXPECT_NE(Bytes(dir_ + "/gate.mem"), demo_);
    EXPECT_EQ(Bytes(dir_ + "/gate.001"), demo_);
    EXPECT_FALSE(doc.IsModified());
}

class SelectSystemTest : public CZemrixDocTest {
protected:
    void SetUp() override {
        CZemrixDocTest::SetUp();
        a_ = {"A", "111111", WriteFile("a.mem", demo_), "1", "555", "1234567"};
        b_ = {"B", "222222", WriteFile("b.mem", demo_), "1", "", "7654321"};
        SaveGateList({a_}, 0);
        // Only a rewrite of the whole list takes this away.
        ProfileFile file = GateList();
        ASSERT_TRUE(file.WriteString("Notes", "keep", "1"));
    }
    Installation a_;
    Installation b_;
};

TEST_F(SelectSystemTest, ChoosingARowOffersToSaveThenOpensAndSavesTheSelection) {
    CZemrixDoc doc(ui_, config_, Clock());
    doc.Create();
    Change(doc);
    // Another run added an installation since: the dialog sees the file, not the document.
    ProfileFile file = GateList();
    InstallationList other;
    other.LoadInstallationList(file);
    ASSERT_TRUE(other.AddInstallation(file, b_));

    ui_.selectUnitDialog = [](SelectUnitModel& model) {
        EXPECT_EQ(model.RowCount(), 2u);
        EXPECT_EQ(model.Selected(), 1);
        model.Choose(1);
        return true;
    };
    ui_.Forget();
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(doc.OnCommand(kCmdSelectSystem));
    EXPECT_EQ(ui_.Calls(), (Lines{"dialog: select unit", Msg(kChangedQuestion), kTitleCall, "busy",
                                  "idle", "views"}));
    EXPECT_EQ(Bytes(a_.fileName), demo_);
    EXPECT_EQ(doc.FilePath(), b_.fileName);
    EXPECT_EQ(doc.Password(), "222222");
    EXPECT_EQ(doc.AreaCode(), "");
    EXPECT_TRUE(doc.IsListed());
    EXPECT_FALSE(doc.IsModified());
    const ProfileSnapshot saved = GateList().Read();
    EXPECT_EQ(saved.ReadInt32("GateList", "selected"), 1);
    EXPECT_EQ(saved.ReadString("Notes", "keep", 64), "1");
}

TEST_F(SelectSystemTest, AChangedListIsSavedWhole) {
    CZemrixDoc doc(ui_, config_, Clock());
    doc.Create();
    ui_.installationDialog = [this](InstallationForm& form) {
        form.fields = b_;
        return true;
    };
    ui_.selectUnitDialog = [this](SelectUnitModel& model) { return model.Add(ui_); };
    ui_.Forget();
    doc.OnSelectSystem();
    EXPECT_EQ(ui_.Calls(), (Lines{"dialog: select unit", "dialog: installation", kTitleCall, "busy",
                                  "idle", "views"}));
    EXPECT_EQ(doc.FilePath(), b_.fileName);
    const ProfileSnapshot saved = GateList().Read();
    EXPECT_EQ(saved.ReadString("Notes", "keep", 64), std::nullopt);
    EXPECT_EQ(saved.ReadInt32("GateList", "number"), 2);
    EXPECT_EQ(saved.ReadInt32("GateList", "selected"), 1);
    EXPECT_EQ(saved.ReadString("Installation_2", "FileName", 128), b_.fileName);
}

TEST_F(SelectSystemTest, CancelChangesNothingAndNoRowKeepsTheFileInWork) {
    CZemrixDoc doc(ui_, config_, Clock());
    doc.Create();
    doc.SetModified();
    const std::vector<uint8_t> gateList = Bytes(config_ + "/gatelist.ini");
    bool ok = false;
    ui_.selectUnitDialog = [&ok](SelectUnitModel& model) {
        model.Choose(-1);
        return ok;
    };
    ui_.Forget();
    doc.OnSelectSystem();
    EXPECT_EQ(ui_.Calls(), Lines{"dialog: select unit"});
    EXPECT_EQ(doc.Installations().selected, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Bytes(config_ + "/gatelist.ini"), gateList);

    // OK with no row chosen opens nothing: the file in work stays, the selection is gone.
    ok = true;
    ui_.Answer(MessageAnswer::No);
    doc.OnSelectSystem();
    EXPECT_EQ(doc.FilePath(), a_.fileName);
    EXPECT_EQ(GateList().Read().ReadInt32("GateList", "selected"), -1);
}

TEST_F(CZemrixDocTest, ReportCommandsSwitchTheKindAndRebuild) {
    CZemrixDoc doc(ui_, config_, Clock());
    doc.OnCommand(kCmdEventLogReport);
    EXPECT_EQ(ui_.Calls(), Lines{"views"});
    EXPECT_EQ(doc.ReportText(), "");

    OpenDemo(doc, "gate.mem");
    EXPECT_TRUE(doc.ReportText().starts_with("Event Log Report\n\n"));
    const int commands[] = {32782, 32789, 32795, 32791, 32793};
    std::set<std::string> texts;
    for (int kind = 1; kind <= 5; ++kind) {
        SCOPED_TRACE(kind);
        ui_.Forget();
        EXPECT_TRUE(doc.OnCommand(commands[kind - 1]));
        EXPECT_EQ(doc.ReportKind(), kind);
        EXPECT_EQ(ui_.Calls(), (Lines{"busy", "idle", "views"}));
        for (int other = 1; other <= 5; ++other) {
            EXPECT_EQ(doc.IsCommandChecked(commands[other - 1]), other == kind);
        }
        texts.insert(doc.ReportText());
    }
    EXPECT_EQ(texts.size(), 5u);

    // New keeps the document and only empties the view and sets the title.
    ui_.Forget();
    EXPECT_TRUE(doc.OnCommand(kCmdNew));
    EXPECT_EQ(ui_.Calls(), (Lines{"views", kTitleCall}));
    EXPECT_EQ(doc.ReportText(), "");
    EXPECT_TRUE(doc.IsFileLoaded());
    EXPECT_EQ(doc.FilePath(), dir_ + "/gate.mem");
    EXPECT_EQ(doc.ReportKind(), kBlockCardReport);
}

TEST_F(CZemrixDocTest, FilterDialogWorksOnACopy) {
    CZemrixDoc doc(ui_, config_, Clock());
    OpenDemo(doc, "gate.mem");
    const std::string systemReport = doc.ReportText();
    auto entryCodeGrants = [&doc](bool ok) {
        return [&doc, ok](EventLogFilter& filter) {
            EXPECT_EQ(filter, doc.Filter());
            filter.selectByDeviceType = true;
            filter.deviceType = kEntryCodeDevice;
            return ok;
        };
    };
    ui_.filterDialog = entryCodeGrants(false);
    doc.OnCommand(kCmdFilterEventLog);
    EXPECT_EQ(ui_.Calls(), Lines{"dialog: filter"});
    EXPECT_EQ(doc.Filter(), FilterAt(now_));

    // Taken, but the system report on display has nothing to do with it.
    ui_.filterDialog = entryCodeGrants(true);
    doc.OnFilterEventLog();
    EXPECT_EQ(ui_.Calls(), (Lines{"dialog: filter", "dialog: filter"}));
    EXPECT_TRUE(doc.Filter().selectByDeviceType);
    EXPECT_EQ(doc.ReportText(), systemReport);

    doc.OnReport(kEventLogReport);
    const std::string grantsOnly = doc.ReportText();
    EXPECT_TRUE(grantsOnly.starts_with("Event Log Report\n\n"));
    ui_.filterDialog = [](EventLogFilter& filter) {
        filter.selectByDeviceType = false;
        return true;
    };
    ui_.Forget();
    doc.OnFilterEventLog();
    EXPECT_EQ(ui_.Calls(), (Lines{"dialog: filter", "busy", "idle", "views"}));
    EXPECT_GT(doc.ReportText().size(), grantsOnly.size());
}

TEST_F(CZemrixDocTest, FilterIsResetOnEveryLoad) {
    now_ = {2026, 3, 1, 0, 5, 59};
    CZemrixDoc doc(ui_, config_, Clock());
    EXPECT_EQ(doc.Filter().begin, (EventTime{2026, 2, 28, 0, 5, 0}));
    EXPECT_EQ(doc.Filter().end, (EventTime{2026, 3, 1, 0, 5, 0}));

    ui_.filterDialog = [](EventLogFilter& filter) {
        filter.selectByName = true;
        return true;
    };
    const std::function<void()> loads[] = {
        [&] { OpenDemo(doc, "gate.mem"); },
        [&] {
            ui_.Answer(MessageAnswer::Yes);
            doc.OnReload();
        },
        // A load that fails resets it as well.
        [&] {
            ui_.ChooseFile(dir_ + "/missing.mem");
            doc.OnOpen();
        },
    };
    for (const auto& load : loads) {
        doc.OnFilterEventLog();
        ASSERT_TRUE(doc.Filter().selectByName);
        now_.day += 3;
        load();
        EXPECT_EQ(doc.Filter(), FilterAt(now_));
    }
}

TEST_F(CZemrixDocTest, CommandStateFollowsTheLoadedImage) {
    CZemrixDoc doc(ui_, config_, Clock());
    doc.Create();
    // With nothing loaded the file commands do nothing at all.
    doc.SetModified();
    EXPECT_TRUE(doc.OnCommand(kCmdSave));
    EXPECT_TRUE(doc.OnCommand(kCmdReload));
    doc.Close();
    EXPECT_TRUE(ui_.Calls().empty());
    EXPECT_TRUE(fs::is_empty(config_));

    // Reload, Save, Upload, the eight Setup commands, the five reports and the filter.
    std::vector<int> withImage{32784, 57603, 32773, 32782, 32789, 32791, 32793, 32795, 32797};
    for (int id = 32774; id <= 32781; ++id) {
        withImage.push_back(id);
    }
    for (const bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        // Select, Download, New and Open.
        for (const int id : {32771, 32772, 57600, 57601}) {
            EXPECT_EQ(doc.IsCommandEnabled(id), true) << id;
        }
        for (const int id : withImage) {
            EXPECT_EQ(doc.IsCommandEnabled(id), loaded) << id;
        }
        // Print, Copy, About, Exit and the toolbar toggle belong to others.
        for (const int id : {57607, 57634, 57664, 57665, 59392}) {
            EXPECT_EQ(doc.IsCommandEnabled(id), std::nullopt) << id;
            EXPECT_EQ(doc.IsCommandChecked(id), std::nullopt) << id;
            EXPECT_FALSE(doc.OnCommand(id)) << id;
        }
        EXPECT_EQ(doc.IsCommandChecked(kCmdSystemReport), true);
        EXPECT_EQ(doc.IsCommandChecked(kCmdEventLogReport), false);
        EXPECT_EQ(doc.IsCommandChecked(kCmdFilterEventLog), std::nullopt);
        if (!loaded) {
            OpenDemo(doc, "gate.mem");
        }
    }
}

} // namespace
} // namespace tolvane
