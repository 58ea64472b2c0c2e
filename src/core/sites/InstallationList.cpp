#include "sites/InstallationList.h"

#include "sites/ProfileFile.h"
#include "support/UserServices.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <strings.h>

namespace tolvane {

namespace {

constexpr const char* kListSection = "GateList";
constexpr std::string_view kEntryPrefix = "Installation_";

std::string SectionName(int32_t position) {
    return std::string(kEntryPrefix) + std::to_string(position);
}

// The numbers of the file's "Installation_N" sections, in order. Only names as SectionName makes
// them count (no sign, no leading zero, within the range of the count), since only those are
// ever looked up.
std::vector<int32_t> EntryNumbers(const ProfileSnapshot& snapshot) {
    std::vector<int32_t> numbers;
    for (const std::string& name : snapshot.SectionNames()) {
        const std::string_view digits =
            std::string_view(name).substr(std::min(name.size(), kEntryPrefix.size()));
        if (::strncasecmp(name.c_str(), kEntryPrefix.data(), kEntryPrefix.size()) != 0 ||
            digits.empty() || digits.size() > 10 || digits.front() == '0' ||
            !std::all_of(digits.begin(), digits.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        int64_t number = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (number <= std::numeric_limits<int32_t>::max()) {
            numbers.push_back(static_cast<int32_t>(number));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// complete: only entries with a name, password and file name, as the list has always taken
// them; else every entry with a name.
void Fill(InstallationList& list, const ProfileSnapshot& snapshot, bool complete) {
    list.records.clear();
    list.selected = -1;
    const std::optional<int32_t> number = snapshot.ReadInt32(kListSection, "number");
    if (!number) {
        return;
    }
    if (const std::optional<int32_t> chosen = snapshot.ReadInt32(kListSection, "selected")) {
        list.selected = *chosen;
    }
    // Only the sections that are there are looked at: a damaged count of two thousand million
    // costs no more than the file is long.
    for (const int32_t position : EntryNumbers(snapshot)) {
        if (position > *number) {
            break;
        }
        const std::string section = SectionName(position);
        auto read = [&](const char* key) {
            return snapshot.ReadString(section, key).value_or(std::string());
        };
        Installation record;
        record.name = read("InstName");
        if (record.name.empty()) {
            continue;
        }
        record.password = read("Password");
        record.fileName = read("FileName");
        if (complete && (record.password.empty() || record.fileName.empty())) {
            continue;
        }
        record.countryCode = read("CountryCode");
        record.areaCode = read("AreaCode");
        record.phoneNumber = read("PhoneNumber");
        record.port = read("Port");
        list.records.push_back(std::move(record));
    }
    if (list.selected < -1 || list.selected >= static_cast<int32_t>(list.records.size())) {
        list.selected = -1;
    }
}

bool WriteRecord(ProfileSnapshot& snapshot, int32_t position, const Installation& record) {
    const std::string section = SectionName(position);
    // Every key is set even after one failed, so as much as possible reaches the file.
    bool written = snapshot.Set(section, "InstName", record.name);
    written = snapshot.Set(section, "Password", record.password) && written;
    written = snapshot.Set(section, "FileName", record.fileName) && written;
    written = snapshot.Set(section, "CountryCode", record.countryCode) && written;
    written = snapshot.Set(section, "AreaCode", record.areaCode) && written;
    written = snapshot.Set(section, "PhoneNumber", record.phoneNumber) && written;
    // Only once known, so a list that never reached a unit reads as it always has.
    if (!record.port.empty()) {
        written = snapshot.Set(section, "Port", record.port) && written;
    }
    return written;
}

} // namespace

void InstallationList::LoadInstallationList(const ProfileFile& file) {
    Fill(*this, file.Read(), true);
}

void InstallationList::LoadEveryEntry(const ProfileFile& file) {
    Fill(*this, file.Read(), false);
}

void InstallationList::SaveInstallationList(ProfileFile& file, UserServices& ui) const {
    auto complain = [&ui] {
        ui.ShowMessage("Error writing to gate list file", MessageIcon::Exclamation,
                       MessageButtons::Ok);
    };
    ProfileSnapshot snapshot;
    snapshot.SetInt32(kListSection, "number", static_cast<int32_t>(records.size()));
    snapshot.SetInt32(kListSection, "selected", selected);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!WriteRecord(snapshot, static_cast<int32_t>(i + 1), records[i])) {
            complain();
        }
    }
    if (!file.Write(snapshot)) {
        complain();
    }
}

void InstallationList::SaveSelectedInstallation(ProfileFile& file) const {
    file.WriteInt32(kListSection, "selected", selected);
}

bool InstallationList::AddInstallation(ProfileFile& file, const Installation& installation) {
    if (installation.name.empty() || installation.password.empty() ||
        installation.fileName.empty()) {
        return false;
    }
    // From the file as it is now, not from this list: the list may be missing entries that the
    // load dropped or that another run of the program added, and a number taken from it would
    // write over them.
    ProfileSnapshot snapshot = file.Read();
    const std::vector<int32_t> numbers = EntryNumbers(snapshot);
    const int32_t highest = numbers.empty() ? 0 : numbers.back();
    if (highest == std::numeric_limits<int32_t>::max()) {
        return false;
    }
    const int32_t position = highest + 1;
    if (!WriteRecord(snapshot, position, installation)) {
        return false;
    }
    // The count reaches the new entry, so the next load finds every entry there is.
    snapshot.SetInt32(kListSection, "number", position);
    Fill(*this, snapshot, true);
    // Numbered last and complete, it is the last record a load finds.
    selected = static_cast<int32_t>(records.size()) - 1;
    snapshot.SetInt32(kListSection, "selected", selected);
    return file.Write(snapshot);
}

bool InstallationList::UpdateInstallation(ProfileFile& file, const std::string& fileName,
                                          const Installation& record) {
    ProfileSnapshot snapshot = file.Read();
    Fill(*this, snapshot, true);
    const auto match = std::find_if(records.begin(), records.end(), [&](const Installation& entry) {
        return entry.fileName == fileName;
    });
    if (match == records.end()) {
        return false;
    }
    // The entry's own section: the one a load took as this record, counted as Fill counts.
    const int32_t taken = static_cast<int32_t>(match - records.begin());
    int32_t seen = -1;
    for (const int32_t position : EntryNumbers(snapshot)) {
        const std::string section = SectionName(position);
        const auto has = [&](const char* key) {
            return !snapshot.ReadString(section, key).value_or(std::string()).empty();
        };
        if (has("InstName") && has("Password") && has("FileName") && ++seen == taken) {
            if (!WriteRecord(snapshot, position, record)) {
                return false;
            }
            break;
        }
    }
    Fill(*this, snapshot, true);
    selected = taken;
    snapshot.SetInt32(kListSection, "selected", selected);
    return file.Write(snapshot);
}

} // namespace tolvane
