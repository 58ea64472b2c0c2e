// The rules of the unit selection dialog and the installation dialog, driven through the scripted
// user: row texts, Add, Edit and Remove on the working copy with the selection following the rows,
// files deleted only after OK and the open one only when asked again, the choice made on OK, the
// required fields and the file chooser's settings.
#include "sites/InstallationForm.h"
#include "sites/SelectUnitModel.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class SelectUnitModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"north", "south", "west"}) {
            const std::string path = dir_.WriteText(std::string(name) + ".mem", name);
            list_.records.push_back({name, "1234", path, "1", "555", "1234567"});
        }
        list_.selected = 1;
    }

    TempDirectory dir_;
    InstallationList list_;
    ScriptedUserServices ui_;
};

TEST_F(SelectUnitModelTest, RowsShowNameDataNumberAndFileAndOkStoresTheChosenRowOrNone) {
    SelectUnitModel model(list_);
    ASSERT_EQ(model.RowCount(), 3u);
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_EQ(model.RowTexts(0),
              (std::array<std::string, 3>{"north", "1 (555) 1234567", dir_.Path("north.mem")}));
    EXPECT_EQ(SelectUnitModel::DataNumber({"x", "p", "f", "1", "", "1234567"}), "1 1234567");
    EXPECT_EQ(SelectUnitModel::DataNumber({"x", "p", "f", "44", "20", ""}), "44 (20) ");

    model.Choose(3); // a row that is not there
    EXPECT_EQ(model.Selected(), -1);
    model.Choose(2);
    model.Choose(-1);
    InstallationList stored;
    model.StoreInto(stored);
    EXPECT_EQ(stored.selected, -1);
    EXPECT_EQ(stored.records, list_.records);
    EXPECT_FALSE(model.Changed());
}

TEST_F(SelectUnitModelTest, AddAndEditWorkOnTheCopy) {
    SelectUnitModel model(list_);
    const Installation added{"east", "999", dir_.Path("east.mem"), "1", "", "5550199"};
    std::vector<Installation> offered;
    bool ok = false;
    ui_.installationDialog = [&](InstallationForm& form) {
        offered.push_back(form.fields);
        form.fields = added;
        return ok;
    };
    // Cancel leaves everything as it was, whatever was typed.
    EXPECT_FALSE(model.Add(ui_));
    EXPECT_FALSE(model.Edit(ui_, 2));
    EXPECT_EQ(model.RowCount(), 3u);
    EXPECT_EQ(model.Row(2).name, "west");
    EXPECT_FALSE(model.Changed());

    ok = true;
    ASSERT_TRUE(model.Add(ui_));
    EXPECT_EQ(model.Selected(), 3);
    ASSERT_TRUE(model.Edit(ui_, 2));
    EXPECT_EQ(model.Selected(), 3);
    EXPECT_EQ(model.Row(2), added);
    EXPECT_EQ(model.Row(3), added);
    EXPECT_TRUE(model.Changed());
    // A new form is empty apart from the country code; an edit starts from the record.
    const Installation empty{"", "", "", "1", "", ""};
    EXPECT_EQ(offered,
              (std::vector<Installation>{empty, list_.records[2], empty, list_.records[2]}));

    EXPECT_EQ(list_.records.size(), 3u); // nothing reaches the list it was made from
}

TEST_F(SelectUnitModelTest, RemoveAsksWhetherTheFileGoesTooAndTheSelectionFollows) {
    list_.selected = 2;
    SelectUnitModel model(list_);
    ui_.Answer(MessageAnswer::Cancel);
    EXPECT_FALSE(model.Remove(ui_, 0));
    EXPECT_TRUE(ui_.Shown()[0].icon == MessageIcon::Question &&
                ui_.Shown()[0].buttons == MessageButtons::YesNoCancel);
    EXPECT_EQ(model.RowCount(), 3u);
    EXPECT_FALSE(model.Changed());

    // A row above the selection: the selection stays on "west". No keeps the file.
    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_EQ(model.Row(1).name, "west");
    EXPECT_TRUE(model.Changed());
    // A row below it: nothing moves.
    model.Choose(0);
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_TRUE(model.Remove(ui_, 1));
    EXPECT_EQ(model.Selected(), 0);
    // The selected row itself: nothing is selected any more.
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.Selected(), -1);
    EXPECT_EQ(model.RowCount(), 0u);
    const std::string question =
        "Do you wish to delete the file as well?  --  WARNING:  File deletion can not be undone";
    EXPECT_EQ(ui_.Texts(), (Texts{question, question, question, question}));
}

// Yes only marks a file: the document deletes the marked files once the dialog has ended with OK.
TEST_F(SelectUnitModelTest, FilesGoOnlyAfterOkAndTheOpenOneOnlyWhenAskedAgain) {
    // "south" is open, here under another spelling of its path: No to the second question keeps
    // it. Then "west" and "north" are removed too.
    SelectUnitModel model(list_, dir_.Dir() + "/./south.mem");
    for (const MessageAnswer answer :
         {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes}) {
        ui_.Answer(answer);
    }
    ASSERT_TRUE(model.Remove(ui_, 1));
    ASSERT_TRUE(model.Remove(ui_, 1));
    ASSERT_TRUE(model.Remove(ui_, 0));
    EXPECT_FALSE(model.DeletesOpenFile());
    EXPECT_EQ(ui_.Texts()[1], "The file " + dir_.Path("south.mem") +
                                  " is the one open now. Delete it all the same?");
    EXPECT_TRUE(ui_.Shown()[1].icon == MessageIcon::Question &&
                ui_.Shown()[1].buttons == MessageButtons::YesNo);
    EXPECT_TRUE(fs::exists(dir_.Path("north.mem")));

    // A file that is gone by the time of OK is said so; the others go.
    fs::remove(dir_.Path("west.mem"));
    ui_.Forget();
    model.DeleteRemovedFiles(ui_);
    EXPECT_EQ(ui_.Texts(), Texts{"Error deleting file:  " + dir_.Path("west.mem")});
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(fs::exists(dir_.Path("north.mem")));
    EXPECT_TRUE(fs::exists(dir_.Path("south.mem")));
}

TEST(InstallationFormTest, RequiredFieldsInOrderAndTheFileChooser) {
    ScriptedUserServices ui;
    InstallationForm form;
    EXPECT_FALSE(form.Accept(ui));
    form.fields.fileName = "/sites/gate.mem";
    EXPECT_FALSE(form.Accept(ui));
    form.fields.name = "Gate";
    EXPECT_FALSE(form.Accept(ui));
    form.fields.password = "123456";
    EXPECT_TRUE(form.Accept(ui));
    EXPECT_EQ(ui.Texts(), (Texts{"File name is required", "Installation name is required",
                                 "Password is required"}));
    EXPECT_EQ(ui.Shown()[2].icon, MessageIcon::Exclamation);
    // The country and phone numbers are optional.
    EXPECT_TRUE(InstallationForm(Installation{"Gate", "1", "/g.mem", "", "", ""}).Accept(ui));

    // The chooser starts from the file name, else the installation name, else "NewFile";
    // Cancel keeps the name there was.
    ui.Forget();
    ui.ChooseFile(std::nullopt);
    ui.ChooseFile("/sites/harbour.mem");
    ui.ChooseFile(std::nullopt);
    InstallationForm browsed;
    browsed.BrowseForFile(ui);
    browsed.fields.name = "Harbour";
    browsed.BrowseForFile(ui);
    browsed.BrowseForFile(ui);
    EXPECT_EQ(browsed.fields.fileName, "/sites/harbour.mem");
    EXPECT_EQ(ui.Calls(),
              (Texts{"save as: NewFile", "save as: Harbour", "save as: /sites/harbour.mem"}));
    const FileDialogOptions& options = ui.FileDialogs()[0];
    EXPECT_EQ(options.filter, "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||");
    EXPECT_EQ(options.defaultExtension, "mem");
    EXPECT_TRUE(options.hideReadOnly && !options.mustExist);
    // Only a name is picked: a file that is already there is no reason to ask.
    EXPECT_FALSE(options.confirmOverwrite);
}

} // namespace
} // namespace tolvane
