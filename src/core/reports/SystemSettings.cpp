#include "reports/SystemSettings.h"

#include "image/MemoryModule.h"

#include <climits>
#include <cstdio>

namespace tolvane {

using namespace layout;

namespace {

std::string Number(const char* format, unsigned value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "Channel [A]" to "Channel [D]".
std::string ChannelText(int channel) {
    std::string text = "Channel [A]";
    text[9] = static_cast<char>('A' + channel);
    return text;
}

std::string ChannelLabel(int channel, const char* what) {
    std::string label = ChannelText(channel);
    label += ' ';
    label += what;
    return label;
}

const char* ButtonName(unsigned code) {
    static constexpr std::array<const char*, 10> kNames{
        "None",       "Any",         "Left",        "Right",        "Top",
        "Top & Left", "Top & Right", "Bottom Left", "Bottom Right", "Keypad"};
    return code < kNames.size() ? kNames[code] : "None";
}

const char* RelayOperationName(unsigned code) {
    static constexpr std::array<const char*, 5> kNames{"Control", "Shunt", "Alarm", "Obstacle",
                                                       "CCTV"};
    return code < kNames.size() ? kNames[code] : "None";
}

std::string TelephoneDigitText(unsigned code) {
    if (code >= 1 && code <= 9) {
        return std::string(1, static_cast<char>('0' + code));
    }
    return code == 10 ? "0" : "None";
}

unsigned TotalPages(uint8_t sizeCode) {
    switch (sizeCode) {
    case 0x40:
        return 256;
    case 0x50:
        return 128;
    case 0x60:
        return 64;
    case 0x70:
        return 16;
    default:
        return 2;
    }
}

// Text slot n of the name page, the last page of the directory chain, blanks trimmed at both
// ends. Empty when the chain has no name page.
std::string NamePageText(const MemoryModule& image, int slot) {
    const std::vector<int> pages = image.WalkChain(kDirectoryChain, INT_MAX).pages;
    if (pages.size() < 2) {
        return {};
    }
    const auto bytes = image.GetPage(pages.back());
    const std::size_t offset =
        kNamePageRecords + kNamePageRecordSize * static_cast<std::size_t>(slot);
    std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + kNameSize));
    text = text.substr(0, text.find('\0'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void ReadValidationGroups(const MemoryModule& image, SystemSettings& settings) {
    const auto system = image.GetSystemArea();
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        const auto record = system.subspan(kValidationGroups + kValidationGroupSize * (i + 1));
        const std::string group = Number("VG[%02u]", static_cast<unsigned>(i + 1));
        settings.controlGroups[i] = {group + " Cntrl Grp", Number("%02u", record[5] & 0x3Fu)};
        // Channels A and B share byte 6, C and D byte 7, the first of each pair high.
        for (std::size_t c = 0; c < kChannels; ++c) {
            const uint8_t byte = record[6 + c / 2];
            settings.groupButtons[i][c] = {group + " " + ChannelText(static_cast<int>(c)),
                                           ButtonName(c % 2 == 0 ? byte >> 4 : byte & 0x0Fu)};
        }
    }
}

void ReadRelays(const MemoryModule& image, SystemSettings& settings) {
    for (int c = 0; c < kChannels; ++c) {
        const auto i = static_cast<std::size_t>(c);
        settings.relayOperations[i] = {ChannelLabel(c, "Operation"),
                                       RelayOperationName(image.GetRelayOperation(c))};
        settings.relayActivationTimes[i] = {ChannelLabel(c, "Activation Time"),
                                            Number("%05u", image.GetRelayActivationTime(c))};
        for (int slot = 0; slot < 4; ++slot) {
            settings.relayTimeZones[static_cast<std::size_t>(slot)][i] = {
                ChannelLabel(c, "Time Zone[") + static_cast<char>('1' + slot) + "]",
                Number("%02u", image.GetRelayTimeZone(c, slot))};
        }
        settings.relayTelephoneDigits[i] = {ChannelLabel(c, "Telephone Digit"),
                                            TelephoneDigitText(image.GetRelayTelephoneDigit(c))};
        settings.channelNames[i] = {ChannelLabel(c, "Name"), image.GetChannelName(c)};
    }
}

} // namespace

SystemSettings SystemSettings::Read(const MemoryModule& image) {
    SystemSettings s;
    s.titles = {{{"Title 1", NamePageText(image, 0)}, {"Title 2", NamePageText(image, 1)}}};
    s.installation = {"Installation", image.GetInstallationName()};
    s.unit = {"Varko", image.GetUnitName()};
    s.totalPages = {"Total System Memory Pages", Number("%03u", TotalPages(image.GetSizeCode()))};
    s.siteCode = {"System Site Code", Number("%05u", image.GetSystemSiteCode())};
    s.transmitterFacilityCode = {"Txmtr. Facility Code",
                                 Number("%02u", image.GetTransmitterFacilityCode())};
    for (int i = 0; i < 4; ++i) {
        s.cardFacilityCodes[static_cast<std::size_t>(i)] = {
            Number("Card Facility Code[%u]", static_cast<unsigned>(i + 1)),
            Number("%03u", image.GetCardFacilityCode(i))};
    }
    s.maximumDirectoryCodes = {"Maximum # of Directory Codes",
                               Number("%04u", image.GetMaximumDirectoryCodes())};
    s.maximumTransactionEntries = {"Maximum Transaction Entries",
                                   Number("%05u", image.GetMaximumTransactionEntries())};
    s.alarmCutoffTime = {"Alarm Cutoff Time", Number("%03u", image.GetAlarmCutoffTime())};
    s.localPassword = {"Local Password", image.GetLocalPassword()};
    s.remotePassword = {"Remote Password", image.GetRemotePassword()};

    const uint8_t format = image.GetAccOutFormat();
    const uint8_t mode = image.GetAccOutMode();
    s.accOutFormat = {"AccOut Format", format == 1   ? "Wiegand 26"
                                       : format == 2 ? "Varko 30"
                                                     : "OFF"};
    s.accOutFacilityCode = {"AccOut Facility Code", Number("%05u", image.GetAccOutFacilityCode())};
    s.accOutMode = {"AccOut Mode", mode == 1   ? "Transmitter Id"
                                   : mode == 2 ? "Sequence Id"
                                               : "Validation"};
    s.accOutButtonOffset = {"AccOut Button Offset", image.GetAccOutButtonOffset() ? "YES" : "NO"};
    for (int c = 0; c < kChannels; ++c) {
        s.defaultButtons[static_cast<std::size_t>(c)] = {"Default Button " + ChannelText(c),
                                                         ButtonName(image.GetDefaultButton(c))};
    }
    ReadRelays(image, s);
    ReadValidationGroups(image, s);
    return s;
}

std::vector<const SystemField*> SystemSettings::All() const {
    std::vector<const SystemField*> fields{&titles[0],  &titles[1], &installation,           &unit,
                                           &totalPages, &siteCode,  &transmitterFacilityCode};
    for (const SystemField& field : cardFacilityCodes) {
        fields.push_back(&field);
    }
    for (const SystemField* field :
         {&maximumDirectoryCodes, &maximumTransactionEntries, &alarmCutoffTime, &localPassword,
          &remotePassword, &accOutFormat, &accOutFacilityCode, &accOutMode, &accOutButtonOffset}) {
        fields.push_back(field);
    }
    auto perChannel = [&fields](const PerChannel<SystemField>& row) {
        for (const SystemField& field : row) {
            fields.push_back(&field);
        }
    };
    perChannel(defaultButtons);
    perChannel(relayOperations);
    perChannel(relayActivationTimes);
    for (const PerChannel<SystemField>& row : relayTimeZones) {
        perChannel(row);
    }
    perChannel(relayTelephoneDigits);
    perChannel(channelNames);
    for (const SystemField& field : controlGroups) {
        fields.push_back(&field);
    }
    for (const PerChannel<SystemField>& row : groupButtons) {
        perChannel(row);
    }
    return fields;
}

} // namespace tolvane
