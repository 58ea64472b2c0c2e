#include "comm/CommSetup.h"

#include "comm/CanonicalNumber.h"
#include "sites/ProfileFile.h"
#include "support/UserServices.h"

#include <utility>

namespace tolvane {

namespace {

constexpr const char* kSection = "communication";
constexpr const char* kModemKey = "modem";
constexpr const char* kLongDistanceKey = "longdist";
constexpr const char* kIncludeAreaKey = "include_area";

ProfileFile SettingsFile(const std::string& configDirectory) {
    return ProfileFile(configDirectory + "/zemrix.ini");
}

} // namespace

CommSetup::CommSetup(UserServices& ui, const ModemList& modems, std::string configDirectory,
                     std::string areaCode, std::string phoneNumber)
    : ui_(ui), modems_(modems), configDirectory_(std::move(configDirectory)),
      areaCode_(std::move(areaCode)), phoneNumber_(std::move(phoneNumber)) {}

void CommSetup::Initialise() {
    const ProfileSnapshot settings = SettingsFile(configDirectory_).Read();
    if (const std::optional<int32_t> modem = settings.ReadInt32(kSection, kModemKey)) {
        preferredModem_ = static_cast<uint32_t>(*modem);
    }
    if (const std::optional<int32_t> on = settings.ReadInt32(kSection, kLongDistanceKey)) {
        longDistance_ = *on != 0;
    }
    if (const std::optional<int32_t> on = settings.ReadInt32(kSection, kIncludeAreaKey)) {
        includeArea_ = *on != 0;
    }

    modemRows_ = modems_.Listed();
    modemNames_.clear();
    int preferredRow = -1;
    for (std::size_t row = 0; row < modemRows_.size(); ++row) {
        const ModemInfo& modem = modems_.Devices()[modemRows_[row]];
        modemNames_.push_back(modem.name);
        if (preferredRow < 0 && modem.identifier == preferredModem_) {
            preferredRow = static_cast<int>(row);
        }
    }
    selectedModem_ = -1;
    if (modemRows_.empty()) {
        Complain("Could not find any modems");
    } else {
        SelectModem(preferredRow < 0 ? 0 : preferredRow);
    }

    if (!locations_.Load(configDirectory_)) {
        Complain("Error getting location information");
    }
    Translate();
}

// A row always stands for a device of the list, which lives as long as the setup does, so taking
// it over cannot fail.
void CommSetup::SelectModem(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= modemRows_.size()) {
        return;
    }
    selectedModem_ = row;
    preferredModem_ = ChosenModem()->identifier;
}

std::vector<std::string> CommSetup::LocationNames() const {
    std::vector<std::string> names;
    for (const DialingLocation& location : locations_.All()) {
        names.push_back(location.name);
    }
    return names;
}

int CommSetup::SelectedLocation() const {
    return static_cast<int>(locations_.Current());
}

void CommSetup::SelectLocation(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= locations_.All().size()) {
        return;
    }
    locations_.SetCurrent(static_cast<std::size_t>(row));
    StoreLocations();
    Translate();
}

const DialingLocation& CommSetup::CurrentLocation() const {
    return locations_.All()[locations_.Current()];
}

bool CommSetup::ChangeCurrentLocation(const DialingLocation& edited) {
    if (const std::optional<std::string> refusal = locations_.Refusal(edited)) {
        ui_.ShowMessage(*refusal, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    locations_.ReplaceCurrent(edited);
    StoreLocations();
    Translate();
    return true;
}

void CommSetup::SetLongDistance(bool on) {
    longDistance_ = on;
    Translate();
}

void CommSetup::SetIncludeArea(bool on) {
    if (!IncludeAreaEnabled()) {
        return;
    }
    includeArea_ = on;
    Translate();
}

// The selection was taken over when it was made, so only the choices remain to be kept.
void CommSetup::Accept() {
    const ProfileFile file = SettingsFile(configDirectory_);
    ProfileSnapshot settings = file.Read();
    if (preferredModem_) {
        settings.SetInt32(kSection, kModemKey, static_cast<int32_t>(*preferredModem_));
    }
    settings.SetInt32(kSection, kLongDistanceKey, longDistance_ ? 1 : 0);
    settings.SetInt32(kSection, kIncludeAreaKey, includeArea_ ? 1 : 0);
    // The choices only spare the user some clicks next time: the call goes ahead without them.
    file.Write(settings);
}

const ModemInfo* CommSetup::ChosenModem() const {
    if (selectedModem_ < 0) {
        return nullptr;
    }
    return &modems_.Devices()[modemRows_[static_cast<std::size_t>(selectedModem_)]];
}

void CommSetup::Translate() {
    // However the location dresses it, a number without a digit of its own reaches nobody.
    if (phoneNumber_.find_first_of("0123456789") == std::string::npos) {
        Complain("Error translating the phone number");
        return;
    }
    const TranslatedNumber number = CurrentLocation().Translate(
        CanonicalNumber(areaCode_, phoneNumber_, longDistance_, includeArea_));
    dialable_ = number.dialable;
    displayable_ = number.displayable;
}

// The edited or chosen location holds for this call even when the file cannot keep it.
void CommSetup::StoreLocations() {
    if (!locations_.Save(configDirectory_)) {
        Complain("Error saving location information");
    }
}

void CommSetup::Complain(const char* text) {
    ui_.ShowMessage(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace tolvane
