// tolvane-cli report KIND FILE [options]: standard output is the report exactly as the report view
// builds it from the same file, the options set the telephone number and the event log filter, and
// everything that makes no sense is refused before anything is printed. What each filter test
// keeps is the core report tests' business; here each option family is passed through once. The
// event log's CSV and JSON are read back and held against the text report line by line.
#include "CliApp.h"
#include "CsvText.h"
#include "ReportCommand.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "support/ImageTestKit.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace tolvane {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The filter the report view would hold with only the date test on.
EventLogFilter Dated(const EventTime& begin, const EventTime& end) {
    EventLogFilter filter;
    filter.selectByDate = true;
    filter.begin = begin;
    filter.end = end;
    return filter;
}

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = dir_.Path("demo.mem");
        ASSERT_EQ(Run({"demo", demo_}), 0);
    }

    // Through RunCli; or, given now, through RunReport with the clock stopped there.
    int Run(const std::vector<std::string>& args, const EventTime* now = nullptr) {
        std::ostringstream out;
        std::ostringstream err;
        ScriptedUserServices ui;
        const int status =
            now != nullptr ? RunReport(args, *now, ui, out, err) : RunCli(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    // What the report view shows for the demo.
    std::string Expected(int kind, const EventLogFilter& filter, const std::string& phone = "") {
        ScriptedUserServices ui;
        MemoryModule image(ui);
        EXPECT_EQ(image.Load(demo_), kLoadOk);
        UnitConfiguration lists;
        image.Unpack(lists);
        return BuildReport(kind, image, lists, filter, phone);
    }

    // The event log's export with these options as CSV and as JSON, read back and held against
    // the text report: the same records in the same order, each row saying what its line says.
    // The CSV's rows after the header.
    Rows Exported(const std::string& file, const std::vector<std::string>& options) {
        std::vector<std::string> args{"report", "events", file};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Run(args), 0);
        std::istringstream lines(out_.substr(out_.find("-----") + 96));
        args.insert(args.end(), {"--format", "csv"});
        EXPECT_EQ(Run(args), 0);
        Rows rows;
        EXPECT_FALSE(CsvText::Read(out_, [&](const std::vector<std::string>& fields, int) {
            rows.push_back(fields);
            return std::nullopt;
        }));
        EXPECT_EQ(rows.at(0), (std::vector<std::string>{"time", "channel", "device", "code", "name",
                                                        "event", "detail"}));
        rows.erase(rows.begin());
        args.back() = "json";
        EXPECT_EQ(Run(args), 0);
        const nlohmann::json objects = nlohmann::json::parse(out_);
        EXPECT_EQ(objects.size(), rows.size());
        for (std::size_t i = 0; i < rows.size() && i < objects.size(); ++i) {
            const std::vector<std::string>& row = rows[i];
            const std::string& t = row[0]; // YYYY-MM-DDTHH:MM:SS
            std::string line;
            std::getline(lines, line);
            SCOPED_TRACE(line);
            EXPECT_EQ(line.substr(0, 19), t.substr(11) + ' ' + t.substr(5, 2) + '/' +
                                              t.substr(8, 2) + '/' + t.substr(2, 2) + "  ");
            EXPECT_EQ(line.substr(19, row[5].size()), row[5]);
            for (const std::string& said : {row[3], row[6]}) {
                EXPECT_NE(line.find(said, 19), std::string::npos);
            }
            EXPECT_EQ(line.find("Channel [" + row[1] + ']') != std::string::npos, !row[1].empty());
            // Entry code digits stay text; other codes are numbers.
            const bool digits = row[2] == "entry-code" || row[5].ends_with("Entry Code");
            const nlohmann::json code = digits           ? nlohmann::json(row[3])
                                        : row[3].empty() ? nlohmann::json()
                                                         : nlohmann::json(std::stoul(row[3]));
            EXPECT_EQ(objects[i], (nlohmann::json{{"time", row[0]},
                                                  {"channel", row[1]},
                                                  {"device", row[2]},
                                                  {"code", code},
                                                  {"name", row[4]},
                                                  {"event", row[5]},
                                                  {"detail", row[6]}}));
        }
        EXPECT_TRUE(lines.peek() == EOF) << "the text has lines the data has not";
        return rows;
    }

    TempDirectory dir_;
    std::string demo_;
    std::string out_;
    std::string err_;
};

TEST_F(ReportCommandTest, EveryKindPrintsExactlyTheReport) {
    const std::pair<const char*, int> kinds[] = {{"system", kSystemReport},
                                                 {"events", kEventLogReport},
                                                 {"block-transmitters", kBlockTransmitterReport},
                                                 {"block-cards", kBlockCardReport},
                                                 {"directory", kDirectoryReport}};
    for (const auto& [word, kind] : kinds) {
        SCOPED_TRACE(word);
        EXPECT_EQ(Run({"report", word, demo_}), 0);
        EXPECT_EQ(err_, "");
        EXPECT_EQ(out_, Expected(kind, EventLogFilter()));
        EXPECT_EQ(Run({"report", word, demo_, "--format", "text"}), 0);
        EXPECT_EQ(out_, Expected(kind, EventLogFilter()));
    }

    // Each telephone option lands in its own part, whatever the order they come in.
    EXPECT_EQ(
        Run({"report", "system", demo_, "--phone", "5551200", "--area", "617", "--country", "1"}),
        0);
    EXPECT_EQ(out_, Expected(kSystemReport, EventLogFilter(), "1 (617)5551200"));
}

TEST_F(ReportCommandTest, EventOptionsSetTheFilter) {
    Run({"report", "events", demo_});
    const std::string everything = out_;
    const auto expectFiltered = [&](std::vector<std::string> args, const EventLogFilter& filter) {
        SCOPED_TRACE(args[0]);
        args.insert(args.begin(), {"report", "events", demo_});
        EXPECT_EQ(Run(args), 0);
        EXPECT_EQ(err_, "");
        EXPECT_EQ(out_, Expected(kEventLogReport, filter));
        EXPECT_NE(out_, everything);
    };
    EventLogFilter channels;
    channels.selectByChannel = channels.channels[0] = channels.channels[3] = true;
    expectFiltered({"--channel", "A", "--channel", "D"}, channels);
    EventLogFilter name;
    name.selectByName = true;
    name.name = std::string(24, 'M');
    expectFiltered({"--name", name.name}, name);
    // Leading zeros are read away; 1042 is one of several block transmitters in the log.
    EventLogFilter device;
    device.selectByDeviceType = true;
    device.deviceType = kBlockTransmitter;
    device.code = 1042;
    expectFiltered({"--device", "block-transmitter", "--code", "00001042"}, device);
}

// The date options, each alone: the other end of the range keeps its reset value.
TEST_F(ReportCommandTest, AMissingEndOfTheDateRangeTakesItsResetValue) {
    const EventTime now{2026, 3, 8, 23, 0, 30};
    EXPECT_EQ(Run({"events", demo_, "--from", "2026-03-01 00:00"}, &now), 0);
    EXPECT_EQ(out_,
              Expected(kEventLogReport, Dated({2026, 3, 1, 0, 0, 0}, {2026, 3, 8, 23, 0, 0})));

    // No begin: one day before now, seconds dropped.
    EXPECT_EQ(Run({"events", demo_, "--to", "2026-03-08 12:00"}, &now), 0);
    EXPECT_EQ(out_,
              Expected(kEventLogReport, Dated({2026, 3, 7, 23, 0, 0}, {2026, 3, 8, 12, 0, 0})));
    EXPECT_NE(out_.find("02:23:52 03/08/26  Block Transmitter 25000"), std::string::npos);

    EXPECT_EQ(Run({"events", demo_, "--to", "2026-03-07 23:00"}, &now), kExitUsage);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "tolvane-cli report: The begin time must be less than the end time\n");
}

TEST_F(ReportCommandTest, BadOptionsAreRefusedWithNothingPrinted) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"events", "--from", "2026-13-01 10:00"}, "--from wants \"YYYY-MM-DD HH:MM\""},
        {{"events", "--from", "2026-01-32 10:00"}, "--from wants"},
        {{"events", "--to", "2026-01-01 24:00"}, "--to wants"},
        {{"events", "--from", "2026-01-01 10:60"}, "--from wants"},
        {{"events", "--channel", "E"}, "--channel wants"},
        {{"events", "--channel", "AB"}, "--channel wants"},
        {{"events", "--device", "foo"}, "--device wants"},
        {{"events", "--code", "123456789"}, "--code wants"},
        {{"events", "--code", "-1"}, "--code wants"},
        {{"events", "--name", std::string(25, 'M')}, "--name takes at most 24 characters"},
        {{"events", "--country", "1"}, "unknown option --country"},
        {{"system", "--from", "2026-01-01 10:00"}, "unknown option --from"},
        {{"system", "--country", "1", "--phone"}, "--phone needs a value"},
        {{"events", "--format", "xml"}, "--format wants text, csv or json, not \"xml\""},
        {{"events", "--format", "CSV"}, "--format wants"},
        {{"directory", "--format", "csv"}, "--format wants text for this report"},
        {{"events", "--channel", "A", "--format"}, "--format needs a value"},
    };
    for (const auto& [words, message] : cases) {
        std::vector<std::string> args{"report", words[0], demo_};
        args.insert(args.end(), words.begin() + 1, words.end());
        SCOPED_TRACE(words[1]);
        EXPECT_EQ(Run(args), kExitUsage);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_.rfind("tolvane-cli report: ", 0), 0u) << err_;
        EXPECT_NE(err_.find(message), std::string::npos) << err_;
    }

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"report"}, {"report", "system"}, {"report", "summary", demo_}}) {
        EXPECT_EQ(Run(args), kExitUsage);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_.rfind("usage: tolvane-cli report", 0), 0u) << err_;
    }
}

TEST_F(ReportCommandTest, AFileThatFailsToLoadGivesLoadsResultAndMessages) {
    EXPECT_EQ(Run({"report", "system", dir_.Path("missing.mem")}), kLoadCannotOpen);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "tolvane-cli: cannot open " + dir_.Path("missing.mem") +
                        ": No such file or directory\n");

    // The loader's messages go to standard error, one to a line, and nothing is printed.
    std::fstream file(demo_, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(1).put('V');
    file.close();
    EXPECT_EQ(Run({"report", "events", demo_, "--channel", "A"}), kLoadInvalid);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_.rfind("Not a valid memory module file\nThe firmware version ", 0), 0u) << err_;
}

// One record of each way the report words an event, and the tenant of directory code 42 with a
// comma and a Latin-1 letter in the name: the data says it in columns, the name in UTF-8.
TEST_F(ReportCommandTest, EventLogAsCsvAndJsonHoldsTheReportsRecords) {
    ImageBuilder builder(0x70);
    builder.AddDirectory(1, 21);
    builder.AddEventLog(1);
    const auto add = [&](uint8_t type, int minute, uint8_t mod, uint8_t ctx,
                         std::array<uint8_t, 4> id) {
        builder.AddEvent(type, {2026, 3, 14, 9, minute, 8}, id, mod, ctx);
    };
    add(15, 0, 0, 0, {});
    add(2, 1, 0x02, 0, {});
    add(9, 2, 0x01, 0x83, {});
    add(5, 3, 0x3C, 0, {});
    add(11, 4, 0x00, 0, {0, 42});
    add(14, 5, 0x21, 0, {0, 7});
    add(14, 6, 0x32, 0, {0x12, 0x3F, 0xFF, 0xFF});
    add(4, 7, 0x40, 4, {0x21, 0x00});
    add(4, 8, 0x25, 0, {0x01, 0x02});
    add(3, 9, 0x07, 0, {}); // no line
    LoadedImage loaded(builder);
    UnitConfiguration lists;
    loaded.image.Unpack(lists);
    lists.directory.Append(MakeDirectoryEntry(42, "Jos\xE9, Ana"));
    loaded.image.Pack(lists);
    const std::string file = dir_.Path("log.mem");
    std::ofstream(file) << "";
    ASSERT_EQ(loaded.image.Save(file), kSaveOk);

    EXPECT_EQ(
        Exported(file, {}),
        (Rows{{"2026-03-14T09:08:08", "B", "block-transmitter", "258", "", "Block Transmitter",
               "Access Denied"},
              {"2026-03-14T09:07:08", "A", "entry-code", "0012", "", "Entry Code", ""},
              {"2026-03-14T09:06:08", "", "", "321", "", "Unknown Entry Code", ""},
              {"2026-03-14T09:05:08", "", "", "7", "", "Access denied, Card", ""},
              {"2026-03-14T09:04:08", "", "", "42", "Jos\xC3\xA9, Ana", "Phone", "Dial in"},
              {"2026-03-14T09:03:08", "A", "", "", "", "Channel Locked Closed", "Transmitter 3"},
              {"2026-03-14T09:02:08", "B", "", "", "", "Time Zone 3", "Close"},
              {"2026-03-14T09:01:08", "", "", "", "", "Obstacle Transmitter", "#1 Trouble"},
              {"2026-03-14T09:00:08", "", "", "", "", "Time Set", ""}}));
    EXPECT_EQ(Run({"report", "events", file, "--format", "csv", "--name", "jos"}), 0);
    EXPECT_EQ(out_, "time,channel,device,code,name,event,detail\n"
                    "2026-03-14T09:04:08,,,42,\"Jos\xC3\xA9, Ana\",Phone,Dial in\n");

    // The demo's log, every kind of record, whole and through filters: each filtered export is
    // the whole one's rows that pass.
    const Rows all = Exported(demo_, {});
    EXPECT_EQ(all.size(), 459u);
    const auto keep = [&](const std::function<bool(const std::vector<std::string>&)>& passes) {
        Rows kept;
        std::copy_if(all.begin(), all.end(), std::back_inserter(kept), passes);
        EXPECT_FALSE(kept.empty());
        return kept;
    };
    EXPECT_EQ(Exported(demo_, {"--from", "2025-12-01 00:00", "--to", "2025-12-31 23:59"}),
              keep([](const auto& row) { return row[0].starts_with("2025-12"); }));
    EXPECT_EQ(Exported(demo_, {"--device", "entry-code", "--channel", "B"}),
              keep([](const auto& row) { return row[1] == "B" && row[2] == "entry-code"; }));
}

} // namespace
} // namespace tolvane
