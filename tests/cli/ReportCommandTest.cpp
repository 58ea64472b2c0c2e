// tolvane-cli report KIND FILE [options]: standard output is the report exactly as the report view
// builds it from the same file, the options set the telephone number and the event log filter, and
// everything that makes no sense is refused before anything is printed. What each filter test
// keeps is the core report tests' business; here each option family is passed through once.
#include "CliApp.h"
#include "ReportCommand.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tolvane {
namespace {

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

} // namespace
} // namespace tolvane
