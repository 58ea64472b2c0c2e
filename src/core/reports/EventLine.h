// One transaction log record decoded for the event log report: its texts, the same text in its
// parts for the data exports, and the values the event log filter tests.
#pragma once

#include "reports/EventTime.h"

#include <cstdint>
#include <string>

namespace tolvane {

enum class EventAction { None, Open, Close };

// What the code of an event text is: none, a number (transmitter, card or directory code), or an
// entry code's digits, whose leading zeros count.
enum class EventCode { None, Number, Digits };

// Device types of access grant records, numbered as the filter numbers them.
enum DeviceType : int {
    kNoDevice = -1,
    kSingleTransmitter = 0,
    kBlockTransmitter = 1,
    kBlockCard = 2,
    kEntryCodeDevice = 3,
};

struct EventLine {
    std::string eventText;
    // The event text taken apart; the decoder writes the text from these, so they always agree.
    std::string words; // what happened: "Single Transmitter", "Channel Locked Open", "Phone"
    std::string code;  // the number or digits the text names, without brackets or padding
    EventCode codeKind = EventCode::None;
    std::string detail; // what the text says after that: "Access Denied", "#1 Trouble", "Manual"
    EventAction action = EventAction::None;
    int channel = -1; // 0 to 3 are channels A to D; type 9 records may name others
    std::string channelName;
    int deviceType = kNoDevice;
    int64_t deviceNumber = -1;
    // The name the filter's name test looks in: the tenant's for a telephone entry record.
    std::string name;
    EventTime timestamp;
    bool producesLine = false;
};

// The report line: time, date, event text and action/channel text, ending in "\n".
std::string FormatEventLine(const EventLine& line);

// The letter the line prints for its channel: A to D, and whatever follows them for the odd
// channels a time zone record may name.
char ChannelLetter(const EventLine& line);

} // namespace tolvane
