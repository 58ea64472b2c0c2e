#include "reports/SystemReport.h"

#include "image/MemoryModule.h"

#include <array>
#include <climits>
#include <cstdarg>
#include <cstdio>

namespace tolvane {

using namespace layout;

namespace {

// Appends one printf-formatted piece to the report.
void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string& text, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0) {
        text.append(buffer,
                    std::min<std::size_t>(static_cast<std::size_t>(length), sizeof buffer - 1));
    }
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

void AppendMemoryAndCodes(std::string& text, const MemoryModule& image) {
    const char* kLabel = "%25s: %03u %35s: ";
    auto row = [&](const char* left, unsigned leftValue, const char* right, const char* valueFormat,
                   unsigned rightValue) {
        Append(text, kLabel, left, leftValue, right);
        Append(text, valueFormat, rightValue);
    };
    row("Total System Memory Pages", TotalPages(image.GetSizeCode()), "System Site Code", "%05u\n",
        image.GetSystemSiteCode());
    row("Used by System", 2, "Txmtr. Facility Code", "%02u\n", image.GetTransmitterFacilityCode());
    row("Used by Single Txmtr", image.GetChainPageCount(kSingleTransmitterChain),
        "Card Facility Code[1]", "%03u\n", image.GetCardFacilityCode(0));
    row("Used by Block Txmtr", image.GetChainPageCount(kBlockTransmitterChain),
        "Card Facility Code[2]", "%03u\n", image.GetCardFacilityCode(1));
    row("Used by Entry Codes", image.GetChainPageCount(kEntryCodeChain), "Card Facility Code[3]",
        "%03u\n", image.GetCardFacilityCode(2));
    row("Used by Block Cards", image.GetChainPageCount(kBlockCardChain), "Card Facility Code[4]",
        "%03u\n", image.GetCardFacilityCode(3));
    row("Used by Telephone Entry", image.GetChainPageCount(kDirectoryChain),
        "Maximum # of Directory Codes", "%04u\n", image.GetMaximumDirectoryCodes());
    row("Used by Transaction Log", image.GetChainPageCount(kEventLogChain),
        "Maximum Transaction Entries", "%05u\n", image.GetMaximumTransactionEntries());
    row("Free System Memory Pages", static_cast<unsigned>(image.GetFreePageCount()),
        "Alarm Cutoff Time", "%03u\n", image.GetAlarmCutoffTime());
    Append(text, "%25s: %-8s %30s: %-8s\n", "Local Password", image.GetLocalPassword().c_str(),
           "Remote Password", image.GetRemotePassword().c_str());
}

void AppendAccessOutput(std::string& text, const MemoryModule& image) {
    const uint8_t format = image.GetAccOutFormat();
    const uint8_t mode = image.GetAccOutMode();
    Append(text, "%25s: %-12s %22s: %s\n", "AccOut Format",
           format == 1   ? "Wiegand 26"
           : format == 2 ? "Varko 30"
                         : "OFF",
           "Default Button Channel [A]", ButtonName(image.GetDefaultButton(0)));
    Append(text, "%25s: %05u %33s: %s\n", "AccOut Facility Code",
           unsigned{image.GetAccOutFacilityCode()}, "Default Button Channel [B]",
           ButtonName(image.GetDefaultButton(1)));
    Append(text, "%25s: %-12s %22s: %s\n", "AccOut Mode",
           mode == 1   ? "Transmitter Id"
           : mode == 2 ? "Sequence Id"
                       : "Validation",
           "Default Button Channel [C]", ButtonName(image.GetDefaultButton(2)));
    Append(text, "%25s: %-12s %22s: %s\n", "AccOut Button Offset",
           image.GetAccOutButtonOffset() ? "YES" : "NO", "Default Button Channel [D]",
           ButtonName(image.GetDefaultButton(3)));
}

void AppendRelays(std::string& text, const MemoryModule& image) {
    Append(text, "%-17s  %s  %s  %s  %s\n", "Relays:", "Channel [A]", "Channel [B]", "Channel [C]",
           "Channel [D]");
    Append(text, "%17s:   %-12s %-12s %-12s %-12s\n", "Operation",
           RelayOperationName(image.GetRelayOperation(0)),
           RelayOperationName(image.GetRelayOperation(1)),
           RelayOperationName(image.GetRelayOperation(2)),
           RelayOperationName(image.GetRelayOperation(3)));
    Append(text, "%17s:   %05u        %05u        %05u        %05u\n", "Activation Time",
           unsigned{image.GetRelayActivationTime(0)}, unsigned{image.GetRelayActivationTime(1)},
           unsigned{image.GetRelayActivationTime(2)}, unsigned{image.GetRelayActivationTime(3)});
    for (int slot = 0; slot < 4; ++slot) {
        Append(text, "     Time Zone[%u]:   %02u           %02u           %02u           %02u\n",
               static_cast<unsigned>(slot + 1), unsigned{image.GetRelayTimeZone(0, slot)},
               unsigned{image.GetRelayTimeZone(1, slot)}, unsigned{image.GetRelayTimeZone(2, slot)},
               unsigned{image.GetRelayTimeZone(3, slot)});
    }
    Append(text, "%17s:   %-12s %-12s %-12s %-12s\n", "Telephone Digit",
           TelephoneDigitText(image.GetRelayTelephoneDigit(0)).c_str(),
           TelephoneDigitText(image.GetRelayTelephoneDigit(1)).c_str(),
           TelephoneDigitText(image.GetRelayTelephoneDigit(2)).c_str(),
           TelephoneDigitText(image.GetRelayTelephoneDigit(3)).c_str());
    for (int c = 0; c < 4; ++c) {
        Append(text, "Channel [%c] Name :   ", 'A' + c);
        text += image.GetChannelName(c) + "\n";
    }
}

void AppendValidationGroups(std::string& text, std::span<const uint8_t> system) {
    text += "Val Group   Door Schd              Time Zone               Anti Psbk   Cntrl Grp\n";
    for (unsigned g = 1; g <= 15; ++g) {
        const auto record = system.subspan(kValidationGroups + kValidationGroupSize * g);
        Append(text, " VG[%02u]       DS[%02u]    TZ1[%02u] TZ2[%02u] TZ3[%02u] TZ4[%02u]    ", g,
               unsigned{record[0]}, unsigned{record[1]}, unsigned{record[2]}, unsigned{record[3]},
               unsigned{record[4]});
        text += (record[5] & 0x80) != 0 ? "Timed       " : "None        ";
        Append(text, "CG[%02u]\n", record[5] & 0x3Fu);
    }
    text += "\nVal Group   Channel [A]      Channel [B]      Channel [C]      Channel [D]\n";
    for (unsigned g = 1; g <= 15; ++g) {
        const auto record = system.subspan(kValidationGroups + kValidationGroupSize * g);
        Append(text, " VG[%02u]       ", g);
        // Channels A and B share byte 6, C and D byte 7, the first of each pair high.
        for (std::size_t c = 0; c < 4; ++c) {
            const uint8_t byte = record[6 + c / 2];
            Append(text, "%-16s ", ButtonName(c % 2 == 0 ? byte >> 4 : byte & 0x0Fu));
        }
        text += "\n";
    }
}

void AppendTimeZones(std::string& text, std::span<const uint8_t> system) {
    text += "Time Zone SMTWTFSH    Period 1      Period 2      Period 3      Period 4\n";
    for (unsigned t = 1; t <= 15; ++t) {
        const auto record = system.subspan(kTimeZones + kTimeZoneSize * t, kTimeZoneSize);
        Append(text, "TX[%02u]    ", t);
        for (int day = 0; day < 8; ++day) {
            text += (record[1] >> day & 1) != 0 ? 'N' : 'Y';
        }
        for (std::size_t p = 4; p < 20; p += 4) {
            Append(text, "   %02u:%02u-%02u:%02u", unsigned{record[p]}, unsigned{record[p + 1]},
                   unsigned{record[p + 2]}, unsigned{record[p + 3]});
        }
        text += "\n";
    }
}

void AppendDoorSchedules(std::string& text, std::span<const uint8_t> system) {
    text += "Door Schedule  Chan [A]  Chan [B]  Chan [C]  Chan [D]\n";
    for (unsigned d = 1; d <= 15; ++d) {
        const uint8_t byte = system[kDoorSchedules + d];
        Append(text, "DS[%.2u]            ", d);
        for (int channel = 0; channel < 3; ++channel) {
            text += (byte >> channel & 1) != 0 ? "NO        " : "YES       ";
        }
        text += (byte & 0x08) != 0 ? "NO \n" : "YES \n";
    }
}

} // namespace

std::string SystemPhoneNumberText(const std::string& country, const std::string& area,
                                  const std::string& phone) {
    if (area.empty()) {
        return phone;
    }
    return country + " (" + area + ")" + phone;
}

std::string BuildSystemReport(const MemoryModule& image, const std::string& phoneNumberText) {
    std::string text;
    text.reserve(8192);
    text += NamePageText(image, 0) + " " + NamePageText(image, 1) + "\n\n";
    text += "System Phone Number:  " + phoneNumberText + "\n\n";
    Append(text, "Installation:  %-30s Varko:  %s\n\n", image.GetInstallationName().c_str(),
           image.GetUnitName().c_str());
    AppendMemoryAndCodes(text, image);
    text += "\n";
    AppendAccessOutput(text, image);
    text += "\n";
    AppendRelays(text, image);
    text += "\n";
    const auto system = image.GetSystemArea();
    AppendValidationGroups(text, system);
    text += "\n";
    AppendTimeZones(text, system);
    text += "\n";
    AppendDoorSchedules(text, system);
    text += "\n";
    return text;
}

} // namespace tolvane
