#include "ReportCommand.h"

#include "CliApp.h"
#include "EventLogExport.h"
#include "ImageCommands.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventFields.h"
#include "reports/EventLogFilter.h"
#include "reports/EventLogReport.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"
#include "reports/SystemReport.h"

#include <cstdio>
#include <map>
#include <optional>

namespace tolvane {

namespace {

const std::map<std::string, int>& Kinds() {
    static const std::map<std::string, int> kinds{{"system", kSystemReport},
                                                  {"events", kEventLogReport},
                                                  {"block-transmitters", kBlockTransmitterReport},
                                                  {"block-cards", kBlockCardReport},
                                                  {"directory", kDirectoryReport}};
    return kinds;
}

// The words the event export's device column uses.
const std::map<std::string, int>& Devices() {
    static const std::map<std::string, int> devices = [] {
        std::map<std::string, int> byName;
        for (const int type :
             {kSingleTransmitter, kBlockTransmitter, kBlockCard, kEntryCodeDevice}) {
            byName.emplace(EventFields::DeviceName(type), type);
        }
        return byName;
    }();
    return devices;
}

// "YYYY-MM-DD HH:MM", within the ranges the filter dialog allows.
std::optional<EventTime> ParseTime(const std::string& text) {
    EventTime time;
    char tail = 0;
    if (text.size() != 16 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &time.year, &time.month, &time.day,
                    &time.hour, &time.minute, &tail) != 5) {
        return std::nullopt;
    }
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour < 0 ||
        time.hour > 23 || time.minute < 0 || time.minute > 59) {
        return std::nullopt;
    }
    return time;
}

std::optional<uint32_t> ParseCode(const std::string& text) {
    if (text.empty() || text.size() > 8 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(std::stoul(text));
}

enum class ReportFormat { Text, Csv, Json };

struct ReportOptions {
    ReportFormat format = ReportFormat::Text;
    std::string country;
    std::string area;
    std::string phone;
    EventLogFilter filter;
};

// Reads the options of the report kind into options; an error text when they make no sense.
std::string ParseOptions(int kind, const std::vector<std::string>& args, ReportOptions& options) {
    EventLogFilter& filter = options.filter;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            return option + " needs a value";
        }
        const std::string& value = args[i + 1];
        const bool system = kind == kSystemReport;
        const bool events = kind == kEventLogReport;
        if (option == "--format") {
            // Only the event log has records to give as data; the other reports are text.
            if (value != "text" && !(events && (value == "csv" || value == "json"))) {
                return events ? "--format wants text, csv or json, not \"" + value + "\""
                              : "--format wants text for this report, not \"" + value +
                                    "\": only events can also be csv or json";
            }
            options.format = value == "csv"    ? ReportFormat::Csv
                             : value == "json" ? ReportFormat::Json
                                               : ReportFormat::Text;
        } else if (system && option == "--country") {
            options.country = value;
        } else if (system && option == "--area") {
            options.area = value;
        } else if (system && option == "--phone") {
            options.phone = value;
        } else if (events && (option == "--from" || option == "--to")) {
            const std::optional<EventTime> time = ParseTime(value);
            if (!time) {
                return option +
                       " wants \"YYYY-MM-DD HH:MM\" (month 1-12, day 1-31, hour 0-23, "
                       "minute 0-59), not \"" +
                       value + "\"";
            }
            (option == "--from" ? filter.begin : filter.end) = *time;
            filter.selectByDate = true;
        } else if (events && option == "--channel") {
            if (value.size() != 1 || value[0] < 'A' || value[0] > 'D') {
                return "--channel wants one of A, B, C, D, not \"" + value + "\"";
            }
            filter.channels[static_cast<std::size_t>(value[0] - 'A')] = true;
            filter.selectByChannel = true;
        } else if (events && option == "--name") {
            if (value.size() > EventLogFilter::kMaxNameLength) {
                return "--name takes at most 24 characters";
            }
            filter.name = value;
            filter.selectByName = true;
        } else if (events && option == "--device") {
            const auto device = Devices().find(value);
            if (device == Devices().end()) {
                return "--device wants single-transmitter, block-transmitter, block-card or "
                       "entry-code, not \"" +
                       value + "\"";
            }
            filter.deviceType = device->second;
            filter.selectByDeviceType = true;
        } else if (events && option == "--code") {
            const std::optional<uint32_t> code = ParseCode(value);
            if (!code) {
                return "--code wants a number from 0 to 99999999, not \"" + value + "\"";
            }
            filter.code = *code;
        } else {
            return "unknown option " + option + " for this report";
        }
    }
    if (filter.selectByDate && !(filter.begin < filter.end)) {
        return "The begin time must be less than the end time";
    }
    return {};
}

} // namespace

int RunReport(const std::vector<std::string>& args, const EventTime& now, UserServices& ui,
              std::ostream& out, std::ostream& err) {
    const auto kind = args.empty() ? Kinds().end() : Kinds().find(args[0]);
    if (kind == Kinds().end() || args.size() < 2) {
        err << CommandUsage("report");
        return kExitUsage;
    }
    ReportOptions options;
    options.filter.Reset(now);
    if (const std::string error = ParseOptions(kind->second, args, options); !error.empty()) {
        err << "tolvane-cli report: " << error << '\n';
        return kExitUsage;
    }

    MemoryModule image(ui);
    if (const int result = LoadForCommand(image, args[1], err); result != kLoadOk) {
        return result;
    }
    UnitConfiguration lists;
    image.Unpack(lists);
    if (options.format != ReportFormat::Text) {
        const std::vector<EventLine> lines = ReportedEvents(image, options.filter, lists.directory);
        if (options.format == ReportFormat::Csv) {
            out << EventLogCsv(lines);
        } else {
            // The tenants' names are UTF-8 already; a stray channel byte is replaced, not refused.
            out << EventLogJson(lines).dump(2, ' ', false,
                                            nlohmann::ordered_json::error_handler_t::replace)
                << '\n';
        }
        return 0;
    }
    out << BuildReport(kind->second, image, lists, options.filter,
                       SystemPhoneNumberText(options.country, options.area, options.phone));
    return 0;
}

} // namespace tolvane
