// tolvane-cli list and import: a list written as CSV comes back as the same bytes, a CSV gives the
// file the window would have given it, and a refused row names its line and leaves the file and
// its backups alone.
#include "CliFixture.h"
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
#include <functional>
#include <sstream>
#include <tuple>

namespace tolvane {
namespace {

const char* const kKinds[] = {"entry-codes",       "block-transmitters", "block-cards", "directory",
                              "validation-groups", "door-schedules",     "time-zones",  "holidays"};

class ListImportTest : public CliFixture {
protected:
    int Import(const std::string& kind, const std::string& file, const std::string& csv) {
        return Run({"import", kind, file, dir_.WriteText("list.csv", csv)});
    }

    // An image with room for codes and tenants, its lists set by fill.
    std::string Build(const std::string& name,
                      const std::function<void(UnitConfiguration&)>& fill) {
        ImageBuilder builder(0x40);
        builder.AddDirectory(2, 30);
        LoadedImage loaded(builder);
        UnitConfiguration unit;
        loaded.image.Unpack(unit);
        fill(unit);
        loaded.image.Pack(unit);
        return dir_.WriteBytes(name, loaded.image.GetBytes());
    }

    // Entry codes over three pages with leading zeros, overlapping block ranges and one over two
    // pages, tenants whose names the CSV must quote or convert, and tables at their bounds.
    std::string HandBuilt() { return Build("built.mem", FillHandBuilt); }

    static void FillHandBuilt(UnitConfiguration& unit) {
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
        unit.validationGroups.timeZone[3][14] = 15;
        unit.validationGroups.antiPassback[0] = -1;
        for (std::size_t door = 0; door < 3; ++door) {
            unit.doorSchedules.channel[door][14] = 0;
        }
        unit.timeZones[14] = {
            {1, 0, 0, 0, 0, 0, 0, 1}, {17, 0, 0, 23}, {8, 0, 0, 0}, {5, 0, 0, 59}, {0, 0, 0, 59}};
        unit.holidays = {{2, 12}, {29, 31}};
        unit.expiringHolidays = {{255, 10, 0}, {12, 2, 1}, {31, 29, 1}};
    }
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
    const std::pair<const char*, std::string> tables[] = {
        {"validation-groups", "\n1,0,0,0,0,0,yes\n"},
        {"validation-groups", "\n15,0,0,0,0,15,no\n"},
        {"door-schedules", "\n15,no,no,no,yes\n"},
        {"time-zones", "\n15,-MTWTFS-,17:05-08:00,00:00-00:00,00:00-00:00,23:59-00:59\n"},
        {"holidays", "\nevery-year,,2,29\nevery-year,,12,31\nonce,2245,12,31\nonce,2000,2,29\n"
                     "once,1990,1,1\n"},
    };
    for (const auto& [kind, row] : tables) {
        ASSERT_EQ(Run({"list", kind, built}), 0);
        EXPECT_NE(out_.find(row), std::string::npos) << out_;
    }
    // Values out of the editors' bounds list as the unit holds them; the import refuses them.
    const std::string odd = Build("odd.mem", [](UnitConfiguration& unit) {
        unit.validationGroups.timeZone[3][1] = 200;
        unit.timeZones[0].startHour[0] = 30;
        unit.holidays = {{13}, {5}};
    });
    const Bytes before = TempDirectory::ReadBytes(odd);
    const std::tuple<const char*, std::string, std::string> stored[] = {
        {"validation-groups", "\n2,0,0,0,0,200,no\n",
         ":3: Group 2 Time Zone 4 must be a whole number from 0 to 15."},
        {"time-zones", "\n1,SMTWTFSH,30:00-00:00,",
         ":2: Period 1 Begin Hour must be a whole number from 0 to 23."},
        {"holidays", "\nevery-year,,13,5\n", ":2: month must be a whole number from 1 to 12."},
    };
    for (const auto& [kind, row, why] : stored) {
        ASSERT_EQ(Run({"list", kind, odd}), 0);
        EXPECT_NE(out_.find(row), std::string::npos) << out_;
        EXPECT_EQ(Import(kind, odd, out_), kExitDataRefused);
        EXPECT_EQ(err_, dir_.Path("list.csv") + why + "\n");
    }
    EXPECT_EQ(TempDirectory::ReadBytes(odd), before);
}

// Table rows come in any order, times with a one-digit hour; holidays keep file order per kind.
TEST_F(ListImportTest, TablesTakeRowsInAnyOrderAndHolidaysInFileOrder) {
    std::string zones = "zone,days,period1,period2,period3,period4\n";
    std::string listed = zones;
    for (int zone = 15; zone >= 1; --zone) {
        zones += std::to_string(zone) + ",-MTWTF--,8:00-17:00,17:00-08:00,00:00-00:00,23:59-0:00\n";
        listed += std::to_string(16 - zone) +
                  ",-MTWTF--,08:00-17:00,17:00-08:00,00:00-00:00,23:59-00:00\n";
    }
    ASSERT_EQ(Import("time-zones", demo_, zones), 0) << err_;
    ASSERT_EQ(Run({"list", "time-zones", demo_}), 0);
    EXPECT_EQ(out_, listed);
    ASSERT_EQ(Import("holidays", demo_,
                     "kind,year,month,day\nonce,2000,2,29\nevery-year,,2,29\nonce,1990,12,31\n"
                     "every-year,,1,01\n"),
              0)
        << err_;
    ASSERT_EQ(Run({"list", "holidays", demo_}), 0);
    EXPECT_EQ(out_, "kind,year,month,day\nevery-year,,2,29\nevery-year,,1,1\nonce,2000,2,29\n"
                    "once,1990,12,31\n");
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
    const std::string groups = "group,door_schedule,tz1,tz2,tz3,tz4,anti_passback\n";
    const std::string doors = "schedule,door_a,door_b,door_c,door_d\n";
    const std::string zones = "zone,days,period1,period2,period3,period4\n";
    const std::string days = "days must be 8 characters, each the day's letter from SMTWTFSH "
                             "(Sunday to Saturday, then Holiday) or -, not ";
    // The 15 rows of a table, row n being n followed by usual; row at replaced by row (an empty
    // one drops it).
    const auto table = [](std::string csv, const std::string& usual, int at,
                          const std::string& row) {
        for (int n = 1; n <= 15; ++n) {
            csv += n == at ? row : std::to_string(n) + usual;
        }
        return csv;
    };
    const auto group = [&](int at, const std::string& row) {
        return table(groups, ",1,2,3,4,5,no\n", at, row);
    };
    const auto zone = [&](int at, const std::string& row) {
        return table(zones, ",SMTWTFSH,00:00-23:59,00:00-00:00,00:00-00:00,00:00-00:00\n", at, row);
    };
    const auto holidays = [](int count, const std::string& last) {
        std::string csv = "kind,year,month,day\n";
        for (int i = 0; i < count; ++i) {
            csv += "once,2030,1," + std::to_string(i + 1) + "\n";
        }
        return csv + last;
    };
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
        {"directory", tenants + "7,\"Lee, A\",5551234,no\n7,B,5551234,no\n", 3,
         "Directory code 7 is already being used."},
        {"directory", tenants + "8,\u0141ukasz,5551234,no\n", 2,
         "The tenant name holds U+0141, which the unit's character set (Latin-1) does not have"},
        {"directory", tenants + "8,\xE9,5551234,no\n", 2, "The tenant name is not valid UTF-8"},
        // Rows that run over several lines are named by the line they start on.
        {"directory", tenants + "1,A,\"555\n1234\",no\n2,C,\"555\n\n1234\",maybe\n", 4,
         "extended_talk must be yes or no, not \"maybe\""},
        {"directory", tenants + "1,\"A\nB\",5551234,no\n", 2,
         "A tenant name cannot hold control characters"},
        {"directory", tooManyTenants, 61,
         "Telephone entry list full  --  You must remove an entry before adding more."},
        {"validation-groups", group(15, "16,1,2,3,4,5,no\n"), 16,
         "group must be a whole number from 1 to 15."},
        {"validation-groups", group(4, "3,1,2,3,4,5,no\n"), 5,
         "group 3 is given twice, first on line 4"},
        {"validation-groups", group(7, ""), 1,
         "group 7 is missing: the list needs one row for each group from 1 to 15"},
        {"validation-groups", group(3, "3,1,0,16,0,0,no\n"), 4,
         "Group 3 Time Zone 2 must be a whole number from 0 to 15."},
        {"door-schedules", table(doors, ",yes,no,yes,no\n", 9, "9,yes,no,1,no\n"), 10,
         "door_c must be yes or no, not \"1\""},
        {"time-zones", zone(2, "2,SMTWTFSX,00:00-23:59,00:00-00:00,00:00-00:00,00:00-00:00\n"), 3,
         days + "\"SMTWTFSX\""},
        {"time-zones", zone(1, "1,SMTWTFSH,24:00-08:00,00:00-00:00,00:00-00:00,00:00-00:00\n"), 2,
         "Period 1 Begin Hour must be a whole number from 0 to 23."},
        {"time-zones", zone(5, "5,SMTWTFSH,08:00 - 17:00,00:00-00:00,00:00-00:00,00:00-00:00\n"), 6,
         "period1 must be a begin and an end time as HH:MM-HH:MM, not \"08:00 - 17:00\""},
        {"holidays", holidays(0, "once,2023,2,29\n"), 2, "February 2023 has no day 29"},
        {"holidays", holidays(0, "every-year,,4,31\n"), 2, "April has no day 31"},
        {"holidays", holidays(1, "once,1989,1,1\n"), 3,
         "year must be a whole number from 1990 to 2245."},
        {"holidays", holidays(0, "every-year,2024,1,1\n"), 2,
         "year must be empty for an every-year holiday, not \"2024\""},
        {"holidays", holidays(0, "yearly,,1,1\n"), 2,
         "kind must be every-year or once, not \"yearly\""},
        {"holidays", holidays(24, "every-year,,1,1\nonce,2030,2,1\n"), 27,
         "You may not exceed 24 expiring holidays"},
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

    // A module whose lists share pages is not imported into: keeping the damage is the window's
    // question, and nobody is there to answer it.
    ScriptedUserServices quiet;
    MemoryModule damaged(quiet);
    ASSERT_EQ(damaged.LoadBytes(before), kLoadOk);
    damaged.SetChainStart(kBlockCardChain, damaged.GetChainStart(kEntryCodeChain));
    const std::string shared = dir_.WriteBytes("shared.mem", damaged.GetBytes());
    EXPECT_EQ(Run({"import", "entry-codes", shared, csv}), kExitSharedPages);
    EXPECT_NE(err_.find("is damaged: some of its pages belong to more than one list"),
              std::string::npos)
        << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(shared), damaged.GetBytes());

    for (const std::vector<std::string>& misuse : {std::vector<std::string>{"list", "codes", demo_},
                                                   {"import", "codes", demo_, csv},
                                                   {"list", "directory"},
                                                   {"import", "directory", demo_}}) {
        EXPECT_EQ(Run(misuse), kExitUsage);
        EXPECT_TRUE(SaidMisuse()) << err_;
    }
}

} // namespace
} // namespace tolvane
