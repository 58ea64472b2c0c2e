// tolvane-cli through RunCli on real files: check, export, rewrite and demo with their exit
// statuses and what each writes to standard output and standard error; and what the demo image
// holds, since newcomers and the other tests lean on it.
#include "CliApp.h"
#include "DemoImage.h"
#include "ImageCommands.h"
#include "document/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace layout;

constexpr const char* kNotValid = "Not a valid memory module file";
constexpr const char* kFirmwareText = " is not supported by this version of Tolvane.\n"
                                      "No Varko older than version 5.00 are supported.";

class CliAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tolvane-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    int Run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string MakeDemo() {
        const std::string path = Path("demo.mem");
        EXPECT_EQ(RunCli({"demo", path}, std::cout, std::cerr), 0);
        return path;
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = Path(name);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static std::vector<uint8_t> Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::string dir_;
    std::string out_;
    std::string err_;
};

TEST_F(CliAppTest, DemoWritesAWholeModuleThatChecksClean) {
    const std::string path = Path("demo.mem");
    EXPECT_EQ(Run({"demo", path}), 0);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "");
    EXPECT_EQ(std::filesystem::file_size(path), 131072u);

    EXPECT_EQ(Run({"check", path}), 0);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(out_.rfind("size code: 0x50\npages: 126\nfirmware: 5.00\nfree pages: ", 0), 0u)
        << out_;
    std::istringstream lines(out_.substr(out_.find("chain")));
    std::vector<std::string> chains;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_NE(line.find("walk ended soundly"), std::string::npos) << line;
        chains.push_back(line.substr(0, 8));
    }
    EXPECT_EQ(chains, (std::vector<std::string>{"chain  0", "chain  2", "chain  4", "chain  6",
                                                "chain 14", "chain 15"}));
}

TEST_F(CliAppTest, CheckNamesChainsThatLoopOrLeaveTheImage) {
    std::vector<uint8_t> bytes = Read(MakeDemo());
    ScriptedUserServices ui;
    MemoryModule demo(ui);
    ASSERT_EQ(demo.LoadBytes(bytes), kLoadOk);
    const int last = demo.WalkChain(kEventLogChain, INT_MAX).pages.back(); // links to itself
    const std::size_t link = kSystemAreaSize + kPageSize * static_cast<std::size_t>(last);
    bytes[link] = static_cast<uint8_t>(0x80 | (last + 2) / 32);
    bytes[link + 1] = static_cast<uint8_t>((last + 2) % 32);
    bytes[kChainTable + 4 * kBlockCardChain] = 0x87; // block 255: beyond the 128 blocks
    bytes[kChainTable + 4 * kBlockCardChain + 1] = 0x1F;
    const std::string path = Write("damaged.mem", bytes);

    EXPECT_EQ(Run({"check", path}), 0);
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

TEST_F(CliAppTest, CheckAndExportRefuseWhatIsNoModule) {
    for (const char* command : {"check", "export"}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(Run({command, Path("missing.mem")}), kLoadCannotOpen);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, "");
        EXPECT_EQ(Run({command, dir_}), kLoadCannotOpen);

        // Every message on a line of its own on standard error, nothing on standard output.
        std::vector<uint8_t> bytes = Read(MakeDemo());
        bytes[1] = 'V';
        EXPECT_EQ(Run({command, Write("bad.mem", bytes)}), kLoadInvalid);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, std::string(kNotValid) + "\nThe firmware version " + kFirmwareText + "\n");

        bytes[1] = 'U';
        bytes[14] = '4';
        bytes[15] = '9';
        bytes[16] = '9';
        EXPECT_EQ(Run({command, Write("old.mem", bytes)}), kLoadInvalid);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, std::string("The firmware version 4.99") + kFirmwareText + "\n");
    }
}

// The first tenant's name (slot 1, at page offset 64 + 24) is not UTF-8, as names straight from
// a unit may be; the export is JSON all the same.
TEST_F(CliAppTest, ExportIsJsonOfEverythingTheImageUnpacksInto) {
    std::vector<uint8_t> bytes = Read(MakeDemo());
    ScriptedUserServices ui;
    MemoryModule demo(ui);
    ASSERT_EQ(demo.LoadBytes(bytes), kLoadOk);
    const int page = demo.GetChainStart(kDirectoryChain);
    const std::size_t name = kSystemAreaSize + kPageSize * static_cast<std::size_t>(page) + 88;
    bytes[name] = 0xC3;
    bytes[name + 1] = 0x28;
    ASSERT_EQ(Run({"export", Write("export.mem", bytes)}), 0);
    EXPECT_EQ(err_, "");
    const nlohmann::json json = nlohmann::json::parse(out_);

    ASSERT_EQ(json.at("entry_codes").size(), 40u);
    EXPECT_EQ(json["entry_codes"][4].at("active"), false);
    EXPECT_TRUE(json["entry_codes"][4].at("digits").is_string());
    EXPECT_TRUE(json["entry_codes"][4].at("validation_group").is_number());
    EXPECT_EQ(json.at("block_transmitters").at("ranges").size(), 3u);
    EXPECT_EQ(json["block_transmitters"]["ranges"][1],
              (nlohmann::json{{"first", 20000}, {"last", 29999}, {"validation_group", 2}}));
    EXPECT_EQ(json["block_transmitters"].at("suspended").size(), 6u);
    EXPECT_EQ(json.at("block_cards").at("ranges").size(), 2u);
    EXPECT_EQ(json["block_cards"].at("suspended"), (nlohmann::json{512, 640, 40100}));
    EXPECT_EQ(json.at("directory").at("capacity"), 60);
    ASSERT_EQ(json["directory"].at("entries").size(), 25u);
    EXPECT_EQ(json["directory"]["entries"][2], (nlohmann::json{{"code", 103},
                                                               {"name", "Castellano, M"},
                                                               {"digits", "6175551203"},
                                                               {"extended_talk", true}}));
    ASSERT_EQ(json.at("validation_groups").size(), 15u);
    EXPECT_EQ(json["validation_groups"][14].at("time_zones").size(), 4u);
    EXPECT_TRUE(json["validation_groups"][3].at("anti_passback").get<bool>());
    ASSERT_EQ(json.at("door_schedules").size(), 15u);
    for (const auto& schedule : json["door_schedules"]) {
        EXPECT_EQ(schedule.size(), 4u);
        EXPECT_TRUE(std::all_of(schedule.begin(), schedule.end(),
                                [](const auto& open) { return open.is_boolean(); }));
    }
    ASSERT_EQ(json.at("time_zones").size(), 15u);
    for (const auto& zone : json["time_zones"]) {
        EXPECT_EQ(zone.at("days_excluded").size(), 8u);
        ASSERT_EQ(zone.at("periods").size(), 4u);
        EXPECT_EQ(zone["periods"][3].size(), 4u);
        EXPECT_TRUE(zone["periods"][3].contains("end_minute"));
    }
    ASSERT_EQ(json.at("holidays").size(), 24u);
    EXPECT_EQ(json["holidays"][2], (nlohmann::json{{"month", 7}, {"day", 4}}));
    ASSERT_EQ(json.at("expiring_holidays").size(), 24u);
    EXPECT_EQ(json["expiring_holidays"][0],
              (nlohmann::json{{"year_since_1990", 36}, {"month", 11}, {"day", 27}}));
}

TEST_F(CliAppTest, RewriteGivesTheSameBytesBack) {
    const std::string demo = MakeDemo();
    const std::string copy = Path("copy.mem");
    EXPECT_EQ(Run({"rewrite", demo, copy}), 0);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(Read(copy), Read(demo));

    EXPECT_EQ(Run({"rewrite", Path("missing.mem"), copy}), kLoadCannotOpen);
    EXPECT_NE(err_.find("Cannot copy"), std::string::npos) << err_;

    std::vector<uint8_t> bytes = Read(demo);
    bytes[0] = 0;
    EXPECT_EQ(Run({"rewrite", Write("bad.mem", bytes), copy}), kLoadInvalid);
    EXPECT_NE(err_.find(kNotValid), std::string::npos) << err_;
}

TEST_F(CliAppTest, DemoThatCannotBeWrittenAndBadUsage) {
    EXPECT_EQ(Run({"demo", Path("no/such/dir/demo.mem")}), kExitSaveFailed);
    EXPECT_NE(err_.find("Cannot write the demo image"), std::string::npos) << err_;
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(Run({"demo", "/dev/full"}), kExitSaveFailed);
    }

    const std::vector<std::vector<std::string>> misuses = {
        {}, {"check"}, {"check", "a", "b"}, {"rewrite", "a"}, {"demo"}, {"frobnicate", "x"}};
    for (const auto& args : misuses) {
        EXPECT_EQ(Run(args), kExitUsage) << args.size();
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_.rfind("usage: tolvane-cli", 0), 0u) << err_;
    }
    EXPECT_EQ(Run({"help"}), 0);
    EXPECT_EQ(out_.rfind("usage: tolvane-cli", 0), 0u);
}

// What the demo must hold for the tool's description to be true of it: a page of entry codes, a
// block range over several pages with suspended codes, a directory and a log of several pages.
TEST(DemoImageTest, HoldsWhatTheToolPromises) {
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.LoadBytes(BuildDemoImage(ui)), kLoadOk);
    EXPECT_TRUE(ui.Shown().empty());
    UnitConfiguration unit;
    unit.Unpack(image);

    EXPECT_GE(unit.entryCodes.size(), 35u);
    EXPECT_LE(unit.entryCodes.size(), 127u);

    bool longRangeWithSuspensions = false;
    for (const BlockCodeList* list : {&unit.blockTransmitters, &unit.blockCards}) {
        for (const BlockRange& range : list->ranges) {
            if (range.Last() - range.First() + 1 <= 8064) {
                continue;
            }
            longRangeWithSuspensions |=
                std::any_of(list->suspended.begin(), list->suspended.end(), [&](uint16_t code) {
                    return range.First() <= code && code <= range.Last();
                });
        }
    }
    EXPECT_TRUE(longRangeWithSuspensions);

    EXPECT_GE(unit.directory.Count(), 20u);
    EXPECT_LT(unit.directory.Count(), image.GetDirectoryCapacity());

    const ChainWalk log = image.WalkChain(kEventLogChain, INT_MAX);
    EXPECT_EQ(log.end, WalkEnd::ChainEnd);
    EXPECT_GE(log.pages.size(), 3u);
    EXPECT_EQ(log.pages.size(), image.GetChainPageCount(kEventLogChain));
}

} // namespace
} // namespace tolvane
