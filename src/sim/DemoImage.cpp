#include "DemoImage.h"

#include "ImageBuilder.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"

#include <array>
#include <string>

namespace tolvane {

using namespace layout;

namespace {

// A small fixed-seed generator, so the demo is the same bytes on every machine.
class DemoRandom {
public:
    int Next(int bound) {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) % static_cast<uint32_t>(bound));
    }

private:
    uint32_t state_ = 20261206u;
};

void FillSettings(ImageBuilder& image) {
    image.Byte(kAccOutButtonOffset, 1)
        .Byte(kAccOutFormat, 1)
        .Byte(kAccOutFacilityCode, 42)
        .Byte(kAccOutMode, 2)
        .Byte(kTransmitterFacilityCode, 17)
        .BE16(kSystemSiteCode, 4711)
        .Byte(kAlarmCutoffTime, 30)
        .BE16(kMaximumTransactionEntries, 504);
    const std::array<uint8_t, 4> defaultButtons{1, 2, 3, 9};
    const std::array<uint8_t, 4> cardFacilities{10, 11, 12, 200};
    for (std::size_t c = 0; c < 4; ++c) {
        image.Byte(kDefaultButton + c, defaultButtons[c]);
        image.Byte(kCardFacilityCode + c, cardFacilities[c]);
    }
    const std::string local = "1357";
    const std::string remote = "246810";
    for (std::size_t i = 0; i < local.size(); ++i) {
        image.Byte(kLocalPassword + i, static_cast<uint8_t>(local[i]));
    }
    for (std::size_t i = 0; i < remote.size(); ++i) {
        image.Byte(kRemotePassword + i, static_cast<uint8_t>(remote[i]));
    }
    // Relay operation in the low nibble, telephone digit in the high one (10 stands for 0).
    const std::array<uint8_t, 4> relays{0x10, 0x21, 0xA2, 0x04};
    const std::array<uint16_t, 4> activation{5, 10, 300, 0};
    const std::array<std::array<uint8_t, 2>, 4> relayZones{
        {{0x12, 0x00}, {0x13, 0x40}, {0x00, 0x00}, {0x56, 0x78}}};
    for (std::size_t c = 0; c < 4; ++c) {
        image.Byte(kRelay + kRelayStride * c, relays[c]);
        image.BE16(kRelayActivationTime + kRelayStride * c, activation[c]);
        image.Byte(kRelayTimeZones + kRelayStride * c, relayZones[c][0]);
        image.Byte(kRelayTimeZones + kRelayStride * c + 1, relayZones[c][1]);
    }
    image.Name(kInstallationName, "Harbour View Apartments").Name(kUnitName, "North Gate Unit");
    const std::array<const char*, 4> channels{"Main Gate", "Pedestrian Door", "Garage Door",
                                              "Service Entrance"};
    for (std::size_t c = 0; c < 4; ++c) {
        image.Name(kChannelNames + kNameSize * c, channels[c]);
    }
    // What only the unit sets in the validation group records: control groups and the buttons
    // that each group may use on channels A to D.
    for (std::size_t g = 1; g <= 15; ++g) {
        const std::size_t record = kValidationGroups + kValidationGroupSize * g;
        image.Byte(record + 5, static_cast<uint8_t>(g % 4));
        image.Byte(record + 6, static_cast<uint8_t>((g % 10) << 4 | ((g + 1) % 10)));
        image.Byte(record + 7, static_cast<uint8_t>(((g + 2) % 10) << 4 | (g + 3) % 10));
    }
}

void FillTables(UnitConfiguration& unit) {
    for (int i = 0; i < kTableEntries; ++i) {
        unit.validationGroups.doorSchedule[i] = static_cast<uint8_t>(i % 5 + 1);
        unit.validationGroups.timeZone[0][i] = static_cast<uint8_t>(i % 3 + 1);
        unit.validationGroups.timeZone[1][i] = static_cast<uint8_t>(i < 5 ? 4 : 0);
        unit.validationGroups.timeZone[2][i] = 0;
        unit.validationGroups.timeZone[3][i] = static_cast<uint8_t>(i == 14 ? 15 : 0);
        unit.validationGroups.antiPassback[i] = i % 4 == 3 ? 1 : 0;
        for (int c = 0; c < kChannels; ++c) {
            // Schedule 1 opens everything, the others a mix of the four channels.
            unit.doorSchedules.channel[c][i] = i == 0 || ((i + 1) >> c & 1) != 0 ? 1 : 0;
        }
    }
    struct Zone {
        uint8_t excludedDays; // Sunday = bit 0 ... Holiday = bit 7
        std::array<std::array<uint8_t, 4>, 4> periods;
    };
    const std::array<Zone, 5> zones{{
        {0x00, {{{0, 0, 23, 59}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}},
        {0xC1, {{{7, 0, 18, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}},
        {0x3E, {{{9, 0, 13, 0}, {14, 0, 17, 30}, {0, 0, 0, 0}, {0, 0, 0, 0}}}},
        {0x80, {{{6, 30, 8, 30}, {11, 45, 13, 15}, {16, 0, 19, 0}, {21, 0, 22, 0}}}},
        {0xFF, {{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}},
    }};
    for (int t = 0; t < kTableEntries; ++t) {
        const Zone& zone = zones[static_cast<std::size_t>(t) % zones.size()];
        TimeZone& target = unit.timeZones[t];
        for (int d = 0; d < kTimeZoneDays; ++d) {
            target.dayExcluded[d] = zone.excludedDays >> d & 1;
        }
        for (int p = 0; p < kTimeZonePeriods; ++p) {
            target.startHour[p] = zone.periods[p][0];
            target.startMinute[p] = zone.periods[p][1];
            target.endHour[p] = zone.periods[p][2];
            target.endMinute[p] = zone.periods[p][3];
        }
    }
    const std::array<std::array<uint8_t, 2>, 7> holidays{
        {{1, 1}, {5, 25}, {7, 4}, {9, 7}, {11, 26}, {12, 24}, {12, 25}}};
    for (std::size_t h = 0; h < holidays.size(); ++h) {
        unit.holidays.month[h] = holidays[h][0];
        unit.holidays.day[h] = holidays[h][1];
    }
    const std::array<std::array<uint8_t, 3>, 4> expiring{
        {{36, 11, 27}, {36, 12, 31}, {37, 4, 3}, {37, 11, 26}}};
    for (std::size_t h = 0; h < expiring.size(); ++h) {
        unit.expiringHolidays.year[h] = expiring[h][0];
        unit.expiringHolidays.month[h] = expiring[h][1];
        unit.expiringHolidays.day[h] = expiring[h][2];
    }
}

void FillCodes(UnitConfiguration& unit, DemoRandom& random) {
    for (int i = 0; i < 40; ++i) {
        EntryCode code;
        code.digitCount = static_cast<uint8_t>(4 + random.Next(5));
        for (int d = 0; d < code.digitCount; ++d) {
            code.digits[static_cast<std::size_t>(d)] = static_cast<uint8_t>(random.Next(10));
        }
        code.validationGroup = static_cast<uint16_t>(1 + random.Next(6));
        code.active = i % 9 == 4 ? 0 : 1;
        unit.entryCodes.push_back(code);
    }
    // Residents' remotes, a 10,000-code batch for the garage (more than one page holds) and a
    // service batch; a handful of lost remotes suspended.
    unit.blockTransmitters.ranges = {{1000, 1499, 1}, {20000, 29999, 2}, {30000, 30049, 5}};
    unit.blockTransmitters.suspended = {1007, 1312, 20500, 28064, 28065, 30049};
    unit.blockCards.ranges = {{500, 799, 3}, {40000, 40199, 4}};
    unit.blockCards.suspended = {512, 640, 40100};
}

void FillDirectory(UnitConfiguration& unit) {
    struct Tenant {
        uint16_t code;
        const char* name;
        const char* phone;
        bool extendedTalk;
    };
    const std::array<Tenant, 25> tenants{{
        {101, "ABERNATHY, R", "5551201", false},
        {102, "BALDWIN, S", "5551202", false},
        {103, "Castellano, M", "6175551203", true},
        {104, "DUBOIS, A", "5551204", false},
        {105, "ESPOSITO, L", "16175551205", false},
        {106, "FAIRWEATHER, J", "5551206", false},
        {107, "GRUNDY, P", "5551207", false},
        {108, "HOLLOWAY, K", "6175551208", false},
        {109, "IBARRA, C", "5551209", true},
        {110, "JANSSEN, E", "5551210", false},
        {111, "KOWALSKI, T", "5551211", false},
        {112, "LINDQVIST, H", "6175551212", false},
        {113, "MANAGER OFFICE", "5551200", true},
        {114, "NAKAMURA, Y", "5551214", false},
        {115, "OKONKWO, B", "5551215", false},
        {116, "PETROVA, I", "16175551216", false},
        {117, "QUINLAN, D", "5551217", false},
        {118, "ROSSI, G", "5551218", false},
        {119, "SUNDARAM, V", "6175551219", false},
        {120, "TREMBLAY, N", "5551220", false},
        {121, "URQUHART, F", "5551221", false},
        {122, "VANTERPOOL, O", "5551222", false},
        {123, "WEXLER-HOLMGREN, CATHERIN", "5551223", false},
        {124, "YILMAZ, E", "555", false},
        {125, "ZIELINSKI, W", "", false},
    }};
    for (const Tenant& tenant : tenants) {
        auto entry = std::make_unique<DirectoryEntry>();
        entry->code = tenant.code;
        entry->name = tenant.name;
        for (const char* digit = tenant.phone; *digit != '\0'; ++digit) {
            entry->digits[entry->digitCount++] = static_cast<uint16_t>(*digit - '0');
        }
        entry->extendedTalk = tenant.extendedTalk ? 1 : 0;
        unit.directory.Append(std::move(entry));
    }
}

// One record of every kind the unit writes, with the modifiers each kind knows.
struct EventKind {
    uint8_t type;
    uint8_t mod;
    uint8_t context;
    uint16_t number; // bytes 5-6; entry codes use the nibbles below instead
    std::array<uint8_t, 4> nibbles;
};

std::vector<EventKind> EventKinds() {
    std::vector<EventKind> kinds = {
        {1, 0, 0, 0, {}},
        {3, 0, 0, 0, {}},
        {3, 1, 0, 0, {}},
        {3, 2, 0, 0, {}},
        {3, 3, 0, 0, {}},
        {3, 4, 0, 0, {}},
        {4, 0x00, 0, 1234, {}},
        {4, 0x21, 0, 1042, {}},
        {4, 0x22, 0, 25000, {}},
        {4, 0x63, 0, 612, {}},
        {4, 0x60, 0, 40100, {}},
        {4, 0x25, 0, 1312, {}},
        {4, 0x40, 4, 0, {0x12, 0x34, 0, 0}},
        {4, 0x41, 6, 0, {0x65, 0x43, 0x21, 0}},
        {4, 0x44, 5, 0, {0x98, 0x76, 0x50, 0}},
        {4, 0x11, 0, 0, {}},
        {5, 0x00, 0, 0, {}},
        {5, 0x64, 0, 0, {}},
        {5, 0x71, 0, 0, {}},
        {5, 0x3A, 0, 0, {}},
        {5, 0x26, 0, 0, {}},
        {6, 0x00, 0, 0, {}},
        {6, 0x71, 0, 0, {}},
        {6, 0x6A, 0, 0, {}},
        {6, 0x23, 0, 0, {}},
        {7, 0x00, 0, 0, {}},
        {7, 0x71, 0, 0, {}},
        {7, 0x82, 0, 0, {}},
        {7, 0x23, 0, 0, {}},
        {8, 0, 0, 0, {}},
        {8, 2, 0, 0, {}},
        {8, 3, 0, 0, {}},
        {9, 0, 0x01, 0, {}},
        {9, 2, 0x81, 0, {}},
        {9, 1, 0x03, 0, {}},
        {9, 1, 0x83, 0, {}},
        {10, 0x01, 0, 0, {}},
        {10, 0x81, 0, 0, {}},
        {11, 0x80, 0, 113, {}},
        {11, 0x00, 0, 105, {}},
        {11, 0x82, 0, 999, {}},
        {12, 1, 0, 0, {}},
        {12, 2, 0, 0, {}},
        {12, 4, 0, 0, {}},
        {12, 8, 0, 0, {}},
        {13, 0, 0, 0, {}},
        {14, 0x20, 0, 4242, {}},
        {14, 0x21, 0, 901, {}},
        {14, 0x22, 0, 0, {0x12, 0x3F, 0xFF, 0xFF}},
        {14, 0x30, 0, 777, {}},
        {14, 0x31, 0, 65001, {}},
        {14, 0x32, 0, 0, {0x98, 0x7F, 0xFF, 0xFF}},
        {15, 0, 0, 0, {}},
    };
    for (uint8_t mod : {0, 1, 2, 3, 4, 5, 8, 9}) {
        kinds.push_back({2, mod, 0, 0, {}});
    }
    return kinds;
}

void FillEventLog(ImageBuilder& image, DemoRandom& random) {
    constexpr int kPages = 6;
    constexpr int kRecords = 460;
    image.AddEventLog(kPages);
    const std::vector<EventKind> kinds = EventKinds();
    // A year of traffic, from late November 2025 to November 2026, so the log crosses a
    // year end.
    EventTime stamp{2025, 11, 20, 6, 0, 0};
    const std::array<int, 13> monthDays{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0; i < kRecords; ++i) {
        // Every kind once in turn, then whatever the day brings, mostly granted accesses.
        const EventKind& kind = i < static_cast<int>(kinds.size())
                                    ? kinds[static_cast<std::size_t>(i)]
                                    : kinds[static_cast<std::size_t>(6 + random.Next(6))];
        std::array<uint8_t, 4> id = kind.nibbles;
        if (kind.number != 0) {
            id = {static_cast<uint8_t>(kind.number >> 8), static_cast<uint8_t>(kind.number & 0xFF),
                  0, 0};
        }
        image.AddEvent(kind.type, stamp, id, kind.mod, kind.context);

        int minutes = stamp.hour * 60 + stamp.minute + 600 + random.Next(1000);
        stamp.second = 4 * random.Next(15);
        stamp.day += minutes / 1440;
        minutes %= 1440;
        stamp.hour = minutes / 60;
        stamp.minute = minutes % 60;
        while (stamp.day > monthDays[static_cast<std::size_t>(stamp.month)]) {
            stamp.day -= monthDays[static_cast<std::size_t>(stamp.month)];
            if (++stamp.month > 12) {
                stamp.month = 1;
                ++stamp.year;
            }
        }
    }
}

} // namespace

std::vector<uint8_t> BuildDemoImage(UserServices& ui) {
    DemoRandom random;
    ImageBuilder builder(0x50);
    FillSettings(builder);
    builder.AddChain(kSingleTransmitterChain, 2);
    builder.AddDirectory(3, 60);
    builder.NamePageText(0, " HARBOUR VIEW APARTMENTS").NamePageText(1, "1200 Seaside Drive");
    FillEventLog(builder, random);

    MemoryModule image(ui);
    image.LoadBytes(builder.Bytes());
    UnitConfiguration unit;
    image.Unpack(unit); // takes the directory capacity from the image
    FillTables(unit);
    FillCodes(unit, random);
    FillDirectory(unit);
    image.Pack(unit);
    return image.GetBytes();
}

} // namespace tolvane
