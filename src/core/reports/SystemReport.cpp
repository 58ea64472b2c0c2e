#include "reports/SystemReport.h"

#include "image/MemoryModule.h"
#include "reports/SystemSettings.h"

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

void AppendMemoryAndCodes(std::string& text, const MemoryModule& image,
                          const SystemSettings& settings) {
    auto row = [&](const char* left, const std::string& leftValue, const SystemField& right) {
        Append(text, "%25s: %s %35s: %s\n", left, leftValue.c_str(), right.label.c_str(),
               right.value.c_str());
    };
    auto pages = [&image](int chain) {
        char count[8];
        std::snprintf(count, sizeof count, "%03u", unsigned{image.GetChainPageCount(chain)});
        return std::string(count);
    };
    row(settings.totalPages.label.c_str(), settings.totalPages.value, settings.siteCode);
    row("Used by System", "002", settings.transmitterFacilityCode);
    row("Used by Single Txmtr", pages(kSingleTransmitterChain), settings.cardFacilityCodes[0]);
    row("Used by Block Txmtr", pages(kBlockTransmitterChain), settings.cardFacilityCodes[1]);
    row("Used by Entry Codes", pages(kEntryCodeChain), settings.cardFacilityCodes[2]);
    row("Used by Block Cards", pages(kBlockCardChain), settings.cardFacilityCodes[3]);
    row("Used by Telephone Entry", pages(kDirectoryChain), settings.maximumDirectoryCodes);
    row("Used by Transaction Log", pages(kEventLogChain), settings.maximumTransactionEntries);
    char free[16];
    std::snprintf(free, sizeof free, "%03u", static_cast<unsigned>(image.GetFreePageCount()));
    row("Free System Memory Pages", free, settings.alarmCutoffTime);
    Append(text, "%25s: %-8s %30s: %-8s\n", settings.localPassword.label.c_str(),
           settings.localPassword.value.c_str(), settings.remotePassword.label.c_str(),
           settings.remotePassword.value.c_str());
}

void AppendAccessOutput(std::string& text, const SystemSettings& settings) {
    auto row = [&](const char* format, const SystemField& left, const SystemField& right) {
        Append(text, format, left.label.c_str(), left.value.c_str(), right.label.c_str(),
               right.value.c_str());
    };
    row("%25s: %-12s %22s: %s\n", settings.accOutFormat, settings.defaultButtons[0]);
    row("%25s: %s %33s: %s\n", settings.accOutFacilityCode, settings.defaultButtons[1]);
    row("%25s: %-12s %22s: %s\n", settings.accOutMode, settings.defaultButtons[2]);
    row("%25s: %-12s %22s: %s\n", settings.accOutButtonOffset, settings.defaultButtons[3]);
}

void AppendRelays(std::string& text, const SystemSettings& settings) {
    Append(text, "%-17s  %s  %s  %s  %s\n", "Relays:", "Channel [A]", "Channel [B]", "Channel [C]",
           "Channel [D]");
    auto row = [&](const std::string& heading, const char* format,
                   const SystemSettings::PerChannel<SystemField>& fields) {
        Append(text, format, heading.c_str(), fields[0].value.c_str(), fields[1].value.c_str(),
               fields[2].value.c_str(), fields[3].value.c_str());
    };
    const char* kNameColumns = "%17s:   %-12s %-12s %-12s %-12s\n";
    row("Operation", kNameColumns, settings.relayOperations);
    row("Activation Time", "%17s:   %s        %s        %s        %s\n",
        settings.relayActivationTimes);
    for (std::size_t slot = 0; slot < settings.relayTimeZones.size(); ++slot) {
        row("Time Zone[" + std::to_string(slot + 1) + "]",
            "%17s:   %s           %s           %s           %s\n", settings.relayTimeZones[slot]);
    }
    row("Telephone Digit", kNameColumns, settings.relayTelephoneDigits);
    for (const SystemField& name : settings.channelNames) {
        text += name.label + " :   " + name.value + "\n";
    }
}

void AppendValidationGroups(std::string& text, std::span<const uint8_t> system,
                            const SystemSettings& settings) {
    text += "Val Group   Door Schd              Time Zone               Anti Psbk   Cntrl Grp\n";
    for (unsigned g = 1; g <= 15; ++g) {
        const auto record = system.subspan(kValidationGroups + kValidationGroupSize * g);
        Append(text, " VG[%02u]       DS[%02u]    TZ1[%02u] TZ2[%02u] TZ3[%02u] TZ4[%02u]    ", g,
               unsigned{record[0]}, unsigned{record[1]}, unsigned{record[2]}, unsigned{record[3]},
               unsigned{record[4]});
        text += (record[5] & 0x80) != 0 ? "Timed       " : "None        ";
        text += "CG[";
        text += settings.controlGroups[g - 1].value;
        text += "]\n";
    }
    text += "\nVal Group   Channel [A]      Channel [B]      Channel [C]      Channel [D]\n";
    for (unsigned g = 1; g <= 15; ++g) {
        Append(text, " VG[%02u]       ", g);
        for (const SystemField& button : settings.groupButtons[g - 1]) {
            Append(text, "%-16s ", button.value.c_str());
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
    const SystemSettings settings = SystemSettings::Read(image);
    text += settings.titles[0].value + " " + settings.titles[1].value + "\n\n";
    text += "System Phone Number:  " + phoneNumberText + "\n\n";
    Append(text, "%s:  %-30s %s:  %s\n\n", settings.installation.label.c_str(),
           settings.installation.value.c_str(), settings.unit.label.c_str(),
           settings.unit.value.c_str());
    AppendMemoryAndCodes(text, image, settings);
    text += "\n";
    AppendAccessOutput(text, settings);
    text += "\n";
    AppendRelays(text, settings);
    text += "\n";
    const auto system = image.GetSystemArea();
    AppendValidationGroups(text, system, settings);
    text += "\n";
    AppendTimeZones(text, system);
    text += "\n";
    AppendDoorSchedules(text, system);
    text += "\n";
    return text;
}

} // namespace tolvane
