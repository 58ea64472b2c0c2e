#include "comm/InstallationList.h"

#include "comm/ProfileFile.h"
#include "document/UserServices.h"

#include <algorithm>
#include <string>

namespace tolvane {

namespace {

constexpr const char* kListSection = "GateList";

// Read buffer sizes, terminator included, as the file has always been read.
constexpr std::size_t kNameLimit = 64;
constexpr std::size_t kPasswordLimit = 64;
constexpr std::size_t kFileNameLimit = 128;
constexpr std::size_t kCodeLimit = 64;

std::string SectionName(std::size_t position) {
    return "Installation_" + std::to_string(position);
}

bool WriteRecord(ProfileFile& file, std::size_t position, const Installation& record) {
    const std::string section = SectionName(position);
    // Every key is written even after one failed, so as much as possible reaches the file.
    bool written = file.WriteString(section, "InstName", record.name);
    written = file.WriteString(section, "Password", record.password) && written;
    written = file.WriteString(section, "FileName", record.fileName) && written;
    written = file.WriteString(section, "CountryCode", record.countryCode) && written;
    written = file.WriteString(section, "AreaCode", record.areaCode) && written;
    written = file.WriteString(section, "PhoneNumber", record.phoneNumber) && written;
    return written;
}

} // namespace

void InstallationList::LoadInstallationList(const ProfileFile& file) {
    records.clear();
    selected = -1;
    const ProfileSnapshot snapshot = file.Read();
    const std::optional<int32_t> number = snapshot.ReadInt32(kListSection, "number");
    if (!number) {
        return;
    }
    if (const std::optional<int32_t> chosen = snapshot.ReadInt32(kListSection, "selected")) {
        selected = *chosen;
    }
    // Each entry takes lines of its own, so a count beyond the file's lines is a damaged count.
    const int64_t count = std::min<int64_t>(*number, static_cast<int64_t>(snapshot.LineCount()));
    for (int64_t i = 1; i <= count; ++i) {
        const std::string section = SectionName(static_cast<std::size_t>(i));
        auto read = [&](const char* key, std::size_t limit) {
            return snapshot.ReadString(section, key, limit).value_or(std::string());
        };
        Installation record;
        record.name = read("InstName", kNameLimit);
        if (record.name.empty()) {
            continue;
        }
        record.password = read("Password", kPasswordLimit);
        if (record.password.empty()) {
            continue;
        }
        record.fileName = read("FileName", kFileNameLimit);
        if (record.fileName.empty()) {
            continue;
        }
        record.countryCode = read("CountryCode", kCodeLimit);
        record.areaCode = read("AreaCode", kCodeLimit);
        record.phoneNumber = read("PhoneNumber", kCodeLimit);
        records.push_back(std::move(record));
    }
    if (selected < -1 || selected >= static_cast<int32_t>(records.size())) {
        selected = -1;
    }
}

void InstallationList::SaveInstallationList(ProfileFile& file, UserServices& ui) const {
    file.Delete();
    file.WriteInt32(kListSection, "number", static_cast<int32_t>(records.size()));
    file.WriteInt32(kListSection, "selected", selected);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!WriteRecord(file, i + 1, records[i])) {
            ui.ShowMessage("Error writing to gate list file", MessageIcon::Exclamation,
                           MessageButtons::Ok);
        }
    }
}

void InstallationList::SaveSelectedInstallation(ProfileFile& file) const {
    file.WriteInt32(kListSection, "selected", selected);
}

bool InstallationList::AddInstallation(ProfileFile& file, const Installation& installation) {
    const std::size_t position = records.size() + 1;
    const bool written = WriteRecord(file, position, installation);
    records.push_back(installation);
    file.WriteInt32(kListSection, "number", static_cast<int32_t>(position));
    selected = static_cast<int32_t>(position - 1);
    file.WriteInt32(kListSection, "selected", selected);
    return written;
}

} // namespace tolvane
