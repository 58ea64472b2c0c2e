// The rules of the unit selection dialog and the installation dialog, driven through the scripted
// user: row texts, Add, Edit and Remove on the working copy with the selection following the rows,
// the choice made on OK, the required fields and the file chooser's settings.
#include "comm/InstallationForm.h"
#include "comm/SelectUnitModel.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDeleteQuestion =
    "Do you wish to delete the file as well?  --  WARNING:  File deletion can not be undone";
constexpr const char* kMemFilter = "Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||";

class SelectUnitModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tolvane-selectunit-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        for (const char* name : {"north", "south", "west"}) {
            const std::string path = dir_ + "/" + name + ".mem";
            std::ofstream(path) << name;
            list_.records.push_back({name, "1234", path, "1", "555", "1234567"});
        }
        list_.selected = 1;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string dir_;
    InstallationList list_;
    ScriptedUserServices ui_;
};

TEST_F(SelectUnitModelTest, RowsShowNameDataNumberAndFile) {
    const SelectUnitModel model(list_);
    ASSERT_EQ(model.RowCount(), 3u);
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_FALSE(model.Changed());
    EXPECT_EQ(model.RowTexts(0),
              (std::array<std::string, 3>{"north", "1 (555) 1234567", dir_ + "/north.mem"}));
    EXPECT_EQ(SelectUnitModel::DataNumber({"x", "p", "f", "1", "", "1234567"}), "1 1234567");
    EXPECT_EQ(SelectUnitModel::DataNumber({"x", "p", "f", "44", "20", ""}), "44 (20) ");
}

TEST_F(SelectUnitModelTest, AddAndEditWorkOnTheCopy) {
    SelectUnitModel model(list_);
    const Installation added{"east", "999", dir_ + "/east.mem", "1", "", "5550199"};
    std::vector<Installation> offered;
    bool ok = false;
    ui_.installationDialog = [&](InstallationForm& form) {
        offered.push_back(form.fields);
        form.fields =
            offered.size() == 1 ? added : Installation{"west gate", "1", "/w", "1", "", "7"};
        return ok;
    };
    // Cancel leaves everything as it was, whatever was typed.
    EXPECT_FALSE(model.Add(ui_));
    EXPECT_FALSE(model.Edit(ui_, 2));
    EXPECT_EQ(model.RowCount(), 3u);
    EXPECT_EQ(model.Row(2).name, "west");
    EXPECT_FALSE(model.Changed());

    ok = true;
    offered.clear();
    ASSERT_TRUE(model.Add(ui_));
    EXPECT_EQ(model.Row(3), added);
    EXPECT_EQ(model.Selected(), 3);
    EXPECT_TRUE(model.Edit(ui_, 2));
    EXPECT_EQ(model.RowTexts(2), (std::array<std::string, 3>{"west gate", "1 7", "/w"}));
    EXPECT_EQ(model.Selected(), 3);
    EXPECT_TRUE(model.Changed());
    // A new form is empty apart from the country code; an edit starts from the record.
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], (Installation{"", "", "", "1", "", ""}));
    EXPECT_EQ(offered[1], list_.records[2]);

    // Nothing reaches the document's list until it is stored back.
    EXPECT_EQ(list_.records.size(), 3u);
    InstallationList stored;
    model.StoreInto(stored);
    EXPECT_EQ(stored.records.size(), 4u);
    EXPECT_EQ(stored.selected, 3);
}

TEST_F(SelectUnitModelTest, RemoveAsksWhetherTheFileGoesToo) {
    SelectUnitModel model(list_);
    ui_.Answer(MessageAnswer::Cancel);
    EXPECT_FALSE(model.Remove(ui_, 0));
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui_.Shown()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(model.RowCount(), 3u);
    EXPECT_FALSE(model.Changed());

    ui_.Answer(MessageAnswer::No);
    EXPECT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.RowCount(), 2u);
    EXPECT_EQ(model.Row(0).name, "south");
    EXPECT_TRUE(fs::exists(dir_ + "/north.mem"));
    EXPECT_TRUE(model.Changed());

    ui_.Answer(MessageAnswer::Yes);
    EXPECT_TRUE(model.Remove(ui_, 1));
    EXPECT_FALSE(fs::exists(dir_ + "/west.mem"));

    // A file that cannot be deleted is said so, and its record goes all the same.
    fs::remove(dir_ + "/south.mem");
    ui_.Answer(MessageAnswer::Yes);
    EXPECT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.RowCount(), 0u);
    EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{
                               kDeleteQuestion, kDeleteQuestion, kDeleteQuestion, kDeleteQuestion,
                               "Error deleting file:  " + dir_ + "/south.mem"}));
    EXPECT_EQ(ui_.Shown()[4].icon, MessageIcon::Exclamation);
}

TEST_F(SelectUnitModelTest, SelectionFollowsTheRows) {
    list_.selected = 2;
    SelectUnitModel model(list_);
    for (int i = 0; i < 3; ++i) {
        ui_.Answer(MessageAnswer::No);
    }
    // A row above the selection: the selection stays on "west".
    ASSERT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_EQ(model.Row(1).name, "west");
    // A row below it: nothing moves.
    model.Choose(0);
    ASSERT_TRUE(model.Remove(ui_, 1));
    EXPECT_EQ(model.Selected(), 0);
    // The selected row itself: nothing is selected any more.
    ASSERT_TRUE(model.Remove(ui_, 0));
    EXPECT_EQ(model.Selected(), -1);
    EXPECT_EQ(model.RowCount(), 0u);

    // OK with no row selected stores none, and so does a row that is not there.
    SelectUnitModel chooser(list_);
    chooser.Choose(2);
    EXPECT_EQ(chooser.Selected(), 2);
    chooser.Choose(3);
    EXPECT_EQ(chooser.Selected(), -1);
    chooser.Choose(1);
    chooser.Choose(-1);
    InstallationList stored;
    chooser.StoreInto(stored);
    EXPECT_EQ(stored.selected, -1);
    EXPECT_EQ(stored.records, list_.records);
    EXPECT_FALSE(chooser.Changed());
}

TEST(InstallationFormTest, RequiredFieldsAreCheckedInOrder) {
    ScriptedUserServices ui;
    InstallationForm form;
    EXPECT_EQ(form.fields, (Installation{"", "", "", "1", "", ""}));
    EXPECT_FALSE(form.Accept(ui));
    form.fields.fileName = "/sites/gate.mem";
    EXPECT_FALSE(form.Accept(ui));
    form.fields.name = "Gate";
    EXPECT_FALSE(form.Accept(ui));
    form.fields.password = "123456";
    EXPECT_TRUE(form.Accept(ui));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"File name is required", "Installation name is required",
                                        "Password is required"}));
    EXPECT_EQ(ui.Shown()[2].icon, MessageIcon::Exclamation);
    // The country and phone numbers are optional.
    EXPECT_TRUE(InstallationForm(Installation{"Gate", "1", "/g.mem", "", "", ""}).Accept(ui));
}

TEST(InstallationFormTest, BrowseStartsFromTheBestNameAtHand) {
    ScriptedUserServices ui;
    InstallationForm form;
    ui.ChooseFile(std::nullopt);
    form.BrowseForFile(ui);
    EXPECT_EQ(form.fields.fileName, "");

    form.fields.name = "Harbour";
    ui.ChooseFile("/sites/harbour.mem");
    form.BrowseForFile(ui);
    EXPECT_EQ(form.fields.fileName, "/sites/harbour.mem");

    ui.ChooseFile(std::nullopt);
    form.BrowseForFile(ui);
    EXPECT_EQ(form.fields.fileName, "/sites/harbour.mem");

    EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"save as: NewFile", "save as: Harbour",
                                                    "save as: /sites/harbour.mem"}));
    for (const FileDialogOptions& options : ui.FileDialogs()) {
        EXPECT_EQ(options.filter, kMemFilter);
        EXPECT_EQ(options.defaultExtension, "mem");
        EXPECT_TRUE(options.hideReadOnly);
        EXPECT_FALSE(options.mustExist);
    }
}

} // namespace
} // namespace tolvane
