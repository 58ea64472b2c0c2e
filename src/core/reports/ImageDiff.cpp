#include "reports/ImageDiff.h"

#include "config/EntryCodeEditor.h"
#include "config/HolidayEditor.h"
#include "config/PhoneNumberText.h"
#include "config/TimeZoneEditor.h"
#include "config/UnitConfiguration.h"
#include "reports/EventRecord.h"
#include "reports/SystemSettings.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace tolvane {

namespace {

// An item of a list as the comparison sees it: what tells it apart, what to call it and its
// values, always in the same order for every item of the list.
struct Item {
    std::pair<uint64_t, uint64_t> key;
    std::string name;
    std::vector<DiffValue> values;
};

using Items = std::vector<Item>;

const char* YesNo(bool value) {
    return value ? "yes" : "no";
}

std::string Numbered(const char* what, std::size_t index) {
    std::string name = what;
    name += ' ';
    name += std::to_string(index + 1);
    return name;
}

void SortByKey(Items& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& x, const Item& y) { return x.key < y.key; });
}

// Walks both lists in key order. Items with the same key pair up in the order they were kept in,
// so a list that holds a key twice still compares item for item.
std::vector<Difference> Compare(Items a, Items b) {
    SortByKey(a);
    SortByKey(b);
    std::vector<Difference> differences;
    auto onlyIn = [&](Item& item, DiffChange change) {
        differences.push_back({change, std::move(item.name), std::move(item.values), {}, {}, {}});
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i].key < b[j].key)) {
            onlyIn(a[i++], DiffChange::Removed);
        } else if (i == a.size() || b[j].key < a[i].key) {
            onlyIn(b[j++], DiffChange::Added);
        } else {
            const Item& before = a[i++];
            const Item& after = b[j++];
            for (std::size_t v = 0; v < after.values.size(); ++v) {
                if (before.values[v].value != after.values[v].value) {
                    differences.push_back({DiffChange::Changed,
                                           after.name,
                                           {},
                                           after.values[v].name,
                                           before.values[v].value,
                                           after.values[v].value});
                }
            }
        }
    }
    return differences;
}

Items SystemItems(const MemoryModule& image) {
    const SystemSettings settings = SystemSettings::Read(image);
    Items items;
    for (const SystemField* field : settings.All()) {
        items.push_back({{items.size(), 0}, field->label, {{"", field->value}}});
    }
    return items;
}

Items EntryCodeItems(const EntryCodeArray& codes) {
    Items items;
    items.reserve(codes.size());
    for (const EntryCode& code : codes) {
        // In the order of their numbers; the digits themselves, count included, tell apart codes
        // of the same number (42 and 0042).
        uint64_t number = 0;
        uint64_t digits = code.digitCount;
        for (int d = 0; d < std::min<int>(code.digitCount, EntryCode::kMaxDigits); ++d) {
            number = number * 10 + code.digits[static_cast<std::size_t>(d)];
            digits = digits << 4 | (code.digits[static_cast<std::size_t>(d)] & 0x0Fu);
        }
        items.push_back({{number, digits},
                         "code " + EntryCodeEditor::CodeText(code),
                         {{"group", std::to_string(code.validationGroup)},
                          {"active", YesNo(code.active != 0)}}});
    }
    return items;
}

// The ranges by their ends, then the suspended codes.
Items BlockItems(const BlockCodeList& list) {
    Items items;
    for (const BlockRange& range : list.ranges) {
        std::string name = "range ";
        name += std::to_string(range.First());
        name += '-';
        name += std::to_string(range.Last());
        items.push_back({{0, uint64_t{range.First()} << 16 | range.Last()},
                         std::move(name),
                         {{"group", std::to_string(range.ValidationGroup())}}});
    }
    for (const uint16_t code : list.suspended) {
        items.push_back({{1, code}, "suspended " + std::to_string(code), {}});
    }
    return items;
}

Items DirectoryItems(const DirectoryList& directory) {
    Items items;
    for (std::size_t i = 0; i < directory.Count(); ++i) {
        const DirectoryEntry& entry = directory.At(i);
        items.push_back({{entry.code, 0},
                         "code " + std::to_string(entry.code),
                         {{"name", entry.name},
                          {"phone", FormatPhoneNumber(entry)},
                          {"extended_talk", YesNo(entry.extendedTalk != 0)}}});
    }
    return items;
}

Items ValidationGroupItems(const ValidationGroupTable& table) {
    Items items;
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        Item item{{i, 0}, Numbered("group", i), {}};
        item.values.push_back({"door_schedule", std::to_string(table.doorSchedule[i])});
        for (std::size_t k = 0; k < table.timeZone.size(); ++k) {
            item.values.push_back(
                {"tz" + std::to_string(k + 1), std::to_string(table.timeZone[k][i])});
        }
        item.values.push_back({"anti_passback", YesNo(table.antiPassback[i] != 0)});
        items.push_back(std::move(item));
    }
    return items;
}

Items DoorScheduleItems(const DoorScheduleTable& table) {
    Items items;
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        Item item{{i, 0}, Numbered("schedule", i), {}};
        for (std::size_t c = 0; c < kChannels; ++c) {
            std::string door = "door_a";
            door.back() = static_cast<char>('a' + c);
            item.values.push_back({std::move(door), YesNo(table.channel[c][i] != 0)});
        }
        items.push_back(std::move(item));
    }
    return items;
}

Items TimeZoneItems(const TimeZoneTable& table) {
    Items items;
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        Item item{{i, 0}, Numbered("zone", i), {{"days", TimeZoneEditor::DayLetters(table[i])}}};
        for (int p = 0; p < kTimeZonePeriods; ++p) {
            item.values.push_back(
                {"period" + std::to_string(p + 1), TimeZoneEditor::PeriodSpan(table[i], p)});
        }
        items.push_back(std::move(item));
    }
    return items;
}

// Holidays by date, those of every year first: the slot a holiday sits in means nothing to the
// unit.
Items HolidayItems(const UnitConfiguration& unit) {
    HolidayEditor editor;
    editor.Load(unit.holidays, unit.expiringHolidays);
    Items items;
    for (const HolidayKind kind : {HolidayKind::EveryYear, HolidayKind::Once}) {
        const bool once = kind == HolidayKind::Once;
        for (const Holiday& holiday : editor.List(kind)) {
            char name[40];
            if (once) {
                std::snprintf(name, sizeof name, "once %u-%02u-%02u", 1990u + holiday.year,
                              unsigned{holiday.month}, unsigned{holiday.day});
            } else {
                std::snprintf(name, sizeof name, "every-year %02u-%02u", unsigned{holiday.month},
                              unsigned{holiday.day});
            }
            items.push_back(
                {{static_cast<uint64_t>(once),
                  uint64_t{holiday.year} << 16 | uint64_t{holiday.month} << 8 | holiday.day},
                 name,
                 {}});
        }
    }
    return items;
}

// The twelve bytes of every record that holds an event, as two sortable numbers.
std::vector<std::pair<uint64_t, uint32_t>> EventKeys(const MemoryModule& image) {
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    for (const EventRecord& record : ReadEventRecords(image)) {
        if (record.type == 0 || record.type > 15) {
            continue;
        }
        uint64_t high = record.type;
        for (const uint8_t byte : record.dt) {
            high = high << 8 | byte;
        }
        for (std::size_t k = 0; k < 3; ++k) {
            high = high << 8 | record.id[k];
        }
        const uint32_t low = uint32_t{record.id[3]} << 24 | uint32_t{record.mod} << 16 |
                             uint32_t{record.ctx} << 8 | record.ctx2;
        keys.emplace_back(high, low);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::string Shown(const std::string& value) {
    return value.empty() ? "\"\"" : value;
}

std::string LineOf(const Difference& difference) {
    std::string line = "  ";
    if (difference.change == DiffChange::Changed) {
        line += "changed ";
        line += difference.item;
        line += ": ";
        if (!difference.field.empty()) {
            line += difference.field;
            line += ' ';
        }
        line += Shown(difference.before);
        line += " -> ";
        line += Shown(difference.after);
    } else {
        line += difference.change == DiffChange::Added ? "added " : "removed ";
        line += difference.item;
        const char* separator = ": ";
        for (const DiffValue& value : difference.values) {
            line += separator;
            line += value.name;
            line += ' ';
            line += Shown(value.value);
            separator = ", ";
        }
    }
    line += '\n';
    return line;
}

} // namespace

ImageDiff::ImageDiff(const MemoryModule& a, const UnitConfiguration& aLists, const MemoryModule& b,
                     const UnitConfiguration& bLists) {
    sections_ = {
        {"system", "System", Compare(SystemItems(a), SystemItems(b))},
        {"entry_codes", "Entry codes",
         Compare(EntryCodeItems(aLists.entryCodes), EntryCodeItems(bLists.entryCodes))},
        {"block_transmitters", "Block transmitters",
         Compare(BlockItems(aLists.blockTransmitters), BlockItems(bLists.blockTransmitters))},
        {"block_cards", "Block cards",
         Compare(BlockItems(aLists.blockCards), BlockItems(bLists.blockCards))},
        {"directory", "Directory",
         Compare(DirectoryItems(aLists.directory), DirectoryItems(bLists.directory))},
        {"validation_groups", "Validation groups",
         Compare(ValidationGroupItems(aLists.validationGroups),
                 ValidationGroupItems(bLists.validationGroups))},
        {"door_schedules", "Door schedules",
         Compare(DoorScheduleItems(aLists.doorSchedules), DoorScheduleItems(bLists.doorSchedules))},
        {"time_zones", "Time zones",
         Compare(TimeZoneItems(aLists.timeZones), TimeZoneItems(bLists.timeZones))},
        {"holidays", "Holidays", Compare(HolidayItems(aLists), HolidayItems(bLists))},
    };
    newEventRecords_ = CountNewEventRecords(a, b);
}

bool ImageDiff::ConfigurationsEqual() const {
    return std::all_of(sections_.begin(), sections_.end(),
                       [](const DiffSection& section) { return section.differences.empty(); });
}

std::string ImageDiff::Text() const {
    std::string text;
    for (const DiffSection& section : sections_) {
        if (section.differences.empty()) {
            continue;
        }
        text += section.title;
        text += '\n';
        for (const Difference& difference : section.differences) {
            text += LineOf(difference);
        }
    }
    if (newEventRecords_ != 0) {
        text += "Event log\n  ";
        text += std::to_string(newEventRecords_);
        text += newEventRecords_ == 1 ? " new record\n" : " new records\n";
    }
    return text;
}

std::size_t ImageDiff::CountNewEventRecords(const MemoryModule& a, const MemoryModule& b) {
    const auto before = EventKeys(a);
    const auto after = EventKeys(b);
    std::size_t count = 0;
    std::size_t i = 0;
    // Both sorted: every record of b takes one equal record of a, while a has any left.
    for (const auto& key : after) {
        while (i < before.size() && before[i] < key) {
            ++i;
        }
        if (i < before.size() && before[i] == key) {
            ++i;
        } else {
            ++count;
        }
    }
    return count;
}

} // namespace tolvane
