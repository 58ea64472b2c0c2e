#include "comm/DialingLocations.h"

#include "sites/ProfileFile.h"

#include <algorithm>
#include <strings.h>

namespace tolvane {

namespace {

constexpr const char* kLocationsSection = "locations";
constexpr const char* kCommunicationSection = "communication";
constexpr const char* kCurrentKey = "location";

bool SameText(const std::string& a, const std::string& b) {
    return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Every character of the text is one of the allowed ones.
bool OnlyOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

constexpr const char* kDigits = "0123456789";
constexpr const char* kKeys = "0123456789*#";
// The outside line may wait for the second dial tone: a comma is a pause.
constexpr const char* kOutsideKeys = "0123456789*#,";

std::optional<std::string> FieldRefusal(const DialingLocation& location) {
    if (location.countryCode.empty() || !OnlyOf(location.countryCode, kDigits)) {
        return "The country code must be one or more digits.";
    }
    if (!OnlyOf(location.areaCode, kDigits)) {
        return "The area code may hold digits only.";
    }
    if (!OnlyOf(location.outsideLinePrefix, kOutsideKeys)) {
        return "The prefix for an outside line may hold only digits, \"*\", \"#\" and \",\" (a "
               "pause).";
    }
    if (!OnlyOf(location.longDistancePrefix, kKeys) ||
        !OnlyOf(location.internationalPrefix, kKeys)) {
        return "The long distance and international prefixes may hold only digits, \"*\" and "
               "\"#\".";
    }
    return std::nullopt;
}

std::string Encode(const DialingLocation& location) {
    std::string value = location.countryCode;
    for (const std::string* field : {&location.areaCode, &location.outsideLinePrefix,
                                     &location.longDistancePrefix, &location.internationalPrefix}) {
        value += ',';
        value += *field;
    }
    value += location.method == DialMethod::Pulse ? ",pulse" : ",tone";
    return value;
}

// The outside line is the one field that may hold commas (its pauses), so it is whatever lies
// between the first two fields and the last three.
std::optional<DialingLocation> Decode(const std::string& name, const std::string& value) {
    std::vector<std::string> fields(1);
    for (const char c : value) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (fields.size() < 6) {
        return std::nullopt;
    }
    DialingLocation location;
    location.name = name;
    location.countryCode = fields[0];
    location.areaCode = fields[1];
    location.outsideLinePrefix = fields[2];
    for (std::size_t i = 3; i + 3 < fields.size(); ++i) {
        location.outsideLinePrefix += ',';
        location.outsideLinePrefix += fields[i];
    }
    location.longDistancePrefix = fields[fields.size() - 3];
    location.internationalPrefix = fields[fields.size() - 2];
    const std::string& method = fields.back();
    if (SameText(method, "pulse")) {
        location.method = DialMethod::Pulse;
    } else if (!SameText(method, "tone")) {
        return std::nullopt;
    }
    if (FieldRefusal(location)) {
        return std::nullopt;
    }
    return location;
}

std::string SettingsPath(const std::string& configDirectory) {
    return configDirectory + "/zemrix.ini";
}

} // namespace

// The defaults of a location are those of a line in the North American plan.
DialingLocation DialingLocations::DefaultLocation() {
    DialingLocation location;
    location.name = kDefaultName;
    return location;
}

bool DialingLocations::Load(const std::string& configDirectory) {
    const ProfileSnapshot snapshot = ProfileFile(SettingsPath(configDirectory)).Read();
    bool readable = true;
    std::vector<DialingLocation> stored;
    for (const std::string& name : snapshot.KeysOf(kLocationsSection)) {
        const std::optional<DialingLocation> location =
            Decode(name, snapshot.ReadString(kLocationsSection, name).value_or(""));
        if (location) {
            stored.push_back(*location);
        } else {
            readable = false;
        }
    }
    if (stored.empty()) {
        stored.push_back(DefaultLocation());
    }
    locations_ = std::move(stored);
    retired_.clear();
    Sort(snapshot.ReadString(kCommunicationSection, kCurrentKey).value_or(""));
    return readable;
}

bool DialingLocations::Save(const std::string& configDirectory) const {
    const ProfileFile file(SettingsPath(configDirectory));
    ProfileSnapshot snapshot = file.Read();
    for (const std::string& name : retired_) {
        snapshot.Remove(kLocationsSection, name);
    }
    for (const DialingLocation& location : locations_) {
        snapshot.Set(kLocationsSection, location.name, Encode(location));
    }
    snapshot.Set(kCommunicationSection, kCurrentKey, locations_[current_].name);
    return file.Write(snapshot);
}

std::optional<std::string> DialingLocations::Refusal(const DialingLocation& edited) const {
    const std::string& name = edited.name;
    if (name.empty()) {
        return "Please give the location a name.";
    }
    // A name is the key of its line in the file: it cannot hold what ends a key or a field, nor
    // look like a section, nor keep blanks at its ends, which the file would lose.
    const bool unfit = std::any_of(name.begin(), name.end(),
                                   [](char c) {
                                       const auto byte = static_cast<unsigned char>(c);
                                       return c == '=' || c == ',' || byte < 0x20 || byte == 0x7F;
                                   }) ||
                       name.front() == '[' || name.front() == ' ' || name.back() == ' ';
    if (unfit) {
        return "A location name cannot hold \"=\", \",\" or control characters, begin with \"[\" "
               "or begin or end with a blank.";
    }
    for (std::size_t i = 0; i < locations_.size(); ++i) {
        if (i != current_ && SameText(locations_[i].name, name)) {
            std::string refusal = "There is already a location named \"";
            refusal += locations_[i].name;
            refusal += "\".";
            return refusal;
        }
    }
    return FieldRefusal(edited);
}

void DialingLocations::ReplaceCurrent(DialingLocation edited) {
    DialingLocation& current = locations_[current_];
    if (!SameText(current.name, edited.name)) {
        retired_.push_back(current.name);
    }
    current = std::move(edited);
    Sort(current.name);
}

void DialingLocations::Sort(const std::string& currentName) {
    std::sort(locations_.begin(), locations_.end(),
              [](const DialingLocation& a, const DialingLocation& b) {
                  return ::strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
              });
    const auto found =
        std::find_if(locations_.begin(), locations_.end(), [&](const DialingLocation& location) {
            return SameText(location.name, currentName);
        });
    current_ = found == locations_.end() ? 0 : static_cast<std::size_t>(found - locations_.begin());
}

} // namespace tolvane
