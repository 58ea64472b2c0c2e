// The unit's telephone number in the canonical form that number translation starts from, built
// from the installation's area code and number and the two dialing choices of the communication
// setup. The installation's country code does not enter it: the form always says +1.
#pragma once

#include <string>

namespace tolvane {

std::string CanonicalNumber(const std::string& areaCode, const std::string& phoneNumber,
                            bool longDistance, bool includeArea);

} // namespace tolvane
