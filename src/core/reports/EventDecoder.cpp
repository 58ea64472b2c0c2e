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

const char* ObstacleSuffix(uint8_t mod) {
    switch (mod) {
    case 0:
        return " #1";
    case 1:
        return " #2";
    case 2:
        return " #1 Trouble";
    case 3:
        return " #2 Trouble";
    case 4:
        return " #1 Low Battery";
    case 5:
        return " #2 Low Battery";
    case 8:
        return " #1 Status Exception";
    case 9:
        return " #2 Status Exception";
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
        line.eventText = "System Error";
        break;
    case 2:
        line.eventText = std::string("Obstacle Transmitter") + ObstacleSuffix(mod);
        break;
    case 3:
        if (const char* text = SystemModeText(mod)) {
            line.eventText = text;
        } else {
            line.producesLine = false;
        }
        break;
    case 4:
        DecodeAccessGrant(record, line);
        break;
    case 5:
        line.eventText = std::string("Channel Locked ") +
                         ((mod & 0x04) != 0 ? "Closed, " : "Open, ") + SourceText(mod);
        SetChannel(line, mod & 3);
        break;
    case 6:
        line.eventText = "Channel Unlocked " + SourceText(mod);
        SetChannel(line, mod & 3);
        break;
    case 7:
        line.eventText = LockOpenText(mod);
        SetChannel(line, mod & 3);
        break;
    case 8:
        line.eventText = std::string("System Error") + (mod == 2   ? " Out of Memory"
                                                        : mod == 3 ? " EEPROM Write Failure"
                                                                   : "");
        break;
    case 9:
        if ((record.ctx & 0x0F) == 0) {
            line.producesLine = false;
            break;
        }
        line.eventText = Printf("Time Zone %u", record.ctx & 0x0Fu);
        line.action = (record.ctx & 0x80) != 0 ? EventAction::Close : EventAction::Open;
        SetChannel(line, mod);
        break;
    case 10:
        line.eventText = (mod & 0x80) != 0 ? "Door Alarm Off" : "Door Alarm On";
        SetChannel(line, mod & 3);
        break;
    case 11:
        DecodeTelephoneCall(record, line);
        break;
    case 12:
        line.eventText = "Emergency Lock Open";
        SetChannel(line, EmergencyChannel(mod));
        break;
    case 14:
        DecodeDenial(record, line);
        break;
    case 15:
        line.eventText = "Time Set";
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
        line.eventText = Printf("Single Transmitter %u", number);
        line.deviceType = kSingleTransmitter;
        line.deviceNumber = number;
        break;
    case 2:
        line.eventText = Printf("Block Transmitter %u", number);
        line.deviceType = kBlockTransmitter;
        line.deviceNumber = number;
        break;
    case 6:
        line.eventText = Printf("Block Card %u", number);
        line.deviceType = kBlockCard;
        line.deviceNumber = number;
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
        line.eventText = "Entry Code " + code;
        line.deviceType = kEntryCodeDevice;
        line.deviceNumber = value;
        break;
    }
    default:
        line.eventText = "Access Grant";
        break;
    }
    if ((mod & 0x04) != 0) {
        line.eventText += "  Access Denied";
    }
}

void EventDecoder::DecodeDenial(const EventRecord& record, EventLine& line) const {
    // Unused nibbles hold 15 and are left out; the last one always counts.
    std::string code;
    for (int k = 7; k >= 0; --k) {
        const int nibble = CodeNibble(record, k);
        if (nibble != 15 || k == 0) {
            code += static_cast<char>('0' + nibble);
        }
    }
    const unsigned number = record.Number16();
    switch (record.mod) {
    case 0x20:
        line.eventText = Printf("Access denied, Transmitter [%d]", number);
        break;
    case 0x21:
        line.eventText = Printf("Access denied, Card [%d]", number);
        break;
    case 0x22:
        line.eventText = "Access denied, Entry Code [" + code + "]";
        break;
    case 0x30:
        line.eventText = Printf("Unknown Transmitter [%d]", number);
        break;
    case 0x31:
        line.eventText = Printf("Unknown Card [%d]", number);
        break;
    case 0x32:
        line.eventText = "Unknown Entry Code [" + code + "]";
        break;
    default:
        break; // an empty event text, but still a line
    }
}

void EventDecoder::DecodeTelephoneCall(const EventRecord& record, EventLine& line) const {
    const uint16_t code = record.Number16();
    const auto tenant = tenantNames_.find(code);
    line.name = tenant != tenantNames_.end() ? tenant->second : std::string();
    line.eventText = Printf("Phone [%04u]", code) + " " + line.name;
    if ((record.mod & 0x80) != 0) {
        SetChannel(line, record.mod & 3);
    } else {
        line.eventText += " [Dial in]";
    }
    line.deviceNumber = code;
}

} // namespace tolvane
