// tolvane-cli through RunCli on real files: check, export, rewrite and demo with their exit
// statuses and what each writes to standard output and standard error; and what the demo image
// holds, since newcomers and the other tests lean on it.
#include "CliFixture.h"
#include "FailingWrite.h"
#include "ImageCommands.h"
#include "image/MemoryModule.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/types.h>

namespace tolvane {
namespace {

using namespace layout;

constexpr const char* kNotValid = "Not a valid memory module file";

using CliAppTest = CliFixture;

// The demo as newcomers and the other tests lean on it: every chain walks soundly, the entry codes
// fill one page and the event log several.
TEST_F(CliAppTest, CheckReportsEveryChainOfTheDemoAndNamesLoopsAndLinksBeyondTheImage) {
    EXPECT_EQ(std::filesystem::file_size(demo_), 131072u);
    EXPECT_EQ(Run({"check", demo_}), 0);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(out_, "size code: 0x50\npages: 126\nfirmware: 5.00\nfree pages: 107\n"
                    "chain  0: first page 0, page count 2, pages walked 2, walk ended soundly\n"
                    "chain  2: first page 15, page count 4, pages walked 4, walk ended soundly\n"
                    "chain  4: first page 12, page count 1, pages walked 1, walk ended soundly\n"
                    "chain  6: first page 13, page count 2, pages walked 2, walk ended soundly\n"
                    "chain 14: first page 2, page count 4, pages walked 4, walk ended soundly\n"
                    "chain 15: first page 6, page count 6, pages walked 6, walk ended soundly\n");

    // The log's last page, 11, links back to its first (block 8); the block card chain starts at
    // block 255, beyond the 128 blocks.
    std::vector<uint8_t> bytes = TempDirectory::ReadBytes(demo_);
    bytes[kSystemAreaSize + kPageSize * 11] = 0x80;
    bytes[kSystemAreaSize + kPageSize * 11 + 1] = 8;
    bytes[kChainTable + 4 * kBlockCardChain] = 0x87;
    bytes[kChainTable + 4 * kBlockCardChain + 1] = 0x1F;
    EXPECT_EQ(Run({"check", dir_.WriteBytes("damaged.mem", bytes)}), 0);
    EXPECT_EQ(err_, "");
    EXPECT_NE(out_.find("chain  6: first page 253, page count 2, pages walked 0, walk ended at a "
                        "link beyond the image\n"),
              std::string::npos)
        << out_;
    EXPECT_NE(out_.find("chain 15: first page 6, page count 6, pages walked 6, walk ended at a "
                        "link back to a page already walked\n"),
              std::string::npos)
        << out_;
}

// Check and export say why a file cannot be opened; only a regular file opens (a device, or a FIFO
// whose open would wait for a writer, never does).
TEST_F(CliAppTest, CheckAndExportRefuseWhatIsNoModule) {
    std::vector<uint8_t> bytes = TempDirectory::ReadBytes(demo_);
    bytes[1] = 'V';
    const std::string bad = dir_.WriteBytes("bad.mem", bytes);
    for (const char* command : {"check", "export"}) {
        SCOPED_TRACE(command);
        for (const auto& [path, why] :
             {std::pair{dir_.Path("missing.mem"), ": No such file or directory\n"},
              {"/dev/null", ": not a regular file\n"}}) {
            EXPECT_EQ(Run({command, path}), kLoadCannotOpen);
            EXPECT_EQ(out_, "");
            EXPECT_EQ(err_, "tolvane-cli: cannot open " + path + why);
        }
        // Every message on a line of its own on standard error, nothing on standard output.
        EXPECT_EQ(Run({command, bad}), kLoadInvalid);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, std::string(kNotValid) +
                            "\nThe firmware version  is not supported by this version of Tolvane.\n"
                            "No Varko older than version 5.00 are supported.\n");
    }
}

// Chain 4's entry names the block card chain's first page (13, block 15), so both chains walk
// pages 13 and 14; page 14 is also marked free (block 16: bank 0, map byte 2, bit 0). The damage
// goes to standard error, not into the summary, and fails only a strict check.
TEST_F(CliAppTest, CheckNamesPagesWithTwoOwnersAndOnlyAStrictCheckFailsOnThem) {
    EXPECT_EQ(Run({"check", "--strict", demo_}), 0);
    EXPECT_EQ(err_, "");

    std::vector<uint8_t> bytes = TempDirectory::ReadBytes(demo_);
    bytes[kChainTable + 4 * kEntryCodeChain + 1] = 15;
    bytes[kBankTable + 6] |= 1;
    const std::string damaged = dir_.WriteBytes("damaged.mem", bytes);
    for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"check", damaged}, 0},
             {{"check", "--strict", damaged}, kExitSharedPages},
             {{"check", damaged, "--strict"}, kExitSharedPages}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), status);
        EXPECT_NE(out_.find("chain  4: first page 13, page count 1, pages walked 2,"),
                  std::string::npos);
        EXPECT_EQ(out_.find("claimed"), std::string::npos);
        EXPECT_EQ(err_, "tolvane-cli: pages 13 and 14 are claimed by chains 4 and 6\n"
                        "tolvane-cli: page 14 of chains 4 and 6 is marked free\n");
    }
}

// The first tenant's name (slot 1 of the directory's first page, page 2, at offset 64 + 24) is not
// UTF-8, as names straight from a unit may be; the export is JSON all the same.
TEST_F(CliAppTest, ExportIsJsonOfEverythingTheImageUnpacksInto) {
    std::vector<uint8_t> bytes = TempDirectory::ReadBytes(demo_);
    const std::size_t name = kSystemAreaSize + kPageSize * 2 + 88;
    bytes[name] = 0xC3;
    bytes[name + 1] = 0x28;
    ASSERT_EQ(Run({"export", dir_.WriteBytes("export.mem", bytes)}), 0);
    EXPECT_EQ(err_, "");
    const nlohmann::json json = nlohmann::json::parse(out_);

    // How many of each (the three tables and the two holiday lists are filled by one loop each),
    // then one row of each, chosen so that swapped indexes would show; the block transmitters
    // whole, as they hold a range over two pages with suspended codes on both.
    EXPECT_EQ(json.at("entry_codes").size(), 40u);
    EXPECT_EQ(json.at("directory").at("entries").size(), 25u);
    EXPECT_EQ(json.at("validation_groups").size(), 15u);
    EXPECT_EQ(json.at("holidays").size(), 24u);
    const std::pair<const char*, const char*> rows[] = {
        {"/entry_codes/4", R"({"digits": "91064334", "validation_group": 3, "active": false})"},
        {"/block_transmitters", R"({"ranges": [
            {"first": 1000, "last": 1499, "validation_group": 1},
            {"first": 20000, "last": 29999, "validation_group": 2},
            {"first": 30000, "last": 30049, "validation_group": 5}],
            "suspended": [1007, 1312, 20500, 28064, 28065, 30049]})"},
        {"/directory/capacity", "60"},
        {"/directory/entries/2", R"({"code": 103, "name": "Castellano, M",
            "digits": "6175551203", "extended_talk": true})"},
        {"/validation_groups/14",
         R"({"door_schedule": 5, "time_zones": [3, 0, 0, 15], "anti_passback": false})"},
        {"/door_schedules/3", "[false, false, true, false]"},
        {"/time_zones/1/days_excluded", "[true, false, false, false, false, false, true, true]"},
        {"/time_zones/1/periods/0",
         R"({"start_hour": 7, "start_minute": 0, "end_hour": 18, "end_minute": 0})"},
        {"/holidays/2", R"({"month": 7, "day": 4})"},
        {"/expiring_holidays/0", R"({"year_since_1990": 36, "month": 11, "day": 27})"}};
    for (const auto& [pointer, row] : rows) {
        EXPECT_EQ(json.at(nlohmann::json::json_pointer(pointer)), nlohmann::json::parse(row))
            << pointer;
    }
}

TEST_F(CliAppTest, RewriteGivesTheSameBytesBackOrSaysWhyNot) {
    const std::string copy = dir_.Path("copy.mem");
    EXPECT_EQ(Run({"rewrite", demo_, copy}), 0);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(TempDirectory::ReadBytes(copy), TempDirectory::ReadBytes(demo_));

    // The save's first write fails, as on a full disk.
    failNextFileWrite = true;
    EXPECT_EQ(Run({"rewrite", demo_, copy}), kExitSaveFailed);
    EXPECT_FALSE(failNextFileWrite) << "nothing was written";
    EXPECT_EQ(err_, "Error Saving the file\n");

    EXPECT_EQ(Run({"rewrite", dir_.Path("missing.mem"), copy}), kLoadCannotOpen);
    EXPECT_NE(err_.find("Cannot copy"), std::string::npos) << err_;

    std::vector<uint8_t> bytes = TempDirectory::ReadBytes(demo_);
    bytes[0] = 0;
    EXPECT_EQ(Run({"rewrite", dir_.WriteBytes("bad.mem", bytes), copy}), kLoadInvalid);
    EXPECT_NE(err_.find(kNotValid), std::string::npos) << err_;
}

TEST_F(CliAppTest, DemoThatCannotBeWrittenAndBadUsage) {
    EXPECT_EQ(Run({"demo", dir_.Path("no/such/dir/demo.mem")}), kExitSaveFailed);
    EXPECT_NE(err_.find("Cannot write the demo image"), std::string::npos) << err_;
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(Run({"demo", "/dev/full"}), kExitSaveFailed);
    }

    for (const char* misuse :
         {"", "check", "check a b", "check --strict", "check --strict a b",
          "check --strict --strict a", "check --quick a", "rewrite a", "demo", "frobnicate x"}) {
        std::vector<std::string> args;
        std::istringstream words(misuse);
        for (std::string word; words >> word;) {
            args.push_back(word);
        }
        EXPECT_EQ(Run(args), kExitUsage) << misuse;
        EXPECT_TRUE(SaidMisuse()) << err_;
    }
    EXPECT_EQ(Run({"--frob"}), kExitUsage);
    EXPECT_TRUE(SaidMisuse()) << err_;
}

// Help for the tool lists every command; each command's own help and the version go to standard
// output with status 0, whatever else is on the line.
TEST_F(CliAppTest, HelpListsEveryCommandAndEachHasItsOwn) {
    const std::vector<std::string> commands = {"check",  "export", "rewrite", "demo",
                                               "report", "list",   "import",  "download",
                                               "upload", "modems", "simulate"};
    for (const std::vector<std::string>& asked :
         {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
        ASSERT_EQ(Run(asked), 0);
        for (const std::string& command : commands) {
            const std::string named = "tolvane-cli " + command;
            EXPECT_TRUE(out_.find(named + " ") != std::string::npos ||
                        out_.find(named + "\n") != std::string::npos)
                << command;
        }
    }
    for (const std::string& command : commands) {
        for (const std::vector<std::string>& asked : {std::vector<std::string>{command, "--help"},
                                                      {command, "-h", "x"},
                                                      {"help", command}}) {
            EXPECT_EQ(Run(asked), 0) << command;
            EXPECT_TRUE(out_.starts_with("usage: tolvane-cli " + command)) << out_;
            EXPECT_EQ(err_, "");
        }
    }
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_, "tolvane-cli " TOLVANE_VERSION "\n");
    EXPECT_EQ(Run({"help", "frobnicate"}), kExitUsage);
}

} // namespace
} // namespace tolvane

extern "C" ssize_t __real_write(int fd, const void* buffer, size_t size);

std::atomic<bool> tolvane::failNextFileWrite{false};

extern "C" ssize_t __wrap_write(int fd, const void* buffer, size_t size) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        tolvane::failNextFileWrite.exchange(false)) {
        errno = ENOSPC;
        return -1;
    }
    return __real_write(fd, buffer, size);
}
