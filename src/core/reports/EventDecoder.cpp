#include "reports/EventDecoder.h"

#include "config/DirectoryList.h"
#include "image/MemoryModule.h"

#include <cstdio>

namespace tolvane {

namespace {

// Nibble k of the code digits: the high nibble of id byte 0 is nibble 0, its low nibble 1, ...
int CodeNibble(const EventRecord& record, int k) {
    const uint8_t byte = record.id[static_cast<std::size_t>(k / 2)];
    return k % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

std::string Printf(const char* format, unsigned value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Who locked or unlocked a channel.
std::string SourceText(uint8_t mod) {
    const int high = mod >> 4;
    if ((mod & 0x08) != 0) {
        return "Transmitter " + std::to_string(high);
    }
    switch (high) {
    case 0:
        return "Activated at panel";
    case 6:
        return "Priority Access";
    case 7:
        return "Activated by PC";
    default:
        return "Manual";
    }
}

// Which obstacle transmitter, and what is wrong with it.
const char* ObstacleDetail(uint8_t mod) {
    switch (mod) {
    case 0:
        return "#1";
    case 1:
        return "#2";
    case 2:
        return "#1 Trouble";
    case 3:
        return "#2 Trouble";
    case 4:
        return "#1 Low Battery";
    case 5:
        return "#2 Low Battery";
    case 8:
        return "#1 Status Exception";
    case 9:
        return "#2 Status Exception";
    default:
        return "";
    }
}

const char* SystemModeText(uint8_t mod) {
    switch (mod) {
    case 0:
        return "System Power Up";
    case 1:
        return "Console Enter Programming Mode";
    case 2:
        return "Console Exit Programming Mode";
    case 3:
        return "Programming Mode Timed Out";
    case 4:
        return "Remote Access Programming Mode";
    default:
        return nullptr;
    }
}

const char* LockOpenText(uint8_t mod) {
    if ((mod & 0x80) != 0) {
        return "Postal Lock Open";
    }
    switch (mod >> 4 & 7) {
    case 0:
        return "Request to exit";
    case 7:
        return "PC Command";
    default:
        return "Lock Open Request";
    }
}

// The words, then the detail after the separator when there is one.
void SetEvent(EventLine& line, std::string words, std::string detail = {},
              const char* separator = " ") {
    line.words = std::move(words);
    line.detail = std::move(detail);
    line.eventText = line.words;
    if (!line.detail.empty()) {
        line.eventText += separator;
        line.eventText += line.detail;
    }
}

void SetCode(EventLine& line, std::string code, EventCode kind) {
    line.code = std::move(code);
    line.codeKind = kind;
}

int EmergencyChannel(uint8_t mod) {
    switch (mod & 0x0F) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return -1;
    }
}

} // namespace

EventDecoder::EventDecoder(const MemoryModule& image, const DirectoryList& directory) {
    for (int c = 0; c < 4; ++c) {
        channelNames_[static_cast<std::size_t>(c)] = image.GetChannelName(c);
    }
    // The first entry of a code is the one a call reaches.
    for (std::size_t i = 0; i < directory.Count(); ++i) {
        tenantNames_.try_emplace(directory.At(i).code, directory.At(i).name);
    }
}

void EventDecoder::SetChannel(EventLine& line, int channel) const {
    line.channel = channel;
    line.channelName = channel >= 0 && channel < 4
                           ? channelNames_[static_cast<std::size_t>(channel)]
                           : std::string();
}

EventLine EventDecoder::Decode(const EventRecord& record) const {
    EventLine line;
    line.timestamp = record.Timestamp();
    line.producesLine = true;
    const uint8_t mod = record.mod;
    switch (record.type) {
    case 1:
        SetEvent(line, "System Error");
        break;
    case 2:
        SetEvent(line, "Obstacle Transmitter", ObstacleDetail(mod));
        break;
    case 3:
        if (const char* text = SystemModeText(mod)) {
            SetEvent(line, text);
        } else {
            line.producesLine = false;
        }
        break;
    case 4:
        DecodeAccessGrant(record, line);
        break;
    case 5:
        SetEvent(line, (mod & 0x04) != 0 ? "Channel Locked Closed" : "Channel Locked Open",
                 SourceText(mod), ", ");
        SetChannel(line, mod & 3);
        break;
    case 6:
        SetEvent(line, "Channel Unlocked", SourceText(mod));
        SetChannel(line, mod & 3);
        break;
    case 7:
        SetEvent(line, LockOpenText(mod));
        SetChannel(line, mod & 3);
        break;
    case 8:
        SetEvent(line, "System Error",
                 mod == 2   ? "Out of Memory"
                 : mod == 3 ? "EEPROM Write Failure"
                            : "");
        break;
    case 9:
        if ((record.ctx & 0x0F) == 0) {
            line.producesLine = false;
            break;
        }
        SetEvent(line, Printf("Time Zone %u", record.ctx & 0x0Fu));
        line.action = (record.ctx & 0x80) != 0 ? EventAction::Close : EventAction::Open;
        // Whether the zone opened or closed the channel is all the record adds to its words; the
        // report says it in the action column.
        line.detail = line.action == EventAction::Close ? "Close" : "Open";
        SetChannel(line, mod);
        break;
    case 10:
        SetEvent(line, (mod & 0x80) != 0 ? "Door Alarm Off" : "Door Alarm On");
        SetChannel(line, mod & 3);
        break;
    case 11:
        DecodeTelephoneCall(record, line);
        break;
    case 12:
        SetEvent(line, "Emergency Lock Open");
        SetChannel(line, EmergencyChannel(mod));
        break;
    case 14:
        DecodeDenial(record, line);
        break;
    case 15:
        SetEvent(line, "Time Set");
        break;
    default: // 0, 13 and 16 to 255 are no events
        line.producesLine = false;
        break;
    }
    return line;
}

void EventDecoder::DecodeAccessGrant(const EventRecord& record, EventLine& line) const {
    const uint8_t mod = record.mod;
    const unsigned number = record.Number16();
    line.action = EventAction::Open;
    SetChannel(line, mod & 3);
    switch (mod >> 4) {
    case 0:
        line.words = "Single Transmitter";
        line.deviceType = kSingleTransmitter;
        break;
    case 2:
        line.words = "Block Transmitter";
        line.deviceType = kBlockTransmitter;
        break;
    case 6:
        line.words = "Block Card";
        line.deviceType = kBlockCard;
        break;
    case 4: {
        // The code's digits are stored last digit first; a count beyond the eight nibbles the
        // record holds is cut to eight.
        const int count = std::min(record.ctx & 0x0F, 8);
        std::string code;
        int64_t value = 0;
        for (int k = count - 1; k >= 0; --k) {
            const int nibble = CodeNibble(record, k);
            code += static_cast<char>('0' + nibble);
            value = value * 10 + nibble;
        }
        line.words = "Entry Code";
        SetCode(line, std::move(code), EventCode::Digits);
        line.deviceType = kEntryCodeDevice;
        line.deviceNumber = value;
        break;
    }
    default:
        line.words = "Access Grant";
        break;
    }
    if (line.deviceType != kNoDevice && line.deviceType != kEntryCodeDevice) {
        SetCode(line, std::to_string(number), EventCode::Number);
        line.deviceNumber = number;
    }
    line.eventText = line.words;
    if (line.codeKind != EventCode::None) {
        line.eventText += ' ';
        line.eventText += line.code;
    }
    if ((mod & 0x04) != 0) {
        line.detail = "Access Denied";
        line.eventText += "  ";
        line.eventText += line.detail;
    }
}

void EventDecoder::DecodeDenial(const EventRecord& record, EventLine& line) const {
    // The high nibble says denied or unknown, the low one what was shown; any other modifier has
    // an empty event text, but still a line.
    static constexpr const char* kShown[] = {"Transmitter", "Card", "Entry Code"};
    const int family = record.mod >> 4;
    const int shown = record.mod & 0x0F;
    if ((family != 2 && family != 3) || shown > 2) {
        return;
    }
    line.words = family == 2 ? "Access denied, " : "Unknown ";
    line.words += kShown[shown];
    if (shown == 2) {
        // Unused nibbles hold 15 and are left out; the last one always counts.
        std::string code;
        for (int k = 7; k >= 0; --k) {
            const int nibble = CodeNibble(record, k);
            if (nibble != 15 || k == 0) {
                code += static_cast<char>('0' + nibble);
            }
        }
        SetCode(line, std::move(code), EventCode::Digits);
    } else {
        SetCode(line, std::to_string(record.Number16()), EventCode::Number);
    }
    line.eventText = line.words;
    line.eventText += " [";
    line.eventText += line.code;
    line.eventText += ']';
}

void EventDecoder::DecodeTelephoneCall(const EventRecord& record, EventLine& line) const {
    const uint16_t code = record.Number16();
    const auto tenant = tenantNames_.find(code);
    line.name = tenant != tenantNames_.end() ? tenant->second : std::string();
    line.words = "Phone";
    SetCode(line, std::to_string(code), EventCode::Number);
    line.eventText = line.words;
    line.eventText += Printf(" [%04u] ", code);
    line.eventText += line.name;
    if ((record.mod & 0x80) != 0) {
        SetChannel(line, record.mod & 3);
    } else {
        line.detail = "Dial in";
        line.eventText += " [";
        line.eventText += line.detail;
        line.eventText += ']';
    }
    line.deviceNumber = code;
}

} // namespace tolvane
