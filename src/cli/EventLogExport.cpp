#include "EventLogExport.h"

#include "CsvText.h"
#include "Latin1Text.h"
#include "reports/EventFields.h"

namespace tolvane {

namespace {

constexpr const char* kColumns[] = {"time", "channel", "device", "code", "name", "event", "detail"};

// The columns in order; the tenant's name turned from the unit's Latin-1 into UTF-8.
std::vector<std::string> Columns(EventFields fields) {
    return {std::move(fields.time),  std::move(fields.channel), std::move(fields.device),
            std::move(fields.code),  Latin1ToUtf8(fields.name), std::move(fields.event),
            std::move(fields.detail)};
}

} // namespace

std::string EventLogCsv(const std::vector<EventLine>& lines) {
    std::string csv = CsvText::Row({std::begin(kColumns), std::end(kColumns)});
    csv.reserve(lines.size() * 64);
    for (const EventLine& line : lines) {
        csv += CsvText::Row(Columns(EventFields::Of(line)));
    }
    return csv;
}

nlohmann::ordered_json EventLogJson(const std::vector<EventLine>& lines) {
    nlohmann::ordered_json events = nlohmann::ordered_json::array();
    for (const EventLine& line : lines) {
        EventFields fields = EventFields::Of(line);
        const EventCode codeKind = fields.codeKind;
        const std::vector<std::string> columns = Columns(std::move(fields));
        nlohmann::ordered_json event;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            event[kColumns[i]] = columns[i];
        }
        // Entry code digits stay text: their leading zeros are part of the code.
        if (codeKind == EventCode::None) {
            event["code"] = nullptr;
        } else if (codeKind == EventCode::Number) {
            event["code"] = std::stoul(event["code"].get<std::string>());
        }
        events.push_back(std::move(event));
    }
    return events;
}

} // namespace tolvane
