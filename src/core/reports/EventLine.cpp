#include "reports/EventLine.h"

#include <cstdio>

namespace tolvane {

namespace {

std::string ActionChannelText(const EventLine& line) {
    if (line.channel < 0) {
        return {};
    }
    const char* action = line.action == EventAction::Open    ? "Open   "
                         : line.action == EventAction::Close ? "Close  "
                                                             : "       ";
    std::string text = action;
    text += "Channel [";
    text += ChannelLetter(line);
    text += "]  ";
    text += line.channelName;
    return text;
}

void AppendPadded(std::string& text, const std::string& field, std::size_t width) {
    text += field;
    if (field.size() < width) {
        text.append(width - field.size(), ' ');
    }
}

} // namespace

char ChannelLetter(const EventLine& line) {
    return static_cast<char>('A' + line.channel);
}

std::string FormatEventLine(const EventLine& line) {
    // The stamp prints field by field as stored, so a damaged record shows what it holds.
    const EventTime& t = line.timestamp;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d %02d/%02d/%02d  ", t.hour, t.minute,
                  t.second, t.month, t.day, t.year % 100);
    std::string text = stamp;
    // Columns of 39 and 43; longer texts are never cut, they push the rest of the line right.
    AppendPadded(text, line.eventText, 39);
    text += ' ';
    AppendPadded(text, ActionChannelText(line), 43);
    text += '\n';
    return text;
}

} // namespace tolvane
