// Where the computer dials from, and how a canonical number ("+1 (555) 1234567") becomes what the
// modem dials from there: the outside line first, then the long distance or international prefix
// when the number lies outside the location's area or country, then the digits. The displayable
// form is the same in a human shape, for the log and the setup dialog.
#pragma once

#include "comm/ModemDialer.h"

#include <string>

namespace tolvane {

struct TranslatedNumber {
    std::string dialable;    // prefixes and digits only, as they go to the modem
    std::string displayable; // "9 1 (212) 1234567"
};

struct DialingLocation {
    std::string name;
    std::string countryCode = "1";
    std::string areaCode;
    std::string outsideLinePrefix; // "9" in many offices; may hold a pause (",")
    std::string longDistancePrefix = "1";
    std::string internationalPrefix = "011";
    DialMethod method = DialMethod::Tone;

    // A number without a leading "+" has no country or area of its own and is dialed as it is.
    TranslatedNumber Translate(const std::string& canonical) const;
};

} // namespace tolvane
