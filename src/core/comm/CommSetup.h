// What the "Communication Setup" dialog decides before a call: which modem dials, from which
// dialing location, whether the number is dialed as long distance and with its area code, and so
// the number that is dialed. The dialog is a view over this; the choices are kept in
// "zemrix.ini" section "communication" ("modem", "longdist", "include_area", struct form) and the
// dialing locations beside them.
#pragma once

#include "comm/DialingLocations.h"
#include "comm/ModemList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

class CommSetup {
public:
    // The text the number shows until it has been translated.
    static constexpr const char* kNumberPlaceholder = "1 xxx xxx-xxxx";

    CommSetup(UserServices& ui, const ModemList& modems, std::string configDirectory,
              std::string areaCode, std::string phoneNumber);

    // The dialog's initialisation: the stored choices, the modem list, the location list and the
    // number; each failure is shown as its message and leaves the dialog usable.
    void Initialise();

    // --- the modem list, sorted by name ---------------------------------------------------------
    const std::vector<std::string>& ModemNames() const { return modemNames_; }
    int SelectedModem() const { return selectedModem_; } // -1 with an empty list
    void SelectModem(int row);

    // --- the dialing locations, sorted by name --------------------------------------------------
    std::vector<std::string> LocationNames() const;
    int SelectedLocation() const;
    // Picking another location makes it the current one and translates the number again.
    void SelectLocation(int row);
    const DialingLocation& CurrentLocation() const;
    // After "Dialing Properties ...": the current location as edited, kept in the settings; the
    // lists are filled and the number translated again. false, with the message shown, when the
    // edit cannot be kept (an empty or duplicate name, or a name or field the file cannot hold).
    bool ChangeCurrentLocation(const DialingLocation& edited);

    // --- the two check boxes ---------------------------------------------------------------------
    bool LongDistance() const { return longDistance_; }
    bool IncludeArea() const { return includeArea_; }
    // "Dial area code" can be changed only while "Dial as long distance" is off; while it cannot,
    // it keeps its state and SetIncludeArea does nothing.
    bool IncludeAreaEnabled() const { return !longDistance_; }
    void SetLongDistance(bool on);
    void SetIncludeArea(bool on);

    // The number as shown; the placeholder until a translation succeeded.
    const std::string& DisplayableNumber() const { return displayable_; }

    // "Dial": takes over the modem selection and writes the three choices to the settings.
    void Accept();

    // --- the results, once Accept ran
    // -------------------------------------------------------------
    const ModemInfo* ChosenModem() const; // nullptr with an empty modem list
    const std::string& DialableNumber() const { return dialable_; }
    DialMethod Method() const { return CurrentLocation().method; }

private:
    void Translate();
    void StoreLocations();
    void Complain(const char* text);

    UserServices& ui_;
    const ModemList& modems_;
    std::string configDirectory_;
    std::string areaCode_;
    std::string phoneNumber_;
    std::vector<std::string> modemNames_;
    std::vector<std::size_t> modemRows_; // row -> index into modems_.Devices()
    int selectedModem_ = -1;
    std::optional<uint32_t> preferredModem_; // none until stored or chosen
    bool longDistance_ = false;
    bool includeArea_ = false;
    DialingLocations locations_;
    std::string dialable_;
    std::string displayable_ = kNumberPlaceholder;
};

} // namespace tolvane
