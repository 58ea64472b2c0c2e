// tolvane-cli list and import: a list written as CSV comes back as the same bytes, a CSV gives the
// file the window would have given it, and a refused row names its line and leaves the file and
// its backups alone.
#include "CliApp.h"
#include "FailingWrite.h"
#include "ImageCommands.h"
#include "ListCommands.h"
#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/EntryCodeEditor.h"
#include "document/EditedLists.h"
#include "support/ImageTestKit.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace tolvane {
namespace {

const char* const kKinds[] = {"entry-codes", "block-transmitters", "block-cards", "directory"};

class ListImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = dir_.Path("demo.mem");
        ASSERT_EQ(Run({"demo", demo_}), 0);
    }

    int Run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    int Import(const std::string& kind, const std::string& file, const std::string& csv) {
        return Run({"import", kind, file, dir_.WriteText("list.csv", csv)});
    }

    // Entry codes over three pages with leading zeros, overlapping block ranges and one over two
    // pages, and tenants whose names the CSV must quote or convert.
    std::string HandBuilt() {
        ImageBuilder builder(0x40);
        builder.AddDirectory(2, 30);
        LoadedImage loaded(builder);
        UnitConfiguration unit;
        loaded.image.Unpack(unit);
        for (int i = 0; i < 300; ++i) {
            EntryCode code;
            code.digitCount = static_cast<uint8_t>(3 + i % 6);
            for (int d = code.digitCount - 1, rest = i; d >= 0; --d, rest /= 10) {
                code.digits[static_cast<std::size_t>(d)] = static_cast<uint8_t>(rest % 10);
            }
            code.validationGroup = static_cast<uint16_t>(i % 16);
            code.active = i % 3;
            unit.entryCodes.push_back(code);
        }
        unit.blockTransmitters = {{{1, 10, 3}, {5, 20, 4}, {100, 9000, 1}}, {15, 7, 8999, 150}};
        unit.blockCards = {{{0, 0, 15}}, {0}};
        unit.directory.Append(MakeDirectoryEntry(12, "Smith, \"Jo\"", "5551234", true));
        unit.directory.Append(MakeDirectoryEntry(7, "Zo\xEB Adams", "16175551203"));
        unit.directory.Append(MakeDirectoryEntry(300, " Lee", "12345678"));
        loaded.image.Pack(unit);
        return dir_.WriteBytes("built.mem", loaded.image.GetBytes());
    }

    TempDirectory dir_;
    std::string demo_;
    std::string out_;
    std::string err_;
};

TEST_F(ListImportTest, ListThenImportGivesTheSameBytesBack) {
    const std::string built = HandBuilt();
    for (const std::string& file : {demo_, built}) {
        const Bytes before = TempDirectory::ReadBytes(file);
        for (const char* kind : kKinds) {
            SCOPED_TRACE(file + " " + kind);
            ASSERT_EQ(Run({"list", kind, file}), 0);
            const std::string csv = out_;
            // The demo's last tenant has no number, as a unit's list may have: the directory
            // editor would refuse it, and so does the import.
            const bool refused = file == demo_ && std::string(kind) == "directory";
            EXPECT_EQ(Import(kind, file, csv), refused ? kExitDataRefused : 0);
            EXPECT_EQ(err_, refused ? dir_.Path("list.csv") + ":26: Phone Number required.\n" : "");
            EXPECT_EQ(TempDirectory::ReadBytes(file), before);
        }
    }
    // Each suspended code with the first range that covers it, as often as the list holds it (7 is
    // read from both runs that cover it); Latin-1 names as UTF-8; leading zeros kept.
    ASSERT_EQ(Run({"list", "block-transmitters", built}), 0);
    EXPECT_EQ(out_, "first,last,group,suspended\n1,10,3,7 7\n5,20,4,15\n100,9000,1,150 8999\n");
    ASSERT_EQ(Run({"list", "directory", built}), 0);
    EXPECT_EQ(out_, "code,name,phone,extended_talk\n12,\"Smith, \"\"Jo\"\"\",555-1234,yes\n"
                    "7,Zo\u00EB Adams,1 (617) 555-1203,no\n300, Lee,12345678,no\n");
    ASSERT_EQ(Run({"list", "entry-codes", built}), 0);
    EXPECT_EQ(out_.rfind("code,group,active\n000,0,no\n0001,1,yes\n00002,2,yes\n", 0), 0u);
}

// A spreadsheet's CSV (byte order mark, CR LF, a blank line, quoted fields) leaves the file as the
// same rows typed into the editors and saved.
TEST_F(ListImportTest, ImportEqualsTheSameAddsInTheEditors) {
    const std::string typed = dir_.Path("typed.mem");
    std::filesystem::copy_file(demo_, typed);
    ASSERT_EQ(Import("entry-codes", demo_,
                     "\xEF\xBB\xBF"
                     "code,group,active\r\n0042,3,yes\r\n"
                     "\r\n42,15,no\r\n"),
              0)
        << err_;
    ASSERT_EQ(Import("block-cards", demo_,
                     "first,last,group,suspended\n100,200,3,150 100\n"
                     "0,65535,2,\"7\"\n"),
              0)
        << err_;
    ASSERT_EQ(Import("directory", demo_,
                     "code,name,phone,extended_talk\n"
                     "7,\"Lee, \"\"Al\"\"\",(617) 555-1203,yes\n"
                     "9,Jos\u00E9,5551234,no\n"),
              0)
        << err_;

    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.Load(typed), kLoadOk);
    UnitConfiguration unit;
    image.Unpack(unit);
    EntryCodeEditor codes;
    for (const auto& [text, group, active] : {std::tuple{"0042", "3", true}, {"42", "15", false}}) {
        EntryCode code;
        ASSERT_FALSE(EntryCodeEditor::ReadFields(text, group, active, code));
        ASSERT_FALSE(codes.Add(code));
    }
    TakeEntryCodes(codes, unit);
    BlockCodeEditor cards;
    cards.AddRange({100, 200, 3});
    cards.AddRange({0, 65535, 2});
    for (const uint16_t code : {150, 100, 7}) {
        ASSERT_FALSE(cards.AddSuspended(code));
    }
    TakeBlockCodes(cards, kBlockCards, unit, image);
    DirectoryEditor directory(image.GetDirectoryCapacity());
    ASSERT_FALSE(directory.Add(MakeDirectoryEntry(7, "Lee, \"Al\"", "6175551203", true)));
    ASSERT_FALSE(directory.Add(MakeDirectoryEntry(9, "Jos\xE9", "5551234")));
    TakeDirectory(directory, unit, image);
    ASSERT_EQ(PackAndSave(image, unit, typed), kSaveOk);
    EXPECT_EQ(TempDirectory::ReadBytes(demo_), TempDirectory::ReadBytes(typed));
}

TEST_F(ListImportTest, ARefusedRowNamesItsLineAndLeavesTheFileAlone) {
    const std::string codes = "code,group,active\n";
    const std::string blocks = "first,last,group,suspended\n";
    const std::string tenants = "code,name,phone,extended_talk\n";
    // One code more than the pages the entry code chain can have; the directory one past full.
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.Load(demo_), kLoadOk);
    const int pages = image.PagesAvailableTo(kEntryCodeChain);
    std::string tooManyCodes = codes;
    for (int i = 0; i <= pages * 127; ++i) {
        tooManyCodes += std::to_string(i) + ",0,yes\n";
    }
    std::string tooManyTenants = tenants;
    for (int i = 0; i < 60; ++i) {
        tooManyTenants += std::to_string(i) + ",T,5551234,no\n";
    }
    const struct {
        const char* kind;
        std::string csv;
        int line;
        std::string why;
    } cases[] = {
        {"entry-codes", codes + ",0,yes\n", 2, "An entry code must be entered"},
        {"entry-codes", codes + "12a4,0,yes\n", 2,
         "Only numeric values (0-9) are allowed in an entry code"},
        {"entry-codes", codes + "0042,0,yes\n42,1,no\n\n42,2,yes\n", 5,
         "Entry Codes must be unique"},
        {"entry-codes", codes + "1,0,Yes\n", 2, "active must be yes or no, not \"Yes\""},
        {"entry-codes", codes + "1,16,yes\n", 2,
         "Validation Group must be a whole number from 0 to 15."},
        {"entry-codes", tooManyCodes, pages * 127 + 2,
         "No more memory module pages available for entry codes: the list needs " +
             std::to_string(pages + 1) + " pages, " + std::to_string(pages) + " are available"},
        {"entry-codes", "code,group\n1,0\n", 1, "the header must be code,group,active"},
        {"entry-codes", "", 1, "the header must be code,group,active"},
        {"entry-codes", codes + "1,0\n", 2, "a row has 3 fields (code,group,active), this one 2"},
        {"entry-codes", codes + "1\"2,0,yes\n", 2,
         "bad quoting: a field with a quote in it must be enclosed in quotes, and its own quotes "
         "doubled"},
        {"entry-codes", codes + "1,0,yes\n\"2,0,yes\n", 3,
         "bad quoting: a quoted field is not closed"},
        {"block-cards", blocks + "200,100,0,\n", 2,
         "The end code can not be less than the start code"},
        {"block-cards", blocks + "1,100,0,\n50,60,0,55 10\n", 3,
         "The suspended code 10 lies outside this row's range 50 to 60"},
        {"block-transmitters", blocks + "1,100,0,x\n", 2,
         "Code must be a whole number from 0 to 65535."},
        {"directory", tenants + "7,\"Lee, A\",5551234,no\n7,B,5551234,no\n", 3,
         "Directory code 7 is already being used."},
        {"directory", tenants + "8,,5551234,no\n", 2, "Tenant name required."},
        {"directory", tenants + "8,A,- -,no\n", 2, "Phone Number required."},
        {"directory", tenants + "8,\u0141ukasz,5551234,no\n", 2,
         "The tenant name holds U+0141, which the unit's character set (Latin-1) does not have"},
        {"directory", tenants + "8,\xE9,5551234,no\n", 2, "The tenant name is not valid UTF-8"},
        // Rows that run over several lines are named by the line they start on.
        {"directory", tenants + "1,\"A\nB\",5551234,no\n2,\"C\n\nD\",5551234,maybe\n", 4,
         "extended_talk must be yes or no, not \"maybe\""},
        {"directory", tooManyTenants, 61,
         "Telephone entry list full  --  You must remove an entry before adding more."},
    };
    const Bytes before = TempDirectory::ReadBytes(demo_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv.substr(0, 200));
        EXPECT_EQ(Import(c.kind, demo_, c.csv), kExitDataRefused);
        EXPECT_EQ(err_, dir_.Path("list.csv") + ":" + std::to_string(c.line) + ": " + c.why + "\n");
        EXPECT_EQ(TempDirectory::ReadBytes(demo_), before);
        EXPECT_FALSE(std::filesystem::exists(dir_.Path("demo.001")));
    }
}

TEST_F(ListImportTest, FilesThatCannotBeReadOrSavedAndBadUsage) {
    const std::string csv = dir_.WriteText("list.csv", "code,group,active\n1,0,yes\n");
    const std::string missing = dir_.Path("missing.mem");
    EXPECT_EQ(Run({"import", "entry-codes", missing, csv}), kLoadCannotOpen);
    EXPECT_EQ(err_, "tolvane-cli: cannot open " + missing + ": No such file or directory\n");
    EXPECT_EQ(Run({"import", "entry-codes", demo_, missing}), kLoadCannotOpen);
    EXPECT_EQ(err_, "tolvane-cli: cannot open " + missing + ": No such file or directory\n");
    EXPECT_EQ(Run({"list", "directory", missing}), kLoadCannotOpen);

    const Bytes before = TempDirectory::ReadBytes(demo_);
    failNextFileWrite = true;
    EXPECT_EQ(Run({"import", "entry-codes", demo_, csv}), kExitSaveFailed);
    EXPECT_FALSE(failNextFileWrite) << "nothing was written";
    EXPECT_EQ(err_, "Error Saving the file\n");
    EXPECT_EQ(TempDirectory::ReadBytes(demo_), before);

    for (const std::vector<std::string>& misuse : {std::vector<std::string>{"list", "codes", demo_},
                                                   {"import", "codes", demo_, csv},
                                                   {"list", "directory"},
                                                   {"import", "directory", demo_}}) {
        EXPECT_EQ(Run(misuse), kExitUsage);
        EXPECT_EQ(err_.rfind("usage: tolvane-cli", 0), 0u) << err_;
    }
}

} // namespace
} // namespace tolvane
