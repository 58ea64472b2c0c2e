// tolvane-cli report KIND FILE [options]: standard output is the report exactly as the report view
// builds it from the same file, the options set the telephone number and the event log filter, and
// everything that makes no sense is refused before anything is printed.
#include "CliApp.h"
#include "ReportCommand.h"
#include "document/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace tolvane {
namespace {

constexpr std::size_t kSeparatorLength = 96;

// The filter the report view would hold: the checked channel letters, and the device test when
// device is not -1.
EventLogFilter Filter(const std::string& channels, int device = -1, uint32_t code = 0) {
    EventLogFilter filter;
    for (const char letter : channels) {
        filter.selectByChannel = filter.channels[static_cast<std::size_t>(letter - 'A')] = true;
    }
    filter.selectByDeviceType = device != -1;
    filter.deviceType = device == -1 ? filter.deviceType : device;
    filter.code = code;
    return filter;
}

EventLogFilter Dated(EventLogFilter filter, const EventTime& begin, const EventTime& end) {
    filter.selectByDate = true;
    filter.begin = begin;
    filter.end = end;
    return filter;
}

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tolvane-report-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        demo_ = dir_ + "/demo.mem";
        ASSERT_EQ(RunCli({"demo", demo_}, std::cout, std::cerr), 0);
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

    // The command with the clock stopped at now, for the filter's reset values.
    int RunAt(const std::vector<std::string>& args, const EventTime& now) {
        std::ostringstream out;
        std::ostringstream err;
        ScriptedUserServices ui;
        const int status = RunReport(args, now, ui, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    // What the report view shows for the same file.
    static std::string Expected(int kind, const std::string& path, const EventLogFilter& filter,
                                const std::string& phone = "") {
        ScriptedUserServices ui;
        MemoryModule image(ui);
        EXPECT_EQ(image.Load(path), kLoadOk);
        UnitConfiguration lists;
        lists.Unpack(image);
        return BuildReport(kind, image, lists, filter, phone);
    }

    // The event lines of an event log report (the first one shares the separator's line).
    static std::vector<std::string> EventLines(const std::string& report) {
        const std::size_t start = report.find(std::string(kSeparatorLength, '-'));
        std::vector<std::string> lines;
        std::istringstream in(report.substr(start + kSeparatorLength));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string dir_;
    std::string demo_;
    std::string out_;
    std::string err_;
};

TEST_F(ReportCommandTest, EveryKindPrintsExactlyTheReport) {
    const std::vector<std::pair<std::string, int>> kinds{
        {"system", kSystemReport},
        {"events", kEventLogReport},
        {"block-transmitters", kBlockTransmitterReport},
        {"block-cards", kBlockCardReport},
        {"directory", kDirectoryReport}};
    for (const auto& [word, kind] : kinds) {
        SCOPED_TRACE(word);
        EXPECT_EQ(Run({"report", word, demo_}), 0);
        EXPECT_EQ(err_, "");
        EXPECT_GT(out_.size(), 100u);
        EXPECT_EQ(out_, Expected(kind, demo_, EventLogFilter()));
    }
    Run({"report", "system", demo_});
    EXPECT_NE(out_.find("\n\nSystem Phone Number:  \n\n"), std::string::npos);
}

TEST_F(ReportCommandTest, SystemTelephoneNumberOptions) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--country", "1", "--area", "617", "--phone", "5551200"}, "1 (617)5551200"},
        {{"--phone", "5551200", "--area", "617", "--country", "1"}, "1 (617)5551200"},
        {{"--phone", "5551200"}, "5551200"},
        {{"--country", "44", "--phone", "5551200"}, "5551200"},
        {{"--area", "617"}, " (617)"},
    };
    for (const auto& [options, phone] : cases) {
        SCOPED_TRACE(phone);
        std::vector<std::string> args{"report", "system", demo_};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Run(args), 0);
        EXPECT_NE(out_.find("\n\nSystem Phone Number:  " + phone + "\n\n"), std::string::npos);
        EXPECT_EQ(out_, Expected(kSystemReport, demo_, EventLogFilter(), phone));
    }
}

TEST_F(ReportCommandTest, EventOptionsSetTheFilter) {
    Run({"report", "events", demo_});
    const std::string everything = out_;
    const std::string headerOnly = everything.substr(
        0, everything.find(std::string(kSeparatorLength, '-')) + kSeparatorLength);

    const std::vector<std::pair<std::vector<std::string>, EventLogFilter>> cases{
        {{"--from", "2026-03-01 00:00", "--to", "2026-03-09 23:59"},
         Dated(Filter(""), {2026, 3, 1, 0, 0, 0}, {2026, 3, 9, 23, 59, 0})},
        {{"--channel", "C"}, Filter("C")},
        {{"--channel", "A", "--channel", "D"}, Filter("AD")},
        {{"--device", "entry-code"}, Filter("", kEntryCodeDevice)},
        {{"--device", "block-transmitter", "--code", "1042"}, Filter("", kBlockTransmitter, 1042)},
        {{"--device", "single-transmitter", "--code", "00001234"},
         Filter("", kSingleTransmitter, 1234)},
        {{"--device", "block-card", "--code", "612", "--channel", "D", "--from", "2026-10-01 00:00",
          "--to", "2026-10-31 23:59"},
         Dated(Filter("D", kBlockCard, 612), {2026, 10, 1, 0, 0, 0}, {2026, 10, 31, 23, 59, 0})},
        {{"--device", "entry-code", "--code", "99999999"}, Filter("", kEntryCodeDevice, 99999999)},
    };
    for (const auto& [options, filter] : cases) {
        SCOPED_TRACE(options[0] + " " + options[1]);
        std::vector<std::string> args{"report", "events", demo_};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Run(args), 0);
        EXPECT_EQ(err_, "");
        EXPECT_EQ(out_, Expected(kEventLogReport, demo_, filter));
        EXPECT_NE(out_, everything);
    }
    EXPECT_EQ(out_, headerOnly); // no entry code 99999999 in the demo

    // Code 0 stands for any device number.
    EXPECT_EQ(Run({"report", "events", demo_, "--device", "entry-code", "--code", "0"}), 0);
    EXPECT_EQ(out_, Expected(kEventLogReport, demo_, Filter("", kEntryCodeDevice)));
    // No record offers a name with this text in it; an empty text keeps every record.
    EXPECT_EQ(Run({"report", "events", demo_, "--name", ""}), 0);
    EXPECT_EQ(out_, everything);
    EXPECT_EQ(Run({"report", "events", demo_, "--name", std::string(24, 'M')}), 0);
    EXPECT_EQ(out_, headerOnly);
}

TEST_F(ReportCommandTest, AMissingEndOfTheDateRangeTakesItsResetValue) {
    const EventTime now{2026, 3, 8, 23, 0, 30};
    EXPECT_EQ(RunAt({"events", demo_, "--from", "2026-03-01 00:00"}, now), 0);
    EXPECT_EQ(out_, Expected(kEventLogReport, demo_,
                             Dated(Filter(""), {2026, 3, 1, 0, 0, 0}, {2026, 3, 8, 23, 0, 0})));
    EXPECT_GT(EventLines(out_).size(), 5u);

    // No begin: one day before now, seconds dropped.
    EXPECT_EQ(RunAt({"events", demo_, "--to", "2026-03-08 12:00"}, now), 0);
    EXPECT_EQ(out_, Expected(kEventLogReport, demo_,
                             Dated(Filter(""), {2026, 3, 7, 23, 0, 0}, {2026, 3, 8, 12, 0, 0})));
    const std::vector<std::string> lines = EventLines(out_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 63),
              "02:23:52 03/08/26  Block Transmitter 25000                 Open");

    EXPECT_EQ(RunAt({"events", demo_, "--to", "2026-03-07 23:00"}, now), kExitUsage);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "tolvane-cli report: The begin time must be less than the end time\n");
}

TEST_F(ReportCommandTest, BadOptionsAreRefusedWithNothingPrinted) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"events", "--from", "2026-13-01 10:00"}, "--from wants \"YYYY-MM-DD HH:MM\""},
        {{"events", "--to", "2026-01-01 24:00"}, "--to wants"},
        {{"events", "--from", "2026-01-01 10:60"}, "--from wants"},
        {{"events", "--from", "2026-01-32 10:00"}, "--from wants"},
        {{"events", "--from", "2026-01-01"}, "--from wants"},
        {{"events", "--channel", "E"}, "--channel wants"},
        {{"events", "--channel", "AB"}, "--channel wants"},
        {{"events", "--device", "foo"}, "--device wants"},
        {{"events", "--code", "123456789"}, "--code wants"},
        {{"events", "--code", "abc"}, "--code wants"},
        {{"events", "--code", "-1"}, "--code wants"},
        {{"events", "--name", std::string(25, 'M')}, "--name takes at most 24 characters"},
        {{"events", "--colour", "red"}, "unknown option --colour"},
        {{"events", "--country", "1"}, "unknown option --country"},
        {{"system", "--from", "2026-01-01 10:00"}, "unknown option --from"},
        {{"directory", "--channel", "A"}, "unknown option --channel"},
        {{"block-cards", "--phone", "5551200"}, "unknown option --phone"},
        {{"block-transmitters", "--device", "block-card"}, "unknown option --device"},
        {{"system", "--country", "1", "--phone"}, "--phone needs a value"},
        {{"events", "--from", "2026-03-01 10:00", "--to", "2026-03-01 10:00"},
         "The begin time must be less than the end time"},
        {{"events", "--from", "2026-03-02 10:00", "--to", "2026-03-01 10:00"},
         "The begin time must be less than the end time"},
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
    EXPECT_EQ(Run({"report", "system", dir_ + "/missing.mem"}), kLoadCannotOpen);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "");
    EXPECT_EQ(Run({"report", "directory", dir_}), kLoadCannotOpen);
    EXPECT_EQ(out_, "");

    std::ifstream in(demo_, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto& [offset, value] :
         std::vector<std::pair<std::size_t, char>>{{1, 'V'}, {layout::kFirmwareVersion, '4'}}) {
        SCOPED_TRACE(offset);
        std::vector<char> broken = bytes;
        broken[offset] = value;
        const std::string path = dir_ + "/broken.mem";
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(broken.data(), static_cast<std::streamsize>(broken.size()));

        ScriptedUserServices ui;
        MemoryModule image(ui);
        EXPECT_EQ(image.Load(path), kLoadInvalid);
        std::string messages;
        for (const std::string& text : ui.Texts()) {
            messages += text + "\n";
        }
        EXPECT_FALSE(messages.empty());
        EXPECT_EQ(Run({"report", "system", path, "--phone", "5551200"}), kLoadInvalid);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, messages);
        EXPECT_EQ(Run({"report", "events", path, "--channel", "A"}), kLoadInvalid);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(err_, messages);
    }
}

} // namespace
} // namespace tolvane
