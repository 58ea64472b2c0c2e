// The installation list through a real "gatelist.ini": loading with its drops and limits, saving
// anew with renumbered sections, saving only the selection, adding, and write failures shown once
// per record.
#include "comm/InstallationList.h"
#include "comm/ProfileFile.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tolvane {
namespace {

constexpr const char* kWriteError = "Error writing to gate list file";

Installation Unit(const std::string& name) {
    return {name, "1234", "/sites/" + name + ".mem", "1", "555", "5550100"};
}

class InstallationListTest : public ::testing::Test {
protected:
    void WriteText(const std::string& text) const {
        std::ofstream(file_.Path(), std::ios::binary | std::ios::trunc) << text;
    }
    std::string ReadText() const {
        std::ifstream file(file_.Path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    InstallationList Loaded() const {
        InstallationList list;
        list.LoadInstallationList(file_);
        return list;
    }
    std::optional<std::string> Value(const std::string& section, const std::string& key) const {
        return file_.Read().ReadString(section, key, 128);
    }

    TempDirectory dir_;
    ProfileFile file_{dir_.Path("gatelist.ini"), 0600};
    ScriptedUserServices ui_;
};

TEST_F(InstallationListTest, LoadsRecordsWithTheirReadLimits) {
    // No file yet: an empty list with nothing selected, whatever the list held before.
    InstallationList list{0, {Unit("stale")}};
    list.LoadInstallationList(file_);
    EXPECT_TRUE(list.records.empty());
    EXPECT_EQ(list.selected, -1);

    std::string text = "[GateList]\nnumber=0200000002\nselected=0100000001\n"
                       "[Installation_1]\nInstName=North\nPassword=1234\nFileName=/s/north.mem\n"
                       "CountryCode=44\nAreaCode=\nPhoneNumber=5550100\n[Installation_2]\n";
    for (const char* key :
         {"InstName", "Password", "FileName", "CountryCode", "AreaCode", "PhoneNumber"}) {
        text += std::string(key) + "=" + std::string(300, 'n') + "\n";
    }
    WriteText(text);
    list.LoadInstallationList(file_);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(list.records[0],
              (Installation{"North", "1234", "/s/north.mem", "44", "", "5550100"}));
    const Installation& cut = list.records[1];
    EXPECT_EQ((std::vector<std::size_t>{cut.name.size(), cut.password.size(), cut.fileName.size(),
                                        cut.countryCode.size(), cut.areaCode.size(),
                                        cut.phoneNumber.size()}),
              (std::vector<std::size_t>{63, 63, 127, 63, 63, 63}));
}

TEST_F(InstallationListTest, SelectionOutsideTheLoadedRecordsBecomesNone) {
    InstallationList{2, {Unit("a"), Unit("b"), Unit("c")}}.SaveInstallationList(file_, ui_);
    EXPECT_EQ(Loaded().selected, 2);
    for (const int32_t selected : {3, 1000, -2}) {
        ASSERT_TRUE(file_.WriteInt32("GateList", "selected", selected));
        EXPECT_EQ(Loaded().selected, -1) << selected;
    }
    // The count that matters is what was kept, not what the file claimed.
    ASSERT_TRUE(file_.WriteInt32("GateList", "selected", 2));
    ASSERT_TRUE(file_.WriteString("Installation_2", "Password", ""));
    EXPECT_EQ(Loaded().records.size(), 2u);
    EXPECT_EQ(Loaded().selected, -1);
    // Without a readable count there is no list at all, whatever sections follow.
    ASSERT_TRUE(file_.WriteString("GateList", "number", "0300000004"));
    EXPECT_TRUE(Loaded().records.empty());
}

TEST_F(InstallationListTest, IncompleteEntriesAreDroppedAndTheNextSaveRenumbers) {
    WriteText("[GateList]\nnumber=0500000005\nselected=0000000000\n"
              "[Installation_1]\nInstName=Kept A\nPassword=1\nFileName=/a.mem\n"
              "[Installation_2]\nInstName=No password\nPassword=\nFileName=/b.mem\n"
              "[Installation_3]\nPassword=2\nFileName=/c.mem\n"
              "[Installation_4]\nInstName=No file\nPassword=3\nFileName=\n"
              "[Installation_5]\nInstName=Kept B\nPassword=4\nFileName=/e.mem\nAreaCode=21\n");
    const InstallationList list = Loaded();
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0], (Installation{"Kept A", "1", "/a.mem", "", "", ""}));
    EXPECT_EQ(list.records[1], (Installation{"Kept B", "4", "/e.mem", "", "21", ""}));

    list.SaveInstallationList(file_, ui_);
    EXPECT_TRUE(ui_.Shown().empty());
    EXPECT_EQ(Value("GateList", "number"), "0200000002");
    EXPECT_EQ(Value("Installation_2", "InstName"), "Kept B");
    EXPECT_EQ(Value("Installation_5", "InstName"), std::nullopt);
    EXPECT_EQ(Loaded().records, list.records);
}

TEST_F(InstallationListTest, SaveRewritesTheWholeFileAndTheSelectionAloneAndAddAppends) {
    WriteText("[Notes]\nkeep=me?\n[Installation_7]\nInstName=stale\n");
    InstallationList list{0, {{"Main", "123456", "/sites/main.mem", "1", "555", "1234567"}}};
    list.SaveInstallationList(file_, ui_);
    const std::string whole = "[Installation_1]\r\nInstName=Main\r\nPassword=123456\r\n"
                              "FileName=/sites/main.mem\r\nCountryCode=1\r\nAreaCode=555\r\n"
                              "PhoneNumber=1234567\r\n";
    EXPECT_EQ(ReadText(), "[GateList]\r\nnumber=0100000001\r\nselected=0000000000\r\n" + whole);

    // Saving only the selection leaves the records in the file as they are.
    list.records.push_back(Unit("unsaved"));
    list.selected = -1;
    list.SaveSelectedInstallation(file_);
    EXPECT_EQ(ReadText(), "[GateList]\r\nnumber=0100000001\r\nselected=FFFFFFFFFC\r\n" + whole);

    // Adding writes the new record, the count and the selection of it.
    list = Loaded();
    EXPECT_TRUE(list.AddInstallation(file_, Unit("east")));
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(Value("GateList", "number"), "0200000002");
    EXPECT_EQ(Value("GateList", "selected"), "0100000001");
    EXPECT_EQ(Loaded().records, list.records);
}

TEST_F(InstallationListTest, WriteFailuresAreShownOncePerRecordAndTheSaveGoesOn) {
    ProfileFile broken(dir_.Path("missing/gatelist.ini"), 0600);
    InstallationList list{-1, {Unit("a"), Unit("b"), Unit("c")}};
    list.SaveInstallationList(broken, ui_);
    EXPECT_EQ(ui_.Texts(), (std::vector<std::string>(3, kWriteError)));
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);
    // The record still joins the list; only the result says the file did not take it.
    EXPECT_FALSE(list.AddInstallation(broken, Unit("d")));
    EXPECT_EQ(list.records.size(), 4u);
    EXPECT_EQ(list.selected, 3);

    // One record the file cannot take does not stop the others.
    ui_.Forget();
    Installation bad = Unit("second");
    bad.name = "bad\nname";
    InstallationList{-1, {Unit("first"), bad, Unit("third")}}.SaveInstallationList(file_, ui_);
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{kWriteError});
    EXPECT_EQ(Value("Installation_3", "InstName"), "third");
    // What could be written of the bad record is there; without its name it loads as dropped.
    EXPECT_EQ(Value("Installation_2", "Password"), "1234");
    EXPECT_EQ(Loaded().records.size(), 2u);
}

} // namespace
} // namespace tolvane
