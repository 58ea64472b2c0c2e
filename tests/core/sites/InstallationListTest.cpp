// The installation list through a real "gatelist.ini": loading whole values with its drops, a
// damaged count, saving anew with renumbered sections, saving only the selection, adding past
// every entry of a gapped or stale file, and write failures.
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"
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
        return file_.Read().ReadString(section, key);
    }

    TempDirectory dir_;
    ProfileFile file_{dir_.Path("gatelist.ini"), 0600};
    ScriptedUserServices ui_;
};

TEST_F(InstallationListTest, LoadsValuesWholeAndKeepsALongUtf8PathThroughASave) {
    // No file yet: an empty list with nothing selected, whatever the list held before.
    InstallationList list{0, {Unit("stale")}};
    list.LoadInstallationList(file_);
    EXPECT_TRUE(list.records.empty());
    EXPECT_EQ(list.selected, -1);

    // 300 characters in 669 bytes, in directory names of two- and three-byte characters.
    std::string path = "/srv/";
    for (const auto& [character, count] :
         {std::pair{"é", 120}, {"/", 1}, {"日", 80}, {"/", 1}, {"ß", 89}}) {
        for (int i = 0; i < count; ++i) {
            path += character;
        }
    }
    path += ".mem";
    const std::string text(300, 'n');
    WriteText("[GateList]\nnumber=0200000002\nselected=0100000001\n"
              "[Installation_1]\nInstName=North\nPassword=1234\nFileName=/s/north.mem\n"
              "CountryCode=44\nAreaCode=\nPhoneNumber=5550100\n[Installation_2]\nInstName=" +
              text + "\nPassword=" + text + "\nFileName=" + path + "\nCountryCode=" + text +
              "\nAreaCode=" + text + "\nPhoneNumber=" + text + "\n");
    list.LoadInstallationList(file_);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(list.records[0],
              (Installation{"North", "1234", "/s/north.mem", "44", "", "5550100"}));
    EXPECT_EQ(list.records[1], (Installation{text, text, path, text, text, text}));

    list.SaveInstallationList(file_, ui_);
    EXPECT_NE(ReadText().find("\r\nFileName=" + path + "\r\n"), std::string::npos);
    EXPECT_EQ(Loaded().records, list.records);
}

TEST_F(InstallationListTest, ADamagedCountFindsTheEntriesThatAreThere) {
    // Two thousand million claimed over a file of a dozen lines: the entries that are there
    // load, however far apart their numbers, and those past the count do not.
    std::string text = "[GateList]\nnumber=0094357740\n";
    for (const std::string number : {"1", "1999999999", "2000000001"}) {
        text += "[Installation_" + number + "]\nInstName=" + number + "\nPassword=1\nFileName=/" +
                number + ".mem\n";
    }
    WriteText(text);
    const InstallationList list = Loaded();
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[1], (Installation{"1999999999", "1", "/1999999999.mem", "", "", ""}));
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

TEST_F(InstallationListTest, AddingNumbersPastEveryEntryTheFileHolds) {
    auto entry = [](int position, const std::string& name) {
        return "[Installation_" + std::to_string(position) + "]\r\nInstName=" + name +
               "\r\nPassword=1234\r\nFileName=/sites/" + name +
               ".mem\r\nCountryCode=1\r\nAreaCode=555\r\nPhoneNumber=5550100\r\n";
    };
    const std::string north = entry(1, "north");

    // A gap: the entry without a password is not in the list, but still in the file.
    const std::string half = "[Installation_2]\r\nInstName=Half done\r\nPassword=\r\n"
                             "FileName=/s/half.mem\r\n";
    WriteText("[GateList]\r\nnumber=0300000003\r\nselected=0000000000\r\n" + north + half +
              entry(3, "south"));
    InstallationList list = Loaded();
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_TRUE(list.AddInstallation(file_, Unit("east")));
    EXPECT_EQ(ReadText(), "[GateList]\r\nnumber=0400000004\r\nselected=0200000002\r\n" + north +
                              half + entry(3, "south") + entry(4, "east"));
    EXPECT_EQ(list.selected, 2);

    // A stale list: another run of the program added an entry after this list was loaded.
    WriteText("[GateList]\r\nnumber=0100000001\r\nselected=0000000000\r\n" + north);
    list = Loaded();
    InstallationList other = Loaded();
    ASSERT_TRUE(other.AddInstallation(file_, Unit("west")));
    EXPECT_TRUE(list.AddInstallation(file_, Unit("east")));
    const std::string expected = "[GateList]\r\nnumber=0300000003\r\nselected=0200000002\r\n" +
                                 north + entry(2, "west") + entry(3, "east");
    EXPECT_EQ(ReadText(), expected);
    EXPECT_EQ(list.records, Loaded().records);
    EXPECT_EQ(list.selected, 2);

    // Without a name it would never load: it is not added at all.
    EXPECT_FALSE(list.AddInstallation(file_, Unit("")));
    EXPECT_EQ(ReadText(), expected);
    EXPECT_EQ(list.records.size(), 3u);
}

// Updating one entry touches nothing else the file keeps: other keys, entries the list drops,
// comments; the entry found is the one a load takes, and it becomes the selection.
TEST_F(InstallationListTest, UpdateWritesOneEntryInPlace) {
    WriteText("; kept\r\n[GateList]\r\nnumber=0300000003\r\nselected=FFFFFFFFFC\r\n"
              "[Installation_1]\r\nInstName=Old\r\nFileName=/a.mem\r\n"
              "[Installation_2]\r\nInstName=A\r\nPassword=1\r\nFileName=/a.mem\r\nNote=mine\r\n"
              "[Installation_3]\r\nInstName=B\r\nPassword=2\r\nFileName=/b.mem\r\n");
    InstallationList list;
    EXPECT_FALSE(list.UpdateInstallation(file_, "/c.mem", Unit("C")));
    ASSERT_TRUE(
        list.UpdateInstallation(file_, "/a.mem", {"A", "9", "/a.mem", "1", "", "", "COM2"}));
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.records[0].port, "COM2");
    const std::string text = ReadText();
    EXPECT_TRUE(
        text.starts_with("; kept\r\n[GateList]\r\nnumber=0300000003\r\nselected=0000000000"))
        << text;
    EXPECT_NE(text.find("[Installation_1]\r\nInstName=Old\r\nFileName=/a.mem\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Password=9\r\nFileName=/a.mem\r\nNote=mine\r\n"), std::string::npos);
    EXPECT_EQ(Value("Installation_2", "Port"), "COM2");
    EXPECT_EQ(Value("Installation_3", "Password"), "2");
}

TEST_F(InstallationListTest, WriteFailuresAreShownAndTheSaveGoesOn) {
    ProfileFile broken(dir_.Path("missing/gatelist.ini"), 0600);
    InstallationList list{-1, {Unit("a"), Unit("b"), Unit("c")}};
    list.SaveInstallationList(broken, ui_);
    // The whole file is one write, and one message says it failed.
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{kWriteError});
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);
    // The record joins the list, which holds what the file would; only the result says the file
    // did not take it.
    EXPECT_FALSE(list.AddInstallation(broken, Unit("d")));
    EXPECT_EQ(list.records, std::vector<Installation>{Unit("d")});
    EXPECT_EQ(list.selected, 0);

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
