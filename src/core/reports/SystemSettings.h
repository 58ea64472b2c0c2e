// The settings of the system area that the system report prints, each read once into the text the
// report shows for it (zero-padded numbers, button and relay names, trimmed names) under a label
// in the report's own words. The report lays these values out on its page; the comparison of two
// images compares them one by one, so a value differs there exactly when its report text would.
#pragma once

#include "config/SystemTables.h"

#include <array>
#include <string>
#include <vector>

namespace tolvane {

class MemoryModule;

struct SystemField {
    std::string label;
    std::string value;
};

struct SystemSettings {
    template <typename T> using PerChannel = std::array<T, kChannels>;

    std::array<SystemField, 2> titles; // the name page's slots 0 and 1
    SystemField installation;
    SystemField unit;
    SystemField totalPages;
    SystemField siteCode;
    SystemField transmitterFacilityCode;
    std::array<SystemField, 4> cardFacilityCodes;
    SystemField maximumDirectoryCodes;
    SystemField maximumTransactionEntries;
    SystemField alarmCutoffTime;
    SystemField localPassword;
    SystemField remotePassword;
    SystemField accOutFormat;
    SystemField accOutFacilityCode;
    SystemField accOutMode;
    SystemField accOutButtonOffset;
    PerChannel<SystemField> defaultButtons;
    PerChannel<SystemField> relayOperations;
    PerChannel<SystemField> relayActivationTimes;
    std::array<PerChannel<SystemField>, 4> relayTimeZones; // [slot][channel]
    PerChannel<SystemField> relayTelephoneDigits;
    PerChannel<SystemField> channelNames;
    // What no list of the configuration holds of a validation group: its control group and the
    // button position of each channel. Index g holds group g + 1.
    std::array<SystemField, kTableEntries> controlGroups;
    std::array<PerChannel<SystemField>, kTableEntries> groupButtons;

    static SystemSettings Read(const MemoryModule& image);
    // Every field, in the order the report prints them.
    std::vector<const SystemField*> All() const;
};

} // namespace tolvane
